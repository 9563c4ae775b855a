#include "shell/database_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>
#include <ctime>

#include "database/client_compare.h"
#include "database/csv_export.h"
#include "database/csv_import.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "printing/print_clients.h"
#include "printing/render_document.h"
#include "qtcommon/ansi_text.h"
#include "qtcommon/file_path.h"
#include "radio/serial_link.h"
#include "settings/settings_store.h"
#include "shell/artwork.h"
#include "shell/client_list.h"
#include "shell/column_widths.h"
#include "shell/commands.h"
#include "shell/compare_dialog.h"
#include "shell/database_step.h"
#include "shell/file_name_dialog.h"
#include "shell/import_preview_dialog.h"

namespace tarn {
namespace {

// Qt's print preview on a high-resolution printer of its own, which lives as long as the
// dialog (the holder is the first base, so it goes last).
struct PreviewPrinter {
    std::unique_ptr<QPrinter> ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
};
class PrintPreview final : private PreviewPrinter, public QPrintPreviewDialog {
  public:
    explicit PrintPreview(QWidget* parent) : QPrintPreviewDialog(ownPrinter.get(), parent) {
        setAttribute(Qt::WA_DeleteOnClose);
    }
};

constexpr int kUndoSteps = 100;

std::string timeOfDay() {
    return QTime::currentTime().toString("HH:mm").toStdString();
}

}  // namespace

DatabaseWindow::DatabaseWindow(std::optional<std::filesystem::path> path, QWidget* parent)
    : QMdiSubWindow(parent), undoStack_(new QUndoStack(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(applicationIcon());
    auto* panel = new QWidget(this);
    list_ = new ClientList(database_, panel);
    find_ = new QLineEdit(panel);
    find_->setObjectName("Find");
    find_->setClearButtonEnabled(true);
    find_->installEventFilter(this);
    findStatus_ = new QLabel(panel);
    auto* findLabel = new QLabel("Find:", panel);
    findLabel->setBuddy(find_);
    auto* findRow = new QHBoxLayout;
    findRow->setContentsMargins(2, 2, 2, 0);
    findRow->addWidget(findLabel);
    findRow->addWidget(find_, 1);
    findRow->addWidget(findStatus_);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(findRow);
    layout->addWidget(list_, 1);
    setWidget(panel);
    setFocusProxy(list_);
    auto* findKey = new QAction(this);
    findKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    findKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(findKey, &QAction::triggered, this, [this] {
        find_->setFocus(Qt::ShortcutFocusReason);
        find_->selectAll();
    });
    addAction(findKey);
    connect(find_, &QLineEdit::textChanged, this, &DatabaseWindow::findTextChanged);
    setFileName(path ? *path : std::filesystem::path(kNoName));
    undoStack_->setUndoLimit(kUndoSteps);
    if (path && database_.open(*path))
        rememberFile();
    else
        undoStack_->resetClean();  // never saved: no state to come back to unmodified
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DatabaseWindow::selectionCountChanged);
    // A name of 20 letters; serials of 16 characters.
    list_->setColumnWidths(initialColumnWidths(*list_, kDatabaseColumnsValue,
                                               {QString(20, 'n'), "Advanced", QString(16, '0'),
                                                "0000", "Enabled", "Toggle", "Manual", "High"}));
    connect(list_, &QAbstractItemView::doubleClicked, this,
            [this] { postCommand(cmd::EditClient); });
    postRefillClientList();
}

DatabaseWindow::~DatabaseWindow() = default;

void DatabaseWindow::setFileName(std::filesystem::path path) {
    fileName_ = std::move(path);
    setWindowTitle(displayPath(fileName_) + "[*]");
}

QString DatabaseWindow::shownTitle() const {
    return displayPath(fileName_) + (isWindowModified() ? "*" : "");
}

void DatabaseWindow::showModified() {
    setWindowModified(database_.isModified() != 0);
}

QSize DatabaseWindow::sizeHint() const {
    const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const QSize least(list_->horizontalHeader()->length() + 2 * list_->frameWidth() +
                          list_->verticalScrollBar()->sizeHint().width() + 2 * frame,
                      widget()->minimumSizeHint().height() + titleBar + frame);
    const QMdiArea* area = mdiArea();
    if (!area) return least.expandedTo(QMdiSubWindow::sizeHint());
    return (area->viewport()->size() - QSize(titleBar, titleBar)).expandedTo(least);
}

void DatabaseWindow::findTextChanged(const QString& text) {
    list_->setFindText(text);
    showFindStatus();
}

void DatabaseWindow::showFindStatus() {
    findStatus_->setText(list_->findStatus());
}

bool DatabaseWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == find_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        find_->clear();
        list_->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void DatabaseWindow::rememberFile() {
    settings().addRecentFile(fileName_);
}

void DatabaseWindow::postCommand(int id) {
    QMetaObject::invokeMethod(
        this, [this, id] { runCommand(id); }, Qt::QueuedConnection);
}

void DatabaseWindow::postRefillClientList() {
    QMetaObject::invokeMethod(this, &DatabaseWindow::refillClientList, Qt::QueuedConnection);
}

void DatabaseWindow::postRefreshClientRow(int client) {
    QMetaObject::invokeMethod(
        this, [this, client] { refreshClientRow(client); }, Qt::QueuedConnection);
}

void DatabaseWindow::refillClientList() {
    list_->refill();
    showFindStatus();
    showModified();
    emit selectionCountChanged();
}

QString DatabaseWindow::selectionText() const {
    return QString("%1 of %2 selected")
        .arg(list_->selectedClients().size())
        .arg(database_.clientCount());
}

QString DatabaseWindow::clientName(int client) const {
    char name[kNameSize] = {};
    if (const ClientRecord* record = database_.client(client)) record->getName(name, sizeof name);
    return fromAnsi(name);
}

void DatabaseWindow::recordStep(const QString& name, const DatabaseState& before) {
    DatabaseChange change = diffStates(before, database_.state());
    if (!change.empty()) undoStack_->push(new DatabaseStep(database_, std::move(change), name));
}

void DatabaseWindow::stepHistory(bool back) {
    if (back ? !undoStack_->canUndo() : !undoStack_->canRedo()) return;
    if (back)
        undoStack_->undo();
    else
        undoStack_->redo();
    // Back at the state last loaded or saved, there is nothing to save.
    database_.setModified(!undoStack_->isClean());
    postRefillClientList();
}

void DatabaseWindow::refreshClientRow(int client) {
    if (!list_->refreshClient(client)) postRefillClientList();
    showModified();
}

void DatabaseWindow::runCommand(int id) {
    struct MarkAfter {
        DatabaseWindow* window;
        ~MarkAfter() { window->showModified(); }
    } markAfter{this};
    switch (id) {
        case cmd::Save:
            return save();
        case cmd::SaveAs:
            return saveAs();
        case cmd::Close:
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
            return;
        case cmd::Export:
            return exportDatabase();
        case cmd::Import:
            return importCsv();
        case cmd::NewClient:
            return newClient();
        case cmd::EditClient:
            return editClient();
        case cmd::DeleteClient:
            return deleteClients();
        case cmd::MakeAdvanced:
            return makeAdvanced(true);
        case cmd::MakeStandard:
            return makeAdvanced(false);
        case cmd::PrintClient:
            return printClient();
        case cmd::PrintSummary:
            return print(true, -1);
        case cmd::PrintAll:
            return print(false, -1);
        case cmd::PrintPreview:
            return printPreview();
        case cmd::WriteRadio:
            return writeRadio();
        case cmd::ReadRadio:
            return readRadio();
        case cmd::CompareRadio:
            return compareWithRadio();
        case cmd::EditDealer:
            return editDealerText();
        case cmd::Undo:
            return stepHistory(true);
        case cmd::Redo:
            return stepHistory(false);
        case cmd::Copy:
            return copyClients();
        case cmd::Paste:
            return pasteClients();
        default:
            return;
    }
}

void DatabaseWindow::save() {
    if (fileName_ == kNoName || database_.openFailed()) return saveAs();
    if (pathFits(this, fileName_) && database_.save(fileName_)) {
        undoStack_->setClean();
        rememberFile();
    }
}

void DatabaseWindow::saveAs() {
    // A window whose file could not be read offers no name, as an untitled one.
    std::filesystem::path chosen =
        database_.openFailed() ? std::filesystem::path(kNoName) : fileName_;
    if (!askFileName(this, chosen, FileDialogKind::SaveDatabase)) return;
    if (!pathFits(this, chosen)) return;
    const std::filesystem::path forced = forceDatabaseExtension(chosen.string());
    if (!pathFits(this, forced)) return;
    // The dialog confirmed replacing the name typed, not the one the extension made.
    std::error_code error;
    const bool exists = std::filesystem::exists(forced, error);
    MessageOwner owner = MessageOwner::of(this);
    owner.defaultNo = true;  // replacing a file is never the default
    if (forced != chosen && exists && !askYesNo(owner, formatMessage(msg::kReplaceFile, forced)))
        return;
    setFileName(forced);
    if (database_.save(fileName_)) {
        undoStack_->setClean();
        rememberFile();
    }
}

void DatabaseWindow::exportDatabase() {
    std::filesystem::path path;
    if (!askFileName(this, path, FileDialogKind::ExportDatabase)) return;
    if (!pathFits(this, path)) return;
    if (!path.has_extension()) {
        // The dialog confirmed replacing the name typed, not the one with ".csv".
        path += ".csv";
        std::error_code error;
        MessageOwner owner = MessageOwner::of(this);
        owner.defaultNo = true;
        if (!pathFits(this, path) || (std::filesystem::exists(path, error) &&
                                      !askYesNo(owner, formatMessage(msg::kReplaceFile, path))))
            return;
    }
    exportCsv(database_, path.string());
}

void DatabaseWindow::importCsv() {
    std::filesystem::path path;
    if (!askFileName(this, path, FileDialogKind::ImportCsv) || !pathFits(this, path)) return;
    const std::optional<CsvImport> read = readCsvFile(path);
    if (!read) return;
    MessageOwner owner = MessageOwner::of(this);
    if (read->readable == 0 && read->errorCount == 0)
        return showError(owner, msg::kImportNoClients);
    if (askImportPreview(this, *read) == ImportChoice::Cancel) return;
    // All or nothing: the first ones only when the dealer agrees, and told how many fit.
    const int room = importRoom(database_);
    if (room == 0) return showError(owner, formatMessage(msg::kImportDatabaseFull, kMaxClients));
    owner.defaultNo = true;
    const std::string tooMany = formatMessage(
        formatMessage(formatMessage(msg::kImportTooMany, read->readable), room), kMaxClients);
    if (read->readable > room &&
        !askYesNo(owner, tooMany + formatMessage(msg::kImportFirstOnes, room)))
        return;
    bool dealerText = dealerTextOffered(database_, *read);
    if (dealerText && dealerTextAsks(database_)) {
        const std::string question = formatMessage(
            formatMessage(msg::kImportDealerText,
                          std::string_view(fromAnsi(database_.dealerString()).toStdString())),
            std::string_view(fromAnsi(*read->dealerText).toStdString()));
        dealerText = askYesNo(owner, question);
    }
    // One call adds everything, so that the import is one step to undo.
    const DatabaseState before = database_.state();
    const CsvImportSummary summary = importClients(database_, *read, room, dealerText);
    recordStep(QString("Import %1 clients").arg(summary.clients), before);
    userFeedback().showMessage(MessageOwner::of(this), importSummaryText(summary),
                               MessageIcon::Information, MessageButtons::Ok);
    refillClientList();
}

void DatabaseWindow::newClient() {
    const DatabaseState before = database_.state();
    const int index = database_.addClient();
    if (index < 0) return;
    if (database_.editClient(this, index)) {
        recordStep(QString("New client '%1'").arg(clientName(index)), before);
        postRefillClientList();
    } else
        database_.deleteClient(index);  // the database stays marked modified
}

bool DatabaseWindow::hasFocusedClient(const char* emptyMessage, bool offerNewClient,
                                      const char* noFocusMessage, int& client) {
    const MessageOwner owner = MessageOwner::of(this);
    if (database_.clientCount() == 0) {
        if (!offerNewClient)
            showError(owner, emptyMessage);
        else if (askYesNo(owner, emptyMessage))
            postCommand(cmd::NewClient);
        return false;
    }
    client = list_->focusedClient();
    if (client < 0) {
        showError(owner, noFocusMessage);
        return false;
    }
    return true;
}

void DatabaseWindow::editClient() {
    int client = -1;
    if (!hasFocusedClient(msg::kNoClientsToEdit, true, msg::kNoClientToEdit, client)) return;
    const DatabaseState before = database_.state();
    if (!database_.editClient(this, client)) return;
    recordStep(QString("Edit client '%1'").arg(clientName(client)), before);
    postRefreshClientRow(client);
}

void DatabaseWindow::deleteClients() {
    std::vector<int> chosen = list_->selectedClients();
    if (chosen.empty()) return showError(MessageOwner::of(this), msg::kNoClientsSelected);
    MessageOwner owner = MessageOwner::of(this);
    owner.defaultNo = true;
    if (!askYesNo(owner, msg::kDeleteClients)) return;
    const DatabaseState before = database_.state();
    const QString name = chosen.size() == 1
                             ? QString("Delete client '%1'").arg(clientName(chosen[0]))
                             : QString("Delete %1 clients").arg(chosen.size());
    database_.deleteClients(std::move(chosen));
    recordStep(name, before);
    postRefillClientList();
}

void DatabaseWindow::makeAdvanced(bool advanced) {
    const std::vector<int> chosen = list_->selectedClients();
    if (chosen.empty()) return showError(MessageOwner::of(this), msg::kNoClientsSelected);
    const DatabaseState before = database_.state();
    for (auto it = chosen.rbegin(); it != chosen.rend(); ++it)
        database_.setClientAdvanced(*it, advanced ? 1 : 0);
    recordStep(advanced ? "Make advanced" : "Make standard", before);
    postRefillClientList();
}

bool DatabaseWindow::clientToPrint(int& client) {
    return hasFocusedClient(msg::kNoClientsToPrint, true, msg::kNoClientToPrint, client);
}

void DatabaseWindow::printClient() {
    int client = -1;
    if (clientToPrint(client)) print(false, client);
}

void DatabaseWindow::printPreview() {
    int client = -1;
    if (!clientToPrint(client)) return;
    const PrintJob job{false, fileName_, client, storedPrintOptions()};
    auto* preview = new PrintPreview(this);
    connect(preview, &QPrintPreviewDialog::paintRequested, this, [this, job](QPrinter* printer) {
        const PrintError error = renderDocument(*printer, database_, job,
                                                printer->outputFormat() == QPrinter::PdfFormat);
        // Told once the preview has finished painting, not from inside it.
        if (error != PrintError::None)
            QTimer::singleShot(0, this, [this, error] {
                showError(MessageOwner::of(this), printErrorText(error));
            });
    });
    preview->open();
}

void DatabaseWindow::print(bool summary, int client) {
    printClients(database_, this, summary, fileName_, client, storedPrintOptions());
}

void DatabaseWindow::writeRadio() {
    int client = -1;
    if (hasFocusedClient(msg::kNoClientsToWrite, false, msg::kNoClientToWrite, client))
        writeClient(client);
}

void DatabaseWindow::writeClient(int client) {
    if (database_.clientHasNoChannels(client))
        return showError(MessageOwner::of(this), msg::kNoChannelsDefined);
    SerialLink link;
    RadioImage image{};
    database_.copyClientImage(client, image.data(), kImageSize);
    link.writeRadio(this, image.data(), kImageSize, true);
    if (link.lastReadBack().size() == kImageSize) {
        // What the radio holds now, as it came back (unchecked, byte for byte).
        ClientRecord verified = *database_.client(client);
        std::copy(link.lastReadBack().begin(), link.lastReadBack().end(), verified.image().begin());
        keepBackup(BackupKind::Verified, verified);
    }
    report(writeReport(link.outcome(), toAnsi(clientName(client)).value_or(""), timeOfDay()));
}

void DatabaseWindow::readRadio() {
    int client = -1;
    if (!hasFocusedClient(msg::kNoClientsToRead, false, msg::kNoClientToRead, client)) return;
    if (const auto read = readIntoCopy(client)) replaceClient(client, *read);
}

void DatabaseWindow::compareWithRadio() {
    int client = -1;
    if (!hasFocusedClient(msg::kNoClientsToCompare, false, msg::kNoClientToCompare, client)) return;
    const auto read = readIntoCopy(client);
    if (!read) return;
    const ImageComparison comparison = compareWithImage(*database_.client(client), read->checked);
    const auto count = static_cast<int>(comparison.lines().size());
    report("Compared '" + toAnsi(clientName(client)).value_or("") + "' with the radio: " +
           (comparison.identical()
                ? std::string("identical")
                : std::to_string(count) + (count == 1 ? " difference" : " differences")) +
           " at " + timeOfDay());
    switch (askAfterComparison(this, comparison)) {
        case CompareChoice::ReplaceClient:
            return replaceClient(client, *read);
        case CompareChoice::WriteClient:
            return writeClient(client);
        case CompareChoice::Close:
            return;
    }
}

std::optional<DatabaseWindow::RadioRead> DatabaseWindow::readIntoCopy(int client) {
    SerialLink link;
    RadioRead read;
    read.checked = *database_.client(client);
    if (!link.readRadio(this, read.image.data(), kImageSize, false)) {
        report(
            readReport(link.outcome(), toAnsi(clientName(client)).value_or(""), kImageSize, 0, ""));
        return std::nullopt;
    }
    read.outcome = link.outcome();
    read.checked.loadImage(read.image.data(), kImageSize);
    keepBackup(BackupKind::Radio, read.checked);
    return read;
}

void DatabaseWindow::replaceClient(int client, const RadioRead& read) {
    keepBackup(BackupKind::BeforeRead, *database_.client(client));
    const DatabaseState before = database_.state();
    // Checked already: the check finds nothing more and says nothing a second time.
    database_.loadClientImage(client, read.checked.image().data(), kImageSize);
    recordStep(QString("Read radio into '%1'").arg(clientName(client)), before);
    const int repaired =
        repairedChannels(read.image.data(), database_.client(client)->image().data());
    report(readReport(read.outcome, toAnsi(clientName(client)).value_or(""), kImageSize, repaired,
                      timeOfDay()));
    postRefreshClientRow(client);
}

void DatabaseWindow::keepBackup(BackupKind kind, const ClientRecord& client) {
    const std::filesystem::path database = fileName_ == kNoName ? "" : fileName_;
    const BackupResult result = tarn::keepBackup(kind, database, client, std::time(nullptr));
    if (!result.ok() && backupFailure_.empty()) backupFailure_ = result.failure;
}

void DatabaseWindow::report(const std::string& text) {
    QString line = fromAnsi(text);
    // The failure names a path, in the system's encoding.
    if (!backupFailure_.empty()) line += ". " + QString::fromLocal8Bit(backupFailure_);
    backupFailure_.clear();
    emit radioReported(line);
}

void DatabaseWindow::editDealerText() {
    const DatabaseState before = database_.state();
    if (database_.editDealerText(this)) recordStep("Edit dealer text", before);
}

void DatabaseWindow::copyClients() {
    const MessageOwner owner = MessageOwner::of(this);
    if (database_.clientCount() == 0) return showError(owner, msg::kNoClientsToCopy);
    const std::vector<int> chosen = list_->selectedClients();
    if (chosen.empty()) return showError(owner, msg::kNoClientToCopy);
    database_.copyClients(this, chosen.data(), static_cast<int>(chosen.size()));
}

void DatabaseWindow::pasteClients() {
    const DatabaseState before = database_.state();
    if (!database_.pasteClients(this)) return;
    const int pasted = database_.clientCount() - static_cast<int>(before.clients.size());
    recordStep(pasted == 1 ? QString("Paste 1 client") : QString("Paste %1 clients").arg(pasted),
               before);
    postRefillClientList();
}

void DatabaseWindow::closeEvent(QCloseEvent* event) {
    if (database_.isModified()) {
        if (askYesNo(MessageOwner::of(this), formatMessage(msg::kSaveChanges, fileName_))) {
            save();
            if (database_.isModified()) {  // the save failed or its dialog was cancelled
                event->ignore();
                return;
            }
        }
    }
    settings().writeColumnWidths(kDatabaseColumnsValue, list_->columnWidths());
    QMdiSubWindow::closeEvent(event);
}

}  // namespace tarn
