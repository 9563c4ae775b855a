#include "shell/seams.h"

#include "radio/radio_log.h"
#include "shell/dealer_text_dialog.h"
#include "shell/edit_channel_dialog.h"
#include "shell/edit_client_dialog.h"
#include "shell/qt_clipboard.h"
#include "shell/qt_print_backend.h"
#include "shell/qt_progress.h"
#include "shell/qt_user_feedback.h"

namespace tarn {

void addQtSeams(Services& services, ShellServices& shell) {
    static QtUserFeedback feedback;
    static QtProgressUi progress;
    static RadioLog radioLog;  // the session's radio exchanges, for the radio log window
    services.feedback = &feedback;
    services.progress = &progress;
    shell.radioLog = &radioLog;
    services.clipboard = &qtClipboard();
    services.printer = &qtPrintBackend();
    services.editDealerText = runDealerTextDialog;
    services.editChannel = runChannelDialog;
    services.editClient = runClientDialog;
}

}  // namespace tarn
