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
#include <QTimer>
#include <QVBoxLayout>

#include "database/csv_import.h"
#include "database/output_guard.h"
#include "document/apply_channels.h"
#include "document/csv_import_plan.h"
#include "document/radio_workflow.h"
#include "document/selcall_numbers.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "printing/pdf_file_surface.h"
#include "printing/print_clients.h"
#include "printing/render_document.h"
#include "qtcommon/ansi_text.h"
#include "qtcommon/file_path.h"
#include "settings/settings_store.h"
#include "shell/apply_channels_dialog.h"
#include "shell/artwork.h"
#include "shell/client_list.h"
#include "shell/column_widths.h"
#include "shell/commands.h"
#include "shell/compare_dialog.h"
#include "shell/file_name_dialog.h"
#include "shell/fleet_dialogs.h"
#include "shell/fleet_questions.h"
#include "shell/import_preview_dialog.h"
#include "shell/shell_services.h"

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

}  // namespace

DatabaseWindow::DatabaseWindow(std::optional<std::filesystem::path> path, QWidget* parent)
    : QMdiSubWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    document_.setOwner(this);
    document_.setRemembersFiles(true);
    setWindowIcon(applicationIcon());
    auto* panel = new QWidget(this);
    list_ = new ClientList(document_.database(), panel);
    find_ = new QLineEdit(panel);
    find_->setObjectName("Find");
    find_->setFocusPolicy(Qt::ClickFocus);  // reached by a click or Ctrl+F; the list has the keys
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
    connect(find_, &QLineEdit::returnPressed, list_, &ClientList::goToFirstRow);
    document_.setLocking(DatabaseDocument::Locking::AskReadOnly);
    if (path) document_.open(*path);
    auto* lockRefresh = new QTimer(this);
    connect(lockRefresh, &QTimer::timeout, this, [this] { document_.keepLockFresh(); });
    lockRefresh->start(std::chrono::milliseconds(DatabaseLock::kRefresh));
    showTitle();
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DatabaseWindow::selectionCountChanged);
    // Names of 31 characters; serials of 16.
    list_->setColumnWidths(initialColumnWidths(*list_, kDatabaseColumnsValue,
                                               {longestName(), "Advanced", QString(16, '0'), "0000",
                                                "Enabled", "Toggle", "Manual", "High"}));
    connect(list_, &QAbstractItemView::doubleClicked, this,
            [this] { postCommand(cmd::EditClient); });
    postRefillClientList();
}

DatabaseWindow::~DatabaseWindow() = default;

void DatabaseWindow::showTitle() {
    setWindowTitle(displayPath(document_.fileName()) + "[*]");
}

QString DatabaseWindow::shownTitle() const {
    return displayPath(document_.fileName()) + (isWindowModified() ? "*" : "");
}

void DatabaseWindow::showModified() {
    setWindowModified(document_.isModified());
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
        .arg(document_.database().clientCount());
}

std::string DatabaseWindow::clientName(int client) const {
    char name[kNameSize] = {};
    if (const ClientRecord* record = document_.database().client(client))
        record->getName(name, sizeof name);
    return name;
}

void DatabaseWindow::stepHistory(bool back) {
    if (back ? document_.undo() : document_.redo()) postRefillClientList();
}

void DatabaseWindow::refreshClientRow(int client) {
    if (!list_->refreshClient(client)) postRefillClientList();
    showModified();
}

void DatabaseWindow::runCommand(int id) {
    // Whatever a command did, the title's mark and the frame follow the document.
    struct MarkAfter {
        DatabaseWindow* window;
        ~MarkAfter() {
            window->showModified();
            emit window->documentChanged();
        }
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
        case cmd::PrintSelected:
            return printSelected();
        case cmd::ApplyChannels:
            return applyChannels();
        case cmd::NumberSelcalls:
            return numberSelcalls();
        case cmd::WriteRadio:
            return writeRadio();
        case cmd::ReadRadio:
            return readRadio();
        case cmd::CompareRadio:
            return compareWithRadio();
        case cmd::ProgramSelected:
            return programSelected();
        case cmd::ClientHistory:
            return showHistory();
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
    const DatabaseDocument::SaveResult saved = document_.save();
    if (saved == DatabaseDocument::SaveResult::NeedsName) return saveAs();
    if (saved == DatabaseDocument::SaveResult::Saved) tellSelcallClashes(0);
}

void DatabaseWindow::saveAs() {
    // A window whose file could not be read offers no name, as an untitled one.
    std::filesystem::path chosen =
        document_.openFailed() ? std::filesystem::path(kNoName) : document_.fileName();
    // A name refused (or a replace answered No) brings the dialog back.
    while (askFileName(this, chosen, FileDialogKind::SaveDatabase)) {
        const DatabaseDocument::SaveResult saved = document_.saveAs(chosen);
        if (saved == DatabaseDocument::SaveResult::Saved) tellSelcallClashes(0);
        if (saved != DatabaseDocument::SaveResult::Retry) break;
    }
    showTitle();
}

void DatabaseWindow::exportDatabase() {
    std::filesystem::path chosen;
    while (askFileName(this, chosen, FileDialogKind::ExportDatabase)) {
        const auto done = document_.exportTo(chosen);
        if (done.result == DatabaseDocument::SaveResult::Retry) continue;
        if (done.result == DatabaseDocument::SaveResult::Saved)
            report(QString::fromStdString(formatMessage(
                done.clients == 1 ? std::string(msg::kExportedOneClient)
                                  : formatMessage(msg::kExportedClients, done.clients),
                done.file.filename())));
        break;
    }
}

void DatabaseWindow::importCsv() {
    std::filesystem::path path;
    if (!askFileName(this, path, FileDialogKind::ImportCsv) ||
        !pathFits(path, MessageOwner::of(this)))
        return;
    const std::optional<CsvImport> read = readCsvFile(path);
    if (!read) return;
    const MessageOwner owner = MessageOwner::of(this);
    // A file without clients has nothing to preview.
    if (read->readable == 0 && read->errorCount == 0)
        return showError(owner, msg::kImportNoClients);
    const ImportChoice choice = askImportPreview(this, *read);
    if (choice == ImportChoice::Cancel) return;
    ImportPlan plan =
        planImport(document_.database(), *read, choice == ImportChoice::ImportReadable);
    if (!plan.refusal.empty()) return showError(owner, plan.refusal);
    MessageOwner asking = owner;
    asking.defaultNo = true;  // less than the file holds, or a text replaced, only on purpose
    if (!plan.tooMany.empty() &&
        !askYesNo(asking, plan.tooMany + formatMessage(msg::kImportFirstOnes, plan.count)))
        return;
    if (!plan.dealerTextQuestion.empty())
        plan.dealerText = askYesNo(asking, plan.dealerTextQuestion);
    const int before = document_.database().clientCount();
    const CsvImportSummary summary = importPlanned(document_, *read, plan);
    list_->markNewClients(before, summary.clients);
    userFeedback().showMessage(owner, importSummaryText(summary), MessageIcon::Information,
                               MessageButtons::Ok);
    tellSelcallClashes(before);
    refillClientList();
}

void DatabaseWindow::newClient() {
    int index = -1;
    const bool added = document_.change(
        [&](ClientDatabase& db) {
            index = db.addClient();
            if (index < 0) return 0;
            if (db.editClient(this, index)) return 1;
            db.deleteClient(index);
            return 0;
        },
        [&] { return "New client '" + clientName(index) + "'"; });
    if (index < 0) {
        report(QString::fromStdString(formatMessage(msg::kClientLimitReached, kMaxClients)));
        return;
    }
    if (added)
        list_->markNewClients(index, 1);
    else
        document_.markModified();  // cancelled: the database counts as changed
    postRefillClientList();
}

bool DatabaseWindow::hasFocusedClient(const char* emptyMessage, bool offerNewClient,
                                      const char* noFocusMessage, int& client) {
    const MessageOwner owner = MessageOwner::of(this);
    if (document_.database().clientCount() == 0) {
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
    if (document_.change([&](ClientDatabase& db) { return db.editClient(this, client); },
                         [&] { return "Edit client '" + clientName(client) + "'"; }))
        postRefreshClientRow(client);
}

void DatabaseWindow::deleteClients() {
    std::vector<int> chosen = list_->selectedClients();
    if (chosen.empty()) return showError(MessageOwner::of(this), msg::kNoClientsSelected);
    MessageOwner owner = MessageOwner::of(this);
    owner.defaultNo = true;
    // The question as it stands, then which clients it means.
    const std::string which = chosen.size() == 1 ? "'" + clientName(chosen[0]) + "'"
                                                 : std::to_string(chosen.size()) + " clients";
    if (!askYesNo(owner, std::string(msg::kDeleteClients) + "\n\n" + fromAnsi(which).toStdString()))
        return;
    const std::string name = chosen.size() == 1 ? "Delete client " + which : "Delete " + which;
    document_.change([&](ClientDatabase& db) { return db.deleteClients(std::move(chosen)); }, name);
    postRefillClientList();
}

void DatabaseWindow::makeAdvanced(bool advanced) {
    const std::vector<int> chosen = list_->selectedClients();
    if (chosen.empty()) return showError(MessageOwner::of(this), msg::kNoClientsSelected);
    document_.change(
        [&](ClientDatabase& db) {
            for (auto it = chosen.rbegin(); it != chosen.rend(); ++it)
                db.setClientAdvanced(*it, advanced ? 1 : 0);
            return 1;
        },
        advanced ? "Make advanced" : "Make standard");
    postRefillClientList();
}

bool DatabaseWindow::clientsToPrint(PrintJob& job) {
    job = PrintJob{false, document_.fileName(), -1, storedPrintOptions(), list_->selectedClients()};
    if (job.clients.size() > 1) return true;
    job.clients.clear();
    return hasFocusedClient(msg::kNoClientsToPrint, true, msg::kNoClientToPrint, job.clientIndex);
}

void DatabaseWindow::printClient() {
    PrintJob job;
    if (clientsToPrint(job)) printJob(document_.database(), this, job);
}

void DatabaseWindow::printPreview() {
    PrintJob job;
    if (!clientsToPrint(job)) return;
    auto* preview = new PrintPreview(this);
    connect(preview, &QPrintPreviewDialog::paintRequested, this, [this, job](QPrinter* printer) {
        const PrintError error = renderDocument(*printer, document_.database(), job,
                                                printer->outputFormat() == QPrinter::PdfFormat);
        // Told once the preview has finished painting, not from inside it.
        if (error != PrintError::None)
            QTimer::singleShot(0, this, [this, error] {
                showError(MessageOwner::of(this), printErrorText(error));
            });
    });
    preview->open();
}

void DatabaseWindow::printSelected() {
    PrintJob job{false, document_.fileName(), -1, storedPrintOptions(), list_->selectedClients()};
    if (job.clients.empty()) return showError(MessageOwner::of(this), msg::kNoClientsSelected);
    std::optional<std::filesystem::path> folder;
    if (!askPrintSelected(this, static_cast<int>(job.clients.size()), folder)) return;
    if (!folder) {
        printJob(document_.database(), this, job);
        return;
    }
    const auto mayReplace = [&](int existing) {
        MessageOwner asking = MessageOwner::of(this);
        asking.defaultNo = true;
        return askYesNo(asking,
                        formatMessage(formatMessage(msg::kPrintEachReplace, existing), *folder));
    };
    const int files =
        printEachToPdf(document_.database(), this, job, *folder, pdfFileSurface, mayReplace);
    if (files > 0)
        report(QString("Printed %1 %2 into '%3'")
                   .arg(files)
                   .arg(files == 1 ? "PDF file" : "PDF files")
                   .arg(displayPath(*folder)));
}

void DatabaseWindow::applyChannels() {
    const std::vector<int> chosen = list_->selectedClients();
    if (chosen.empty()) return showError(MessageOwner::of(this), msg::kPlanNoTargets);
    QList<DatabaseWindow*> databases;
    if (mdiArea()) {
        for (QMdiSubWindow* window : mdiArea()->subWindowList())
            if (auto* database = qobject_cast<DatabaseWindow*>(window)) databases.append(database);
    } else {
        databases.append(this);
    }
    ApplyChannelsDialog dialog(*this, chosen, databases, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.plan()) return;
    const int changed = applyPlan(document_, chosen, dialog.plan()->channels, dialog.mode());
    report(QString("Channels applied: %1 of %2 clients changed").arg(changed).arg(chosen.size()));
    postRefillClientList();
}

void DatabaseWindow::numberSelcalls() {
    const std::vector<int> chosen = list_->selectedClients();
    const MessageOwner owner = MessageOwner::of(this);
    if (chosen.empty()) return showError(owner, msg::kNoClientsSelected);
    const std::optional<int> start = askFirstSelcall(this, document_.database(), chosen);
    if (!start) return;
    const SelcallNumbering numbering = tarn::numberSelcalls(document_.database(), chosen, *start);
    if (numbering.clients.empty() && numbering.leftOver == 0)
        return showError(owner, msg::kSelcallsNoAdvanced);
    applySelcalls(document_, numbering);
    if (numbering.leftOver > 0)
        userFeedback().showMessage(owner, formatMessage(msg::kSelcallsLeftOver, numbering.leftOver),
                                   MessageIcon::Warning, MessageButtons::Ok);
    if (!numbering.clients.empty())
        report(QString("Selcalls %1 to %2 given to %3 clients; %4 standard clients left alone")
                   .arg(QString::fromStdString(selcallText(numbering.selcalls.front())),
                        QString::fromStdString(selcallText(numbering.selcalls.back())))
                   .arg(numbering.clients.size())
                   .arg(numbering.standard));
    postRefillClientList();
}

void DatabaseWindow::tellSelcallClashes(int first) {
    const std::string text =
        selcallClashText(document_.database(), selcallClashesFrom(document_.database(), first));
    if (!text.empty())
        userFeedback().showMessage(MessageOwner::of(this), text, MessageIcon::Warning,
                                   MessageButtons::Ok);
}

void DatabaseWindow::print(bool summary, int client) {
    printClients(document_.database(), this, summary, document_.fileName(), client,
                 storedPrintOptions());
}

RadioSetup DatabaseWindow::radioSetup() {
    RadioSetup setup;
    setup.owner = this;
    setup.port = settings().port();
    setup.log = shellServices().radioLog;
    setup.backupBeforeWrite = settings().backupBeforeWrite();
    return setup;
}

void DatabaseWindow::writeRadio() {
    int client = -1;
    if (hasFocusedClient(msg::kNoClientsToWrite, false, msg::kNoClientToWrite, client))
        writeClient(client);
}

void DatabaseWindow::writeClient(int client) {
    report(programRadio(document_, client, radioSetup()));
}

void DatabaseWindow::readRadio() {
    int client = -1;
    if (!hasFocusedClient(msg::kNoClientsToRead, false, msg::kNoClientToRead, client)) return;
    const RadioReport done = tarn::readRadio(document_, client, radioSetup());
    report(done);
    if (done.changed) postRefreshClientRow(client);
}

void DatabaseWindow::compareWithRadio() {
    int client = -1;
    if (!hasFocusedClient(msg::kNoClientsToCompare, false, msg::kNoClientToCompare, client)) return;
    const RadioSetup setup = radioSetup();
    RadioReport done = compareRadio(document_, client, setup);
    report(done);
    if (!done.comparison) return;
    switch (askAfterComparison(this, *done.comparison, *document_.database().client(client))) {
        case CompareChoice::ReplaceClient:
            replaceClientWithImage(document_, client, *done.radioImage, setup, done);
            report(done);
            if (done.changed) postRefreshClientRow(client);
            return;
        case CompareChoice::WriteClient:
            return writeClient(client);
        case CompareChoice::Close:
            return;
    }
}

void DatabaseWindow::programSelected() {
    const MessageOwner owner = MessageOwner::of(this);
    if (document_.database().clientCount() == 0) return showError(owner, msg::kNoClientsToWrite);
    const std::vector<int> chosen = list_->selectedClients();
    if (chosen.empty()) return showError(owner, msg::kNoClientToWrite);
    programRadiosInRow(*this, chosen);
}

void DatabaseWindow::showHistory() {
    int client = -1;
    if (hasFocusedClient(msg::kNoClientsToEdit, false, msg::kNoClientToEdit, client))
        showClientHistory(*this, client);
}

void DatabaseWindow::report(const RadioReport& done) {
    QString line = fromAnsi(done.text);
    // The failure names a path, in the system's encoding.
    if (!done.backupFailure.empty()) line += ". " + QString::fromLocal8Bit(done.backupFailure);
    report(line);
}

void DatabaseWindow::report(const QString& line) {
    emit radioReported(line);
}

void DatabaseWindow::editDealerText() {
    document_.change([this](ClientDatabase& db) { return db.editDealerText(this); },
                     "Edit dealer text");
}

void DatabaseWindow::copyClients() {
    const MessageOwner owner = MessageOwner::of(this);
    if (document_.database().clientCount() == 0) return showError(owner, msg::kNoClientsToCopy);
    const std::vector<int> chosen = list_->selectedClients();
    if (chosen.empty()) return showError(owner, msg::kNoClientToCopy);
    document_.database().copyClients(this, chosen.data(), static_cast<int>(chosen.size()));
}

void DatabaseWindow::pasteClients() {
    const int before = document_.database().clientCount();
    const auto pasted = [&] { return document_.database().clientCount() - before; };
    if (!document_.change([this](ClientDatabase& db) { return db.pasteClients(this); },
                          [&] {
                              return pasted() == 1
                                         ? std::string("Paste 1 client")
                                         : "Paste " + std::to_string(pasted()) + " clients";
                          }))
        return;
    tellSelcallClashes(before);
    list_->markNewClients(before, pasted());
    postRefillClientList();
}

void DatabaseWindow::closeEvent(QCloseEvent* event) {
    if (document_.isModified()) {
        if (askYesNo(MessageOwner::of(this),
                     formatMessage(msg::kSaveChanges, document_.fileName()))) {
            save();
            if (document_.isModified()) {  // the save failed or its dialog was cancelled
                event->ignore();
                return;
            }
        }
    }
    settings().writeColumnWidths(kDatabaseColumnsValue, list_->columnWidths());
    QMdiSubWindow::closeEvent(event);
}

}  // namespace tarn
