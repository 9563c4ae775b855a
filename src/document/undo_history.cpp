#include "document/undo_history.h"

namespace tarn {

void UndoHistory::push(std::string name, DatabaseChange change) {
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
    // The file's state lay among the steps just dropped: no position reaches it again.
    if (clean_ && *clean_ > position_) clean_.reset();
    steps_.push_back({std::move(name), std::move(change)});
    position_ = steps_.size();
    while (steps_.size() > limit_) {
        steps_.pop_front();
        --position_;
        if (clean_) clean_ = *clean_ == 0 ? std::nullopt : std::optional<std::size_t>(*clean_ - 1);
    }
}

const DatabaseChange* UndoHistory::undo() {
    if (!canUndo()) return nullptr;
    return &steps_[--position_].change;
}

const DatabaseChange* UndoHistory::redo() {
    if (!canRedo()) return nullptr;
    return &steps_[position_++].change;
}

std::string UndoHistory::undoName() const {
    return canUndo() ? steps_[position_ - 1].name : std::string();
}

std::string UndoHistory::redoName() const {
    return canRedo() ? steps_[position_].name : std::string();
}

}  // namespace tarn
