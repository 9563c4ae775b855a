#pragma once

#include <QMdiSubWindow>
#include <filesystem>
#include <optional>
#include <string>

#include "database/client_database.h"
#include "database/database_state.h"
#include "database/radio_backups.h"
#include "radio/radio_outcome.h"

class QLabel;
class QLineEdit;
class QUndoStack;

namespace tarn {

class ClientList;

// The MDI child that shows one open database: its client list and every command that
// concerns one database. The window owns its database and releases it unsaved.
class DatabaseWindow final : public QMdiSubWindow {
    Q_OBJECT
  public:
    static constexpr const char* kNoName = "<NoName>";

    // Without a path: a new untitled database (one demonstration client). With a path:
    // the file is loaded; a failed load leaves no clients and nothing to save, and Save
    // then asks for a name as on an untitled database. A file loaded or saved here goes
    // to the front of the recent-file list.
    explicit DatabaseWindow(std::optional<std::filesystem::path> path, QWidget* parent = nullptr);
    ~DatabaseWindow() override;

    const std::filesystem::path& fileName() const { return fileName_; }
    bool loadFailed() const { return database_.openFailed(); }
    ClientDatabase& database() { return database_; }
    ClientList& list() { return *list_; }
    QLineEdit& findField() { return *find_; }
    QLabel& findStatus() { return *findStatus_; }
    // The title as the Window menu lists it: the file name, "*" after it while modified.
    QString shownTitle() const;
    // The MDI area's size less a cascade offset, never less than all eight columns need.
    QSize sizeHint() const override;

    // A command of the menu, toolbar or keyboard, carried out now.
    void runCommand(int id);
    // The same, after the events already waiting (commands from the frame are posted).
    void postCommand(int id);

    // The window's undo history (the last 100 steps; its clean point is the state last
    // loaded or saved).
    QUndoStack* undoStack() const { return undoStack_; }
    // Records what changed since `before` (a state() taken before the change) as one
    // undo step named `name`; nothing when nothing changed.
    void recordStep(const QString& name, const DatabaseState& before);
    // "3 of 412 selected": the selected rows and the clients of the database.
    QString selectionText() const;

    void postRefillClientList();
    void postRefreshClientRow(int client);
    void refillClientList();
    void refreshClientRow(int client);

  signals:
    // The one-line report of a radio command, for the status bar.
    void radioReported(const QString& text);
    void selectionCountChanged();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setFileName(std::filesystem::path path);
    void showModified();
    void findTextChanged(const QString& text);
    void showFindStatus();
    void importCsv();
    void rememberFile();
    void save();
    void saveAs();
    void exportDatabase();
    void newClient();
    void editClient();
    void deleteClients();
    void makeAdvanced(bool advanced);
    void printClient();
    void print(bool summary, int client);
    // Print client's document in Qt's print preview, which can print it too.
    void printPreview();
    // The focused client Print client and the preview print; false after their message.
    bool clientToPrint(int& client);
    // An image read from the radio for a client: as it came, and in a copy of the client
    // after the channel check.
    struct RadioRead {
        RadioImage image{};
        ClientRecord checked;
        RadioOutcome outcome;
    };
    void writeRadio();
    void writeClient(int client);
    void readRadio();
    void compareWithRadio();
    // Reads the radio into a copy of the client (the channel check's messages as usual) and
    // keeps a `radio` backup; nothing after a failed read, which is reported.
    std::optional<RadioRead> readIntoCopy(int client);
    // Loads what was read into the client: one undo step, backups, the report.
    void replaceClient(int client, const RadioRead& read);
    // A backup that cannot be written is told once, with the command's report.
    void keepBackup(BackupKind kind, const ClientRecord& client);
    void report(const std::string& text);
    void stepHistory(bool back);
    void editDealerText();
    QString clientName(int client) const;
    void copyClients();
    void pasteClients();
    // The row-count and focus-mark preconditions shared by several commands; false
    // after their message (an empty list may instead offer to create a client).
    bool hasFocusedClient(const char* emptyMessage, bool offerNewClient, const char* noFocusMessage,
                          int& client);

    ClientDatabase database_{true};
    std::filesystem::path fileName_;
    ClientList* list_;
    QLineEdit* find_;
    QLabel* findStatus_;
    QUndoStack* undoStack_;
    std::string backupFailure_;  // the first backup failure since the last report
};

}  // namespace tarn
