#include "shell/radio_log_window.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "database/output_guard.h"
#include "database/replace_file.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "radio/radio_log.h"
#include "shell/context_help.h"
#include "shell/file_name_dialog.h"
#include "shell/shell_services.h"

namespace tarn {
RadioLogWindow::RadioLogWindow(QWidget* parent)
    : QDialog(parent), log_(shellServices().radioLog), text_(new QPlainTextEdit(this)) {
    setWindowTitle("Radio log");
    setHelpTopic(this, "the-radio-log");
    setModal(false);
    text_->setReadOnly(true);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* save = new QPushButton("Save as\u2026", this);
    auto* close = new QPushButton("Close", this);
    connect(save, &QPushButton::clicked, this, &RadioLogWindow::saveAs);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);
    resize(880, 440);
    if (log_) log_->setFinishedHook([this] { refresh(); });
}

RadioLogWindow::~RadioLogWindow() {
    if (log_) log_->setFinishedHook({});
}

void RadioLogWindow::refresh() {
    const std::string text = log_ ? log_->toText() : std::string();
    text_->setPlainText(text.empty() ? msg::kNoRadioExchanges : QString::fromStdString(text));
    text_->moveCursor(QTextCursor::End);  // the newest exchange is at the end
    text_->ensureCursorVisible();
}

void RadioLogWindow::saveAs() {
    // The save dialog asks before it replaces a file (No is its default).
    std::filesystem::path path;
    if (!askFileName(this, path, FileDialogKind::SaveRadioLog)) return;
    if (!mayReplaceWithOutput(path, MessageOwner::of(this))) return;
    if (replaceFile(path.string(), log_ ? log_->toText() : std::string()) != ReplaceResult::Written)
        showError(MessageOwner::of(this), formatMessage(msg::kRadioLogNotWritten, path));
}

void RadioLogWindow::showEvent(QShowEvent* event) {
    refresh();
    QDialog::showEvent(event);
}

}  // namespace tarn
