#include "shell/edit_dialogs.h"

#include "database/database_dialogs.h"
#include "model/model_dialogs.h"
#include "shell/edit_channel_dialog.h"
#include "shell/edit_client_dialog.h"

namespace tarn {

void installEditDialogs() {
    setEditChannelDialog(runChannelDialog);
    setEditClientDialog(runClientDialog);
}

}  // namespace tarn
