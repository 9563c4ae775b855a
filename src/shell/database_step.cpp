#include "shell/database_step.h"

namespace tarn {

DatabaseStep::DatabaseStep(ClientDatabase& database, DatabaseChange change, const QString& text)
    : QUndoCommand(text), database_(database), change_(std::move(change)) {}

void DatabaseStep::undo() {
    database_.applyChange(change_, false);
    done_ = false;
}

void DatabaseStep::redo() {
    if (!done_) database_.applyChange(change_, true);
    done_ = true;
}

}  // namespace tarn
