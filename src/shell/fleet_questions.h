#pragma once

#include <QWidget>
#include <filesystem>
#include <optional>
#include <vector>

namespace tarn {

class ClientDatabase;

// File > Print selected: on the printer, or each client into its own PDF file in a folder
// the dialog then asks for (`folder` set). False when cancelled.
bool askPrintSelected(QWidget* parent, int clients, std::optional<std::filesystem::path>& folder);

// Client > Number selcalls: the first selcall for the selected clients, offering the one
// after the other advanced clients' highest. Nothing when cancelled.
std::optional<int> askFirstSelcall(QWidget* parent, const ClientDatabase& db,
                                   const std::vector<int>& clients);

}  // namespace tarn
