// The client list of one database: adding, deleting, the edit transactions, the
// per-client operations of the database window and the demonstration client.
#include "database/client_database.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "model/services.h"

namespace tarn {
namespace {

// Channels 1 to 7 of the demonstration client, written straight into its image.
constexpr std::uint8_t kDemonstrationSlots[7][kSlotSize] = {
    {0x18, 0x18, 0x92, 0x80, 0x21, 0x09, 0x01, 0x00},  //  3740.0 /  3740.0
    {0x18, 0x94, 0xC5, 0x40, 0x59, 0x0C, 0x02, 0x00},  //  5058.0 /  5058.0
    {0x18, 0x4C, 0x6C, 0xC1, 0xC4, 0x16, 0x03, 0x00},  //  9326.0 /  9326.0
    {0x18, 0xF8, 0x10, 0x81, 0x0F, 0x11, 0x04, 0x00},  //  6988.0 /  6988.0
    {0x08, 0x96, 0x86, 0x81, 0xA8, 0x18, 0x05, 0x00},  //  9999.0 / 10100.0
    {0x18, 0xB0, 0xAD, 0x01, 0xDB, 0x1A, 0x06, 0x00},  // 11000.0 / 11000.0
    {0x08, 0xE6, 0x49, 0x62, 0xA8, 0x24, 0x07, 0x00},  // 14999.0 / 15015.0
};

const char* powerName(int level) {
    switch (level) {
        case PowerLevel::Low:
            return "Low";
        case PowerLevel::Mid1:
            return "Mid1";
        case PowerLevel::Mid2:
            return "Mid2";
        default:
            return "High";
    }
}

}  // namespace

ClientDatabase::ClientDatabase(bool withDemonstration) {
    if (!withDemonstration) return;
    ClientRecord* demo = client(addClient());
    for (int n = 1; n <= 7; ++n) {
        std::copy_n(kDemonstrationSlots[n - 1], kSlotSize, demo->image().begin() + kSlotSize * n);
    }
}

ClientDatabase::~ClientDatabase() = default;

int ClientDatabase::clientCount() const {
    return static_cast<int>(clients_.size());
}

int ClientDatabase::isModified() const {
    return modified_;
}

int ClientDatabase::addClient() {
    if (clientCount() >= kMaxClients) return -1;
    clients_.push_back(std::make_shared<ClientRecord>());
    modified_ = 1;
    return clientCount() - 1;
}

int ClientDatabase::deleteClient(int index) {
    if (!client(index)) return 0;
    clients_.erase(clients_.begin() + index);
    modified_ = 1;
    return 1;
}

int ClientDatabase::editClient(WindowHandle parent, int index) {
    ClientRecord* record = client(index);
    if (!record) return 0;
    std::vector<std::uint8_t> saved(kSerializedClientSize);
    record->serialize(saved.data(), kSerializedClientSize);
    const auto dialog = services().editClient;
    if (dialog && dialog(*record, parent) != 0) {
        modified_ = 1;
        return 1;
    }
    // Cancelled: the copy goes back in through the channel check like any image.
    record->deserialize(saved.data(), kSerializedClientSize);
    return 0;
}

int ClientDatabase::editDealerText(WindowHandle parent) {
    const auto dialog = services().editDealerText;
    if (!dialog) return 0;
    const int result = dialog(dealerText_, parent);
    // The field holds at most 99 characters, whatever the dialog left in it.
    if (!std::memchr(dealerText_.data(), 0, dealerText_.size())) dealerText_.back() = '\0';
    if (result != 0) modified_ = 1;
    return result;
}

int ClientDatabase::deleteClients(std::vector<int> indexes) {
    // Highest index first, so no index still to be deleted moves.
    std::sort(indexes.begin(), indexes.end(), std::greater<>());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    int deleted = 0;
    for (int index : indexes) deleted += deleteClient(index);
    return deleted;
}

// Like every change of a client, these mark the database modified, so closing offers to
// save what would otherwise be lost.
int ClientDatabase::setClientAdvanced(int index, int advanced) {
    ClientRecord* record = client(index);
    if (!record) return 0;
    record->setOption(ClientOption::Advanced, advanced);
    modified_ = 1;
    return 1;
}

int ClientDatabase::loadClientImage(int index, const std::uint8_t* bytes, int length) {
    ClientRecord* record = client(index);
    if (!record || !record->loadImage(bytes, length)) return 0;
    modified_ = 1;
    return 1;
}

int ClientDatabase::copyClientImage(int index, std::uint8_t* buffer, int capacity) const {
    const ClientRecord* record = client(index);
    return record ? record->copyImage(buffer, capacity) : 0;
}

int ClientDatabase::clientHasNoChannels(int index) const {
    const ClientRecord* record = client(index);
    return record ? record->hasNoChannels() : 0;
}

ClientSummary summarizeClient(const ClientRecord& record) {
    ClientSummary summary;
    char text[32] = {};
    record.getName(text, sizeof text);
    summary.name = text;
    text[0] = '\0';
    record.getSerial(text, sizeof text);
    summary.serial = text;
    text[0] = '\0';
    record.getSelcall(text, sizeof text);
    summary.selcall = text;
    summary.type = record.getOption(ClientOption::Advanced) ? "Advanced" : "Standard";
    summary.program = record.getOption(ClientOption::FrontPanelProgramming) ? "Enabled" : "Off";
    summary.mode = record.getOption(ClientOption::ModeToggle) ? "Toggle" : "Fixed";
    summary.tune = record.getOption(ClientOption::AutoTune) ? "Auto" : "Manual";
    summary.power = powerName(record.getOption(ClientOption::PowerLevel));
    return summary;
}

int ClientDatabase::clientSummary(int index, ClientSummary& summary) const {
    const ClientRecord* record = client(index);
    if (!record) return 0;
    summary = summarizeClient(*record);
    return 1;
}

std::string ClientDatabase::dealerString() const {
    const char* begin = dealerText_.data();
    const void* nul = std::memchr(begin, 0, dealerText_.size());
    return std::string(begin, nul ? static_cast<const char*>(nul) : begin + dealerText_.size());
}

const ClientRecord* ClientDatabase::client(int index) const {
    if (index < 0 || index >= clientCount()) return nullptr;
    return clients_[static_cast<std::size_t>(index)].get();
}

ClientRecord* ClientDatabase::client(int index) {
    if (index < 0 || index >= clientCount()) return nullptr;
    return clients_[static_cast<std::size_t>(index)].get();
}

}  // namespace tarn
