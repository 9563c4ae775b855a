#pragma once

#include <QMdiSubWindow>
#include <filesystem>
#include <optional>
#include <string>

#include "document/database_document.h"

class QLabel;
class QLineEdit;

namespace tarn {

class ClientList;
struct PrintJob;
struct RadioReport;
struct RadioSetup;

// The MDI child that shows one open database document: its client list, and every command
// that concerns one database, which it carries out through the document and the radio
// workflow. The window owns its document and releases it unsaved.
class DatabaseWindow final : public QMdiSubWindow {
    Q_OBJECT
  public:
    static constexpr const char* kNoName = DatabaseDocument::kNoName;

    // Without a path: a new untitled database (one demonstration client). With a path:
    // the file is loaded; a failed load leaves no clients and nothing to save, and Save
    // then asks for a name as on an untitled database. A file loaded or saved here goes
    // to the front of the recent-file list.
    explicit DatabaseWindow(std::optional<std::filesystem::path> path, QWidget* parent = nullptr);
    ~DatabaseWindow() override;

    const std::filesystem::path& fileName() const { return document_.fileName(); }
    bool loadFailed() const { return document_.openFailed(); }
    DatabaseDocument& document() { return document_; }
    const DatabaseDocument& document() const { return document_; }
    ClientDatabase& database() { return document_.database(); }
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

    // How this window reaches the radio (owner, port, transcript, backup before a write).
    RadioSetup radioSetup();

    // "3 of 412 selected": the selected rows and the clients of the database.
    QString selectionText() const;

    void postRefillClientList();
    void postRefreshClientRow(int client);
    void refillClientList();
    void refreshClientRow(int client);

  signals:
    // A one-line report of a command (a radio command, an export), for the status bar.
    void radioReported(const QString& text);
    void selectionCountChanged();
    // The document changed after a command: its history, its modified state, its name.
    void documentChanged();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showTitle();
    void showModified();
    void findTextChanged(const QString& text);
    void showFindStatus();
    void importCsv();
    void save();
    void saveAs();
    void exportDatabase();
    void newClient();
    void editClient();
    void deleteClients();
    void makeAdvanced(bool advanced);
    void printClient();
    void print(bool summary, int client);
    // The selected clients (only visible ones under Find): on a printer, or each into its
    // own PDF file.
    void printSelected();
    void applyChannels();
    void numberSelcalls();
    // Tells the selcalls that clients from index `first` on share with others (after a
    // save: every client).
    void tellSelcallClashes(int first);
    // Print client's document in Qt's print preview, which can print it too.
    void printPreview();
    // What Print client and the preview print: the selected clients when more than one is
    // selected, else the focused client; false after their message.
    bool clientsToPrint(PrintJob& job);
    void writeRadio();
    void writeClient(int client);
    void readRadio();
    void compareWithRadio();
    void programSelected();
    void showHistory();
    // The report line of a command (and a backup that could not be kept) in the status bar.
    void report(const RadioReport& done);
    void report(const QString& line);
    void stepHistory(bool back);
    void editDealerText();
    std::string clientName(int client) const;
    void copyClients();
    void pasteClients();
    // The row-count and focus-mark preconditions shared by several commands; false
    // after their message (an empty list may instead offer to create a client).
    bool hasFocusedClient(const char* emptyMessage, bool offerNewClient, const char* noFocusMessage,
                          int& client);

    DatabaseDocument document_;
    ClientList* list_;
    QLineEdit* find_;
    QLabel* findStatus_;
};

}  // namespace tarn
