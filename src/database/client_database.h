#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "database/file_origin.h"
#include "database/replace_file.h"
#include "model/client_record.h"
#include "model/window_handle.h"

namespace tarn {

struct DatabaseChange;
struct DatabaseState;

// The eight texts that describe a client in the database window's list.
struct ClientSummary {
    std::string name, type, serial, selcall, program, mode, tune, power;
};
ClientSummary summarizeClient(const ClientRecord& record);

// The clients (at most 1000) of one database, its dealer text and its modified flag.
class ClientDatabase {
  public:
    explicit ClientDatabase(bool withDemonstration);
    virtual ~ClientDatabase();
    ClientDatabase(const ClientDatabase&) = delete;
    ClientDatabase& operator=(const ClientDatabase&) = delete;

    int clientCount() const;
    int isModified() const;
    int addClient();
    int deleteClient(int index);
    // Deletes the clients at these indexes (any order, repeats ignored); the count deleted.
    int deleteClients(std::vector<int> indexes);
    int editClient(WindowHandle parent, int index);
    int editDealerText(WindowHandle parent);
    int setClientAdvanced(int index, int advanced);
    int loadClientImage(int index, const std::uint8_t* bytes, int length);
    int copyClientImage(int index, std::uint8_t* buffer, int capacity) const;
    int clientHasNoChannels(int index) const;
    int clientSummary(int index, ClientSummary& summary) const;

    // The file alone: putting it on the recent-file list is the caller's choice.
    int load(const std::filesystem::path& path);
    // Holds the database's lock (DatabaseLock) from the check to the rename: waits a few
    // seconds for another program's save, and refuses to save while another program
    // edits the file. Refuses (or asks before) replacing a file that another program
    // changed since this database loaded or saved it; see FileOrigin.
    int save(const std::filesystem::path& path);
    // The file as save writes it, quietly: no lock, no question, no message, the modified
    // flag and the file's origin untouched (backups and other copies beside the user's own
    // file).
    ReplaceResult writeFile(const std::filesystem::path& path,
                            ReplacingFile::Access access = ReplacingFile::Access::LikeTarget) const;

    // The load of a database window: a failure leaves no clients, nothing modified and the
    // database marked as not belonging to the file, so that it is never saved over the
    // file it could not read (openFailed() until a load or a save to a chosen name).
    int open(const std::filesystem::path& path);
    bool openFailed() const { return openFailed_; }
    // Whether a save asks (the default) or refuses when the file was changed meanwhile.
    void setAskBeforeReplacingChanges(bool ask) { askBeforeReplacing_ = ask; }

    int copyClients(WindowHandle window, const int* indexes, int length);
    int pasteClients(WindowHandle window);

    // The dealer text field as held (100 bytes: text, NUL, then bytes of no meaning).
    const std::array<char, kDealerTextSize>& dealerText() const { return dealerText_; }
    std::array<char, kDealerTextSize>& dealerText() { return dealerText_; }
    std::string dealerString() const;  // the text up to its NUL (or all 100 bytes)

    // The client at an index, or null when the index is not below the count.
    const ClientRecord* client(int index) const;
    ClientRecord* client(int index);

    void setModified(bool modified) { modified_ = modified ? 1 : 0; }

    // Copies of the dealer text and every client, for undoing what follows.
    DatabaseState state() const;
    // Puts the change's `after` side (forward) or its `before` side in place, byte for
    // byte and without the channel check; the modified flag is the caller's.
    void applyChange(const DatabaseChange& change, bool forward);

  private:
    void writeTo(ReplacingFile& file) const;

    std::array<char, kDealerTextSize> dealerText_{};
    // Shared, because a loaded file's clients live together in one block (see load).
    std::vector<std::shared_ptr<ClientRecord>> clients_;
    int modified_ = 0;
    FileOrigin origin_;
    bool openFailed_ = false;
    bool askBeforeReplacing_ = true;
};

// Forces the extension ".tdb" on the file-name part of a path (what follows the last
// separator): everything from its last '.' on is replaced, or ".tdb" is appended.
std::filesystem::path forceDatabaseExtension(const std::filesystem::path& path);

}  // namespace tarn
