#include "shell/dealer_text_dialog.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cstring>
#include <string>

#include "qtcommon/ansi_text.h"
#include "shell/context_help.h"
#include "shell/font_dialog_units.h"

namespace tarn {

DealerTextDialog::DealerTextDialog(const std::array<char, 100>& text, QWidget* parent)
    : QDialog(parent), textBox_(new QPlainTextEdit(this)) {
    setWindowTitle("Edit dealer text");
    setHelpTopic(this, "the-dealer-text");
    const FontDialogUnits du(font());
    setFixedSize(du.size(357, 130));
    textBox_->setGeometry(du.x(7), du.y(7), du.x(281), du.y(116));
    textBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
    textBox_->setTabChangesFocus(true);
    const std::size_t length = std::find(text.begin(), text.end(), '\0') - text.begin();
    QString shown = fromAnsi(std::string_view(text.data(), length));
    shown.replace("\r\n", "\n");
    textBox_->setPlainText(shown);

    auto* ok = new QPushButton("OK", this);
    ok->setGeometry(du.x(300), du.y(7), du.x(50), du.y(14));
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setGeometry(du.x(300), du.y(24), du.x(50), du.y(14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    textBox_->setFocus();
}

void DealerTextDialog::storeText(std::array<char, 100>& text) const {
    QString typed = textBox_->toPlainText();
    typed.replace("\n", "\r\n");
    std::string bytes = toAnsi(typed);
    bytes.resize(std::min<std::size_t>(bytes.size(), text.size() - 1));
    std::memcpy(text.data(), bytes.data(), bytes.size());
    text[bytes.size()] = '\0';
}

int runDealerTextDialog(std::array<char, 100>& text, void* parent) {
    DealerTextDialog dialog(text, static_cast<QWidget*>(parent));
    if (dialog.exec() != QDialog::Accepted) return 0;
    dialog.storeText(text);
    return 1;
}

}  // namespace tarn
