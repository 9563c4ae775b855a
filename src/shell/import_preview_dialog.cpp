#include "shell/import_preview_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "database/csv_import.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "qtcommon/ansi_text.h"

namespace tarn {
namespace {

constexpr std::size_t kListedClients = 100;

QString text(std::string_view pattern, long long first, long long second) {
    return QString::fromStdString(formatMessage(formatMessage(pattern, first), second));
}

QTreeWidget* clientList(const CsvImport& read, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName("clients");
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setHeaderLabels({"Line", "Client", "Serial", "Channels"});
    char field[kNameSize + 1] = {};
    for (std::size_t i = 0; i < read.clients.size() && i < kListedClients; ++i) {
        const CsvClient& client = read.clients[i];
        QStringList row{QString::number(client.line)};
        client.record.getName(field, sizeof field);
        row << fromAnsi(field);
        field[0] = '\0';
        client.record.getSerial(field, sizeof field);
        int channels = 0;
        for (int n = 1; n <= kChannelCount; ++n) channels += !client.record.isChannelFree(n);
        row << fromAnsi(field) << QString::number(channels);
        list->addTopLevelItem(new QTreeWidgetItem(row));
    }
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return list;
}

}  // namespace

ImportChoice askImportPreview(QWidget* parent, const CsvImport& read) {
    QDialog dialog(parent);
    dialog.setWindowTitle("Import CSV file");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(
        read.readable > 0 ? text(msg::kImportTotals, read.readable, read.readableChannels)
                          : QString(msg::kImportNothingReadable),
        &dialog));
    if (read.readable > 0) layout->addWidget(clientList(read, &dialog));
    if (read.errorCount > 0) {
        layout->addWidget(new QLabel(
            QString::fromStdString(formatMessage(msg::kUnreadableLines, read.errorCount)),
            &dialog));
        auto* problems = new QListWidget(&dialog);
        problems->setObjectName("problems");
        problems->setSelectionMode(QAbstractItemView::NoSelection);
        for (const std::string& line : lineErrorTexts(read))
            problems->addItem(QString::fromStdString(line));
        layout->addWidget(problems);
    }

    auto* buttons = new QDialogButtonBox(&dialog);
    ImportChoice choice = ImportChoice::Cancel;
    const auto add = [&](const char* label, ImportChoice meaning, bool offered) {
        QPushButton* button = buttons->addButton(label, QDialogButtonBox::ActionRole);
        button->setEnabled(offered);
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &choice, meaning] {
            choice = meaning;
            dialog.accept();
        });
        return button;
    };
    const bool clean = read.errorCount == 0;
    add("Import", ImportChoice::Import, read.readable > 0 && clean)->setDefault(clean);
    add("Import the readable", ImportChoice::ImportReadable, read.readable > 0 && !clean);
    // A damaged file is imported only on purpose: Enter cancels.
    add("Cancel", ImportChoice::Cancel, true)->setDefault(!clean || read.readable == 0);
    layout->addWidget(buttons);
    dialog.resize(560, 420);
    dialog.exec();
    return choice;
}

}  // namespace tarn
