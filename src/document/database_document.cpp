#include "document/database_document.h"

#include "database/csv_export.h"
#include "database/database_state.h"
#include "database/output_guard.h"
#include "model/message_texts.h"
#include "settings/settings_store.h"

namespace tarn {

DatabaseDocument::DatabaseDocument() {
    history_.forgetClean();  // never saved: no state to come back to unmodified
}

DatabaseDocument::~DatabaseDocument() {
    if (!untitled()) OpenDatabases::remove(fileName_);
}

void DatabaseDocument::setFileName(std::filesystem::path path) {
    if (!untitled()) OpenDatabases::remove(fileName_);
    fileName_ = std::move(path);
    if (!untitled()) OpenDatabases::add(fileName_);
}

bool DatabaseDocument::lockForEditing(const std::filesystem::path& path) {
    lock_.release();
    readOnly_ = false;
    if (locking_ == Locking::None) return true;
    const bool wait = locking_ == Locking::WaitOrRefuse;
    if (lock_.lockForEditing(path, wait ? kEditWait : std::chrono::seconds(0)) !=
        LockStatus::HeldByOther)
        return true;  // taken, or no lock file can be made where nobody can save either
    if (wait) {
        showError(MessageOwner::none(), lockedText(msg::kBeingEdited, path, lock_.holder()));
        return false;
    }
    readOnly_ =
        askYesNo(MessageOwner::none(), lockedText(msg::kOpenReadOnly, path, lock_.holder()));
    return readOnly_;
}

void DatabaseDocument::keepLockFresh() {
    if (lock_.held() && !lock_.refresh()) lock_.lockForEditing(fileName_);
}

bool DatabaseDocument::open(const std::filesystem::path& path) {
    if (!lockForEditing(path)) return false;
    setFileName(path);
    if (!database_.open(path)) {
        lock_.release();  // nothing to save over the file it could not read
        history_.forgetClean();
        return false;
    }
    history_.setClean();
    if (remembersFiles_) settings().addRecentFile(path);
    return true;
}

int DatabaseDocument::change(const std::function<int(ClientDatabase&)>& edit,
                             const std::function<std::string()>& name) {
    const bool wasModified = isModified();
    const DatabaseState before = database_.state();
    const int result = edit(database_);
    DatabaseChange changed = diffStates(before, database_.state());
    if (changed.empty()) {
        database_.setModified(wasModified);
    } else {
        history_.push(name(), std::move(changed));
        database_.setModified(true);
    }
    return result;
}

bool DatabaseDocument::undo() {
    const DatabaseChange* step = history_.undo();
    if (!step) return false;
    database_.applyChange(*step, false);
    database_.setModified(!history_.isClean());
    return true;
}

bool DatabaseDocument::redo() {
    const DatabaseChange* step = history_.redo();
    if (!step) return false;
    database_.applyChange(*step, true);
    database_.setModified(!history_.isClean());
    return true;
}

bool DatabaseDocument::saveTo(const std::filesystem::path& path) {
    if (!database_.save(path)) return false;
    history_.setClean();
    if (remembersFiles_) settings().addRecentFile(path);
    return true;
}

DatabaseDocument::SaveResult DatabaseDocument::save() {
    if (untitled() || openFailed() || readOnly_) return SaveResult::NeedsName;
    if (!pathFits(fileName_, owner())) return SaveResult::Failed;
    return saveTo(fileName_) ? SaveResult::Saved : SaveResult::Failed;
}

bool DatabaseDocument::mayReplaceMadeName(const std::filesystem::path& path) const {
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) return true;
    MessageOwner asking = owner();
    asking.defaultNo = true;  // replacing a file is never the default
    return askYesNo(asking, formatMessage(msg::kReplaceFile, path));
}

DatabaseDocument::SaveResult DatabaseDocument::saveAs(const std::filesystem::path& chosen) {
    if (!pathFits(chosen, owner())) return SaveResult::Retry;
    const std::filesystem::path forced = forceDatabaseExtension(chosen);
    if (!pathFits(forced, owner())) return SaveResult::Retry;
    // The dialog confirmed replacing the name typed, not the one the extension made.
    if (forced != chosen && !mayReplaceMadeName(forced)) return SaveResult::Retry;
    // Another database of this program stays whole; this one's own file may be rewritten.
    const bool ownFile = !untitled() && !openFailed() && !readOnly_ && forced == fileName_;
    if (!ownFile && !mayReplaceWithOutput(forced, owner())) return SaveResult::Retry;
    if (!saveTo(forced)) return SaveResult::Failed;
    if (!ownFile) tookName(forced);
    return SaveResult::Saved;
}

bool DatabaseDocument::saveNamed(const std::filesystem::path& path) {
    if (!pathFits(path, owner()) || !mayReplaceWithOutput(path, owner()) || !saveTo(path))
        return false;
    tookName(path);
    return true;
}

void DatabaseDocument::tookName(const std::filesystem::path& path) {
    setFileName(path);
    // Saved under a new name: this document now edits that file.
    if (locking_ != Locking::None) {
        lock_.release();
        readOnly_ = false;
        lock_.lockForEditing(path);
    }
}

DatabaseDocument::ExportResult DatabaseDocument::exportTo(std::filesystem::path chosen) {
    if (!pathFits(chosen, owner())) return {SaveResult::Retry, 0, {}};
    if (!chosen.has_extension()) {
        chosen += ".csv";
        // The dialog confirmed replacing the name typed, not the one with ".csv".
        if (!pathFits(chosen, owner()) || !mayReplaceMadeName(chosen))
            return {SaveResult::Retry, 0, {}};
    }
    if (!mayReplaceWithOutput(chosen, owner())) return {SaveResult::Retry, 0, {}};
    if (!exportCsv(database_, chosen)) return {SaveResult::Failed, 0, {}};
    return {SaveResult::Saved, database_.clientCount(), chosen};
}

}  // namespace tarn
