#include "shell/seams.h"

#include "database/database_dialogs.h"
#include "shell/dealer_text_dialog.h"
#include "shell/edit_dialogs.h"
#include "shell/qt_clipboard.h"
#include "shell/qt_print_backend.h"
#include "shell/qt_progress.h"
#include "shell/qt_user_feedback.h"

namespace tarn {

void installSeams() {
    static QtUserFeedback feedback;
    static QtProgressUi progress;
    setUserFeedback(&feedback);
    setProgressUi(&progress);
    setEditDealerTextDialog(runDealerTextDialog);
    installEditDialogs();
    installQtClipboard();
    installQtPrintBackend();
}

}  // namespace tarn
