#include "shell/compare_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "database/client_compare.h"
#include "qtcommon/ansi_text.h"
#include "shell/context_help.h"

namespace tarn {

CompareChoice askAfterComparison(QWidget* parent, const ImageComparison& comparison) {
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
