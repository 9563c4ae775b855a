#pragma once

#include <QUndoCommand>

#include "database/database_state.h"

namespace tarn {

// One step of a database window's undo history: any change to its database, kept as the
// clients and dealer text it replaced and put in place. The change has already happened
// when the step is pushed, so the first redo (QUndoStack::push) does nothing.
class DatabaseStep final : public QUndoCommand {
  public:
    DatabaseStep(ClientDatabase& database, DatabaseChange change, const QString& text);

    void undo() override;
    void redo() override;

  private:
    ClientDatabase& database_;
    DatabaseChange change_;
    bool done_ = true;
};

}  // namespace tarn
