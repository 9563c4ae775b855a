#include "shell/edit_dialogs.h"

#include "database/database_dialogs.h"
#include "model/model_dialogs.h"
#include "shell/commands.h"
#include "shell/edit_channel_dialog.h"
#include "shell/edit_client_dialog.h"
#include "shell/frame_window.h"

namespace tarn {

void installEditDialogs() {
    setEditChannelDialog(runChannelDialog);
    setEditClientDialog(runClientDialog);
    // The edit client dialog's Help button is the frame's Help command (posted there).
    ClientDialog::setHelpHandler([] {
        if (FrameWindow* frame = FrameWindow::instance()) frame->command(cmd::Help);
    });
}

}  // namespace tarn
