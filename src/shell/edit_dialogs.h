#pragma once

namespace tarn {

// Registers the edit client and edit channel dialogs with the model's transactions
// (ClientDatabase::editClient, ClientRecord::editChannel).
void installEditDialogs();

}  // namespace tarn
