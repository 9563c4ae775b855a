#include "shell/fleet_dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <ctime>

#include "database/output_guard.h"
#include "database/replace_file.h"
#include "document/client_history.h"
#include "document/radio_identify.h"
#include "document/radio_queue.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "qtcommon/ansi_text.h"
#include "shell/client_list.h"
#include "shell/commands.h"
#include "shell/compare_dialog.h"
#include "shell/context_help.h"
#include "shell/database_window.h"
#include "shell/file_name_dialog.h"
#include "shell/frame_window.h"

namespace tarn {
namespace {

QTableWidget* makeTable(QWidget* parent, const QStringList& headings) {
    auto* table = new QTableWidget(0, int(headings.size()), parent);
    table->setHorizontalHeaderLabels(headings);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->setWordWrap(false);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void setRow(QTableWidget* table, int row, const QStringList& texts) {
    for (int column = 0; column < texts.size(); ++column)
        table->setItem(row, column, new QTableWidgetItem(texts[column]));
}

// Shows the window of the document with the client's row marked and in view.
void openClient(FrameWindow& frame, DatabaseDocument* document, int client) {
    for (DatabaseWindow* window : frame.databaseWindows()) {
        if (&window->document() != document) continue;
        frame.mdiArea()->setActiveSubWindow(window);
        ClientList& list = window->list();
        const int row = list.rowOfClient(client);
        if (row < 0) return;
        list.selectRow(row);
        list.setCurrentIndex(list.model()->index(row, 0));
        list.setFocus();
    }
}

// The lines of a comparison in a plain read-only list.
void showLines(QWidget* parent, const QString& title, const std::vector<std::string>& lines) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    list->setObjectName("differences");
    for (const std::string& line : lines) list->addItem(fromAnsi(line));
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(560, 360);
    dialog.exec();
}

}  // namespace

void identifyRadio(FrameWindow& frame) {
    std::vector<DatabaseDocument*> documents;
    for (DatabaseWindow* window : frame.databaseWindows()) documents.push_back(&window->document());
    DatabaseWindow* current = frame.currentDatabaseWindow();
    RadioSetup setup = current ? current->radioSetup() : RadioSetup{};
    setup.owner = &frame;
    IdentifyReport found = tarn::identifyRadio(documents, setup);
    frame.showStatus(fromAnsi(found.radio.succeeded() ? found.text : found.radio.text));
    if (!found.radio.succeeded() || found.matches.empty()) return;

    QDialog dialog(&frame);
    dialog.setObjectName("identify");
    dialog.setWindowTitle("Identify radio");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(fromAnsi(found.text), &dialog));
    auto* list = new QListWidget(&dialog);
    list->setObjectName("matches");
    for (const IdentityMatch& match : found.matches) list->addItem(fromAnsi(matchText(match)));
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(&dialog);
    const auto chosen = [&]() -> const IdentityMatch& {
        return found.matches[std::size_t(std::max(0, list->currentRow()))];
    };
    const auto replace = [&](const IdentityMatch& match) {
        replaceClientWithImage(*match.document, match.client, *found.radio.radioImage, setup,
                               found.radio);
        frame.showStatus(fromAnsi(found.radio.text));
        for (DatabaseWindow* window : frame.databaseWindows()) {
            if (&window->document() == match.document) window->postRefreshClientRow(match.client);
        }
    };
    QObject::connect(buttons->addButton("Open", QDialogButtonBox::AcceptRole),
                     &QPushButton::clicked, &dialog, [&] {
                         openClient(frame, chosen().document, chosen().client);
                         dialog.accept();
                     });
    QObject::connect(buttons->addButton("Compare", QDialogButtonBox::ActionRole),
                     &QPushButton::clicked, &dialog, [&] {
                         const IdentityMatch match = chosen();
                         const ClientRecord& client =
                             *match.document->database().client(match.client);
                         switch (askAfterComparison(
                             &dialog, compareWithImage(client, *found.radio.radioImage), client)) {
                             case CompareChoice::ReplaceClient:
                                 replace(match);
                                 return dialog.accept();
                             case CompareChoice::WriteClient:
                                 openClient(frame, match.document, match.client);
                                 dialog.accept();
                                 return frame.command(cmd::WriteRadio);
                             case CompareChoice::Close:
                                 return;
                         }
                     });
    QObject::connect(buttons->addButton("Replace", QDialogButtonBox::ActionRole),
                     &QPushButton::clicked, &dialog, [&] {
                         replace(chosen());
                         dialog.accept();
                     });
    buttons->addButton(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    addHelpButton(buttons, "which-radio-is-this");
    layout->addWidget(buttons);
    dialog.resize(640, 300);
    dialog.exec();
}

void programRadiosInRow(DatabaseWindow& window, const std::vector<int>& clients) {
    RadioQueue queue(window.document(), clients);
    QDialog dialog(&window);
    dialog.setObjectName("radioQueue");
    dialog.setWindowTitle("Program selected radios");
    auto* layout = new QVBoxLayout(&dialog);
    auto* prompt = new QLabel(&dialog);
    prompt->setObjectName("prompt");
    layout->addWidget(prompt);
    QTableWidget* table =
        makeTable(&dialog, {"Client", "Serial", "Selcall", "Result", "Time", "Bytes"});
    table->setRowCount(int(queue.rows().size()));
    table->horizontalHeader()->setStretchLastSection(false);
    table->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);  // the result
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* start = buttons->addButton("Start", QDialogButtonBox::ActionRole);
    QPushButton* skip = buttons->addButton("Skip", QDialogButtonBox::ActionRole);
    QPushButton* stop = buttons->addButton("Stop", QDialogButtonBox::ActionRole);
    QPushButton* save = buttons->addButton("Save report\u2026", QDialogButtonBox::HelpRole);
    QPushButton* print = buttons->addButton("Print report\u2026", QDialogButtonBox::HelpRole);
    buttons->addButton(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    addHelpButton(buttons, "programming-radios-in-a-row");
    layout->addWidget(buttons);

    const auto show = [&] {
        for (std::size_t n = 0; n < queue.rows().size(); ++n) {
            const RadioQueue::Row& row = queue.rows()[n];
            QString result = queueResultText(row.result);
            if (row.result == RadioQueue::Result::Waiting) result.clear();
            if (!row.reason.empty()) result += ": " + fromAnsi(row.reason);
            setRow(table, int(n),
                   {fromAnsi(row.name), fromAnsi(row.serial), QString::fromStdString(row.selcall),
                    result, QString::fromStdString(row.time),
                    row.time.empty() ? QString() : QString::number(row.bytes)});
        }
        const bool failed =
            !queue.finished() &&
            queue.rows()[std::size_t(queue.current())].result == RadioQueue::Result::Failed;
        prompt->setText(queue.finished() ? QString::fromStdString(queueSummary(queue.rows()))
                                         : fromAnsi(queue.connectText()));
        start->setText(failed ? "Retry" : "Start");
        start->setEnabled(!queue.finished());
        skip->setEnabled(!queue.finished());
        stop->setEnabled(!queue.finished());
        if (!queue.finished()) table->selectRow(queue.current());
    };
    QObject::connect(start, &QPushButton::clicked, &dialog, [&] {
        RadioSetup setup = window.radioSetup();
        setup.owner = &dialog;
        const RadioReport& done = queue.programCurrent(setup);
        emit window.radioReported(fromAnsi(done.text));
        show();
    });
    QObject::connect(skip, &QPushButton::clicked, &dialog, [&] {
        queue.skip();
        show();
    });
    QObject::connect(stop, &QPushButton::clicked, &dialog, [&] {
        queue.stop();
        show();
    });
    QObject::connect(save, &QPushButton::clicked, &dialog, [&] {
        std::filesystem::path path;
        const MessageOwner owner = MessageOwner::of(&dialog);
        if (!askFileName(&dialog, path, FileDialogKind::ExportDatabase) ||
            !mayReplaceWithOutput(path, owner))
            return;
        if (replaceFile(path.string(), queueReportCsv(queue.rows())) != ReplaceResult::Written)
            showError(owner, formatMessage(msg::kComparisonNotWritten, path));
    });
    QObject::connect(print, &QPushButton::clicked, &dialog, [&] {
        QString text;
        for (int row = 0; row < table->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < table->columnCount(); ++column)
                cells << (table->item(row, column) ? table->item(row, column)->text() : QString());
            text += cells.join("  ") + "\n";
        }
        printPlainText(&dialog, QString::fromStdString(queueSummary(queue.rows())) + "\n\n" + text);
    });
    show();
    dialog.resize(760, 420);
    dialog.exec();
    queue.stop();
}

void showClientHistory(DatabaseWindow& window, int client) {
    const std::vector<BackupEntry> history = historyOf(window.document(), client);
    const std::string name = [&] {
        char text[kNameSize] = {};
        window.database().client(client)->getName(text, sizeof text);
        return std::string(text);
    }();
    if (history.empty())
        return showError(MessageOwner::of(&window),
                         formatMessage(msg::kNoHistory, std::string_view(name)));
    QDialog dialog(&window);
    dialog.setObjectName("history");
    dialog.setWindowTitle("History of '" + fromAnsi(name) + "'");
    auto* layout = new QVBoxLayout(&dialog);
    QTableWidget* table = makeTable(&dialog, {"Date", "Kind", "Client", "Serial", "File"});
    table->setRowCount(int(history.size()));
    for (std::size_t n = 0; n < history.size(); ++n) {
        const BackupEntry& entry = history[n];
        char date[32] = "";
        if (const std::tm* local = std::localtime(&entry.date))
            std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", local);
        setRow(table, int(n),
               {date, historyKindText(entry.kind), fromAnsi(entry.name), fromAnsi(entry.serial),
                QString::fromStdString(entry.file.filename().string())});
    }
    table->resizeColumnsToContents();
    table->selectRow(0);
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(&dialog);
    const auto chosen = [&] { return history[std::size_t(std::max(0, table->currentRow()))].file; };
    QObject::connect(buttons->addButton("Compare", QDialogButtonBox::ActionRole),
                     &QPushButton::clicked, &dialog, [&] {
                         const auto comparison =
                             compareWithBackup(window.document(), client, chosen());
                         if (!comparison)
                             return showError(MessageOwner::of(&dialog),
                                              formatMessage(msg::kBackupUnreadable, chosen()));
                         showLines(&dialog, "Compare with backup", comparison->lines());
                     });
    QObject::connect(buttons->addButton("Restore", QDialogButtonBox::ActionRole),
                     &QPushButton::clicked, &dialog, [&] {
                         if (!restoreBackup(window.document(), client, chosen()))
                             return showError(MessageOwner::of(&dialog),
                                              formatMessage(msg::kBackupUnreadable, chosen()));
                         window.postRefreshClientRow(client);
                         dialog.accept();
                     });
    buttons->addButton(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    addHelpButton(buttons, "a-radio-s-history");
    layout->addWidget(buttons);
    dialog.resize(820, 400);
    dialog.exec();
}

}  // namespace tarn
