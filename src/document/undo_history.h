#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "database/database_state.h"

namespace tarn {

// The undo history of one database: named changes, the position between what can be
// undone and what can be redone, and the clean point (the state last loaded or saved).
// It holds the changes only; applying them is the document's.
class UndoHistory {
  public:
    explicit UndoHistory(std::size_t limit) : limit_(limit) {}

    // A change that has just happened: it becomes the one to undo, and what could be redone
    // is gone. The oldest step goes beyond the limit (a clean point with it is lost).
    void push(std::string name, DatabaseChange change);
    // The step to undo (or redo), which the history counts as undone (redone); null when none.
    const DatabaseChange* undo();
    const DatabaseChange* redo();

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < steps_.size(); }
    // The names of the steps undo and redo would take ("" when none).
    std::string undoName() const;
    std::string redoName() const;
    std::size_t count() const { return steps_.size(); }

    // Marks the present as the state of the file; isClean() while the history stands there.
    void setClean() { clean_ = position_; }
    // No state of the history is the file's (a database never saved).
    void forgetClean() { clean_.reset(); }
    bool isClean() const { return clean_ == position_; }

  private:
    struct Step {
        std::string name;
        DatabaseChange change;
    };
    std::size_t limit_;
    std::deque<Step> steps_;
    std::size_t position_ = 0;              // steps before it are done
    std::optional<std::size_t> clean_ = 0;  // the position of the file's state
};

}  // namespace tarn
