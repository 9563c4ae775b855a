#include "shell/compare_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "database/client_compare.h"
#include "database/output_guard.h"
#include "database/replace_file.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "qtcommon/ansi_text.h"
#include "qtcommon/file_path.h"
#include "shell/context_help.h"
#include "shell/file_name_dialog.h"

namespace tarn {
namespace {

std::string field(const ClientRecord& client, int (ClientRecord::*get)(char*, int) const) {
    char text[kNameSize + 1] = {};
    (client.*get)(text, sizeof text);
    return text;
}

// The comparison as the dealer reads it, to keep with the customer's papers.
QString wholeText(const ImageComparison& comparison, const ClientRecord& client) {
    return fromAnsi(comparisonText(comparison, field(client, &ClientRecord::getName),
                                   field(client, &ClientRecord::getSerial)));
}

void saveText(QWidget* parent, const QString& text) {
    std::filesystem::path path;
    const MessageOwner owner = MessageOwner::of(parent);
    if (!askFileName(parent, path, FileDialogKind::SaveComparison) ||
        !mayReplaceWithOutput(path, owner))
        return;
    if (replaceFile(path.string(), text.toStdString()) != ReplaceResult::Written)
        showError(owner, formatMessage(msg::kComparisonNotWritten, path));
}

}  // namespace

void printPlainText(QWidget* parent, const QString& text) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!printer.outputFileName().isEmpty() &&
        !mayReplaceWithOutput(pathFromQt(printer.outputFileName()), MessageOwner::of(parent)))
        return;
    QTextDocument document;
    document.setPlainText(text);
    document.print(&printer);
}

CompareChoice askAfterComparison(QWidget* parent, const ImageComparison& comparison,
                                 const ClientRecord& client) {
    QDialog dialog(parent);
    dialog.setWindowTitle("Compare with radio");
    auto* layout = new QVBoxLayout(&dialog);
    if (!comparison.identical()) layout->addWidget(new QLabel(kDifferencesHeading, &dialog));
    auto* list = new QListWidget(&dialog);
    list->setObjectName("differences");
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    int widest = 0;
    for (const std::string& line : comparison.lines()) {
        list->addItem(fromAnsi(line));
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(fromAnsi(line)));
    }
    layout->addWidget(list);

    auto* buttons = new QDialogButtonBox(&dialog);
    CompareChoice choice = CompareChoice::Close;
    const auto add = [&](const char* text, CompareChoice meaning) {
        QPushButton* button = buttons->addButton(text, QDialogButtonBox::ActionRole);
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &choice, meaning] {
            choice = meaning;
            dialog.accept();
        });
        return button;
    };
    const QString text = wholeText(comparison, client);
    QObject::connect(buttons->addButton("Save as text\u2026", QDialogButtonBox::HelpRole),
                     &QPushButton::clicked, &dialog, [&dialog, text] { saveText(&dialog, text); });
    QObject::connect(buttons->addButton("Print\u2026", QDialogButtonBox::HelpRole),
                     &QPushButton::clicked, &dialog,
                     [&dialog, text] { printPlainText(&dialog, text); });
    add("Replace client", CompareChoice::ReplaceClient);
    add("Write client to radio", CompareChoice::WriteClient);
    // Closing is the default: Enter after a glance changes neither the client nor the radio.
    add("Close", CompareChoice::Close)->setDefault(true);
    addHelpButton(buttons, "compare-with-the-radio");
    layout->addWidget(buttons);
    // Wide enough for the longest line where the screen allows; the rest scrolls.
    list->setMinimumWidth(std::clamp(widest + 2 * list->frameWidth() + 16, 480, 960));
    dialog.resize(dialog.sizeHint().width(), 360);
    dialog.exec();
    return choice;
}

}  // namespace tarn
