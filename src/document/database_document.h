#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "database/client_database.h"
#include "database/database_lock.h"
#include "document/undo_history.h"
#include "model/user_feedback.h"

namespace tarn {

// One database as a program edits it: its clients and dealer text, the file it came from,
// whether it has unsaved changes, its undo history, and where it may be saved or exported.
// The desktop program shows one in each database window; tarn-cli opens one per command.
// Every rule about a database that both front ends follow lives here; they only show and
// ask (the questions and messages go through the user-feedback seam).
class DatabaseDocument {
  public:
    static constexpr const char* kNoName = "<NoName>";
    static constexpr std::size_t kUndoSteps = 100;

    // A new untitled database holding the demonstration client (modified).
    DatabaseDocument();
    ~DatabaseDocument();
    DatabaseDocument(const DatabaseDocument&) = delete;
    DatabaseDocument& operator=(const DatabaseDocument&) = delete;

    // Loads the file into this document, which takes its name whatever happens (unless the
    // editing lock is refused: see Locking). A failed load leaves no clients and nothing modified,
    // and the document never saves over the file it could not read: Save then needs a name, as for
    // an untitled one.
    bool open(const std::filesystem::path& path);

    // Whether open() takes the database's editing lock (DatabaseLock), which this document
    // then holds while it has the file, so that no other program saves over its edits.
    enum class Locking {
        None,          // the document is only read (tarn-cli's reading commands)
        WaitOrRefuse,  // waits up to kEditWait for another program, then refuses to open
        AskReadOnly,   // asks at once whether to open it read-only; No opens nothing and
                       // leaves the document untitled
    };
    static constexpr auto kEditWait = std::chrono::seconds(5);
    void setLocking(Locking locking) { locking_ = locking; }
    // Opened while another program edits the file: Save needs another name.
    bool readOnly() const { return readOnly_; }
    // Keeps the editing lock fresh for programs on other computers: call it every
    // DatabaseLock::kRefresh. A lock another program broke as stale is taken again.
    void keepLockFresh();

    ClientDatabase& database() { return database_; }
    const ClientDatabase& database() const { return database_; }
    // The file's path, or kNoName while untitled.
    const std::filesystem::path& fileName() const { return fileName_; }
    bool untitled() const { return fileName_ == kNoName; }
    bool openFailed() const { return database_.openFailed(); }
    bool isModified() const { return database_.isModified() != 0; }
    // A file loaded or saved goes to the front of the recent-file list (the desktop program
    // does this; tarn-cli only when asked).
    void setRemembersFiles(bool remember) { remembersFiles_ = remember; }

    // Runs `edit` on the database and keeps what it changed as one undo step named by
    // `name` (asked after the edit, so it can say what happened). A change that leaves the
    // database as it was keeps no step and leaves the modified flag as it was. Returns
    // what `edit` returned.
    int change(const std::function<int(ClientDatabase&)>& edit,
               const std::function<std::string()>& name);
    int change(const std::function<int(ClientDatabase&)>& edit, const std::string& name) {
        return change(edit, [&name] { return name; });
    }
    // Marks unsaved changes that are no step of the history (a new client cancelled: the
    // database counts as changed although it is as it was).
    void markModified() { database_.setModified(true); }

    const UndoHistory& history() const { return history_; }
    // Back at the state last loaded or saved, the database has nothing to save.
    bool undo();
    bool redo();

    enum class SaveResult {
        Saved,
        Failed,     // after its message; the database stays modified
        NeedsName,  // untitled, or its file could not be read: ask for a name (saveAs)
        Retry,      // the name was refused or the user said No: ask for another
    };
    SaveResult save();
    // Saves under the name the save dialog returned, with ".tdb" forced on it. A name the
    // extension made is replaced only after asking (the dialog confirmed the other one);
    // a path too long or a database open in this program is refused. The document takes
    // the new name only when the save succeeded.
    SaveResult saveAs(const std::filesystem::path& chosen);
    // Saves under exactly this path (no extension forced, no question) and takes it as the
    // document's name: a new database made by tarn-cli.
    bool saveNamed(const std::filesystem::path& path);

    // Exports to the name the dialog returned (".csv" added when it has no extension, and
    // then replacing a file only after asking). Never over a database open in this
    // program. The number of clients exported on success.
    struct ExportResult {
        SaveResult result;
        int clients = 0;
        std::filesystem::path file;
    };
    ExportResult exportTo(std::filesystem::path chosen);

    // Who owns this document's messages (a window of the desktop program; none for tarn-cli).
    void setOwner(WindowHandle owner) { owner_ = owner; }
    MessageOwner owner() const { return MessageOwner::of(owner_); }

  private:
    void setFileName(std::filesystem::path path);
    // Takes the name a Save as or a new database's save gave the document.
    void tookName(const std::filesystem::path& path);
    bool saveTo(const std::filesystem::path& path);
    // Asks before replacing an existing file whose name the program made; false on No.
    bool mayReplaceMadeName(const std::filesystem::path& path) const;
    // The editing lock of `path`, when this document takes one: false after the refusal
    // (or the user's No) when another program holds it.
    bool lockForEditing(const std::filesystem::path& path);

    ClientDatabase database_{true};
    std::filesystem::path fileName_{kNoName};
    UndoHistory history_{kUndoSteps};
    bool remembersFiles_ = false;
    WindowHandle owner_ = nullptr;
    Locking locking_ = Locking::None;
    DatabaseLock lock_;
    bool readOnly_ = false;
};

}  // namespace tarn
