#include "shell/dealer_text_dialog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cstring>
#include <string>

#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "qtcommon/ansi_text.h"
#include "shell/context_help.h"
#include "shell/font_dialog_units.h"

namespace tarn {

DealerTextDialog::DealerTextDialog(const std::array<char, 100>& text, QWidget* parent)
    : QDialog(parent), textBox_(new QPlainTextEdit(this)), count_(new QLabel(this)) {
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
    connect(ok, &QPushButton::clicked, this, &DealerTextDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Under the buttons: how much of the limit the text takes (a line break counts two).
    count_->setGeometry(du.x(300), du.y(45), du.x(50), du.y(24));
    count_->setWordWrap(true);
    count_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(textBox_, &QPlainTextEdit::textChanged, this, &DealerTextDialog::showCount);
    showCount();
    textBox_->setFocus();
}

QString DealerTextDialog::typed() const {
    return textBox_->toPlainText().replace("\n", "\r\n");
}

void DealerTextDialog::accept() {
    if (!typedAnsi(typed(), "dealer text", static_cast<QWidget*>(this))) return;
    QDialog::accept();
}

void DealerTextDialog::showCount() {
    // One character is one byte of the field (a character it cannot hold is refused at OK).
    const auto length = static_cast<int>(typed().size());
    count_->setText(QString("%1 of %2 characters").arg(length).arg(kLimit));
    // Red past the limit: OK will cut the end.
    count_->setStyleSheet(length > kLimit ? "color: #c00000;" : "");
}

int DealerTextDialog::storeText(std::array<char, 100>& text) const {
    std::string bytes = toAnsi(typed()).value_or(std::string());
    const std::size_t length = bytes.size();
    if (length > std::size_t{kLimit}) {
        bytes.resize(kLimit);
        if (bytes.back() == '\r') bytes.pop_back();  // never half a line break
    }
    std::memcpy(text.data(), bytes.data(), bytes.size());
    text[bytes.size()] = '\0';
    return static_cast<int>(length - bytes.size());
}

int runDealerTextDialog(std::array<char, 100>& text, void* parent) {
    DealerTextDialog dialog(text, static_cast<QWidget*>(parent));
    if (dialog.exec() != QDialog::Accepted) return 0;
    if (const int cut = dialog.storeText(text))
        userFeedback().showMessage(MessageOwner::of(parent),
                                   formatMessage(msg::kDealerTextCut, cut), MessageIcon::Warning,
                                   MessageButtons::Ok);
    return 1;
}

}  // namespace tarn
