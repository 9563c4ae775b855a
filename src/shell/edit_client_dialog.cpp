#include "shell/edit_client_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <string>

#include "model/client_edit.h"
#include "model/client_record.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "qtcommon/ansi_text.h"
#include "settings/settings_store.h"
#include "shell/column_widths.h"
#include "shell/context_help.h"
#include "shell/font_dialog_units.h"
#include "shell/shell_services.h"

namespace tarn {

ClientDialog::ClientDialog(ClientRecord& client, QWidget* parent)
    : QDialog(parent), client_(client) {
    setWindowTitle(QStringLiteral("Edit client"));
    setHelpTopic(this, "edit-a-client-and-its-channels");
    buildControls();
    loadClient();
    postRefresh();
}

void ClientDialog::buildControls() {
    const FontDialogUnits du(font());
    setFixedSize(du.size(362, 226));

    // Created in tab order; the name field comes first.
    du.place(new QLabel(QStringLiteral("Client name"), this), 7, 7, 38, 8);
    name_ = new QLineEdit(this);
    name_->setGeometry(du.rect(7, 18, 126, 14));
    selcallLabel_ = new QLabel(QStringLiteral("Selcall"), this);
    du.place(selcallLabel_, 7, 39, 22, 8);
    selcall_ = new QLineEdit(this);
    selcall_->setGeometry(du.rect(7, 51, 50, 14));
    selcall_->setAlignment(Qt::AlignRight);
    selcall_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), selcall_));
    du.place(new QLabel(QStringLiteral("Serial number"), this), 65, 39, 44, 8);
    serial_ = new QLineEdit(this);
    serial_->setGeometry(du.rect(65, 51, 68, 14));
    program_ = new QCheckBox(QStringLiteral("Enable Prgm."), this);
    du.place(program_, 154, 19, 58, 10);
    modes_ = new QCheckBox(QStringLiteral("Enable Modes"), this);
    du.place(modes_, 154, 36, 61, 10);
    autoTune_ = new QCheckBox(QStringLiteral("Auto tune"), this);
    du.place(autoTune_, 154, 53, 47, 10);
    (new QGroupBox(QStringLiteral("Power"), this))->setGeometry(du.rect(236, 20, 50, 41));
    high_ = new QRadioButton(QStringLiteral("High"), this);
    du.place(high_, 244, 32, 31, 10);
    low_ = new QRadioButton(QStringLiteral("Low"), this);
    du.place(low_, 244, 46, 29, 10);
    powerNow_ = new QLabel(this);
    du.place(powerNow_, 236, 63, 50, 8);

    auto addButton = [&](int command, const char* text, QRect rect, void (ClientDialog::*slot)()) {
        auto* button = new QPushButton(QString::fromLatin1(text), this);
        button->setGeometry(rect);
        connect(button, &QPushButton::clicked, this, slot);
        buttons_.emplace_back(command, button);
        return button;
    };
    addButton(kOk, "OK", du.rect(305, 7, 50, 14), &ClientDialog::accept)->setDefault(true);
    addButton(kCancel, "Cancel", du.rect(305, 24, 50, 14), &ClientDialog::reject);
    addButton(kHelp, "Help", du.rect(305, 48, 50, 14), &ClientDialog::help);
    addButton(kNew, "New", du.rect(7, 90, 33, 14), &ClientDialog::newChannel);
    addButton(kEdit, "Edit", du.rect(7, 110, 33, 14), &ClientDialog::editChannel);
    addButton(kDelete, "Delete", du.rect(7, 130, 33, 14), &ClientDialog::deleteChannels);
    addButton(kCopy, "Copy", du.rect(7, 172, 33, 14), &ClientDialog::copyChannels);
    addButton(kPaste, "Paste", du.rect(7, 193, 33, 14), &ClientDialog::pasteChannels);

    channels_ = new ChannelTableModel(client_, this);
    rows_ = new ChannelSortProxy(channels_);
    list_ = new QTableView(this);
    list_->setModel(rows_);
    list_->setGeometry(du.rect(51, 77, 304, 142));
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setTabKeyNavigation(false);
    list_->setWordWrap(false);
    list_->setShowGrid(true);
    QHeaderView* header = list_->horizontalHeader();
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    // The selection stays visible when the list does not have the focus.
    QPalette palette = list_->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    list_->setPalette(palette);

    const std::vector<int> widths =
        initialColumnWidths(*list_, kRadioColumnsValue,
                            {"000", longestLabel(), "USB", "30000.0", "30000.0", "yes", "yes"});
    for (int column = 0; column < ColumnCount; ++column)
        list_->setColumnWidth(column, widths[static_cast<std::size_t>(column)]);

    connect(header, &QHeaderView::sectionClicked, this, &ClientDialog::sortBy);
    connect(high_, &QRadioButton::clicked, this, [this] { powerClicked_ = true; });
    connect(low_, &QRadioButton::clicked, this, [this] { powerClicked_ = true; });
    list_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
}

void ClientDialog::loadClient() {
    char text[kNameSize + 1] = {};
    if (client_.getName(text, sizeof text) > 0) name_->setText(fromAnsi(text));
    name_->setMaxLength(kNameLength);
    if (client_.getOption(ClientOption::Advanced)) {
        client_.getSelcall(text, sizeof text);
        selcall_->setText(QString::fromLatin1(text));
        selcall_->setMaxLength(kSelcallDigits);
    } else {
        // A standard client's selcall cannot be changed here.
        selcall_->setText(QStringLiteral("N/A"));
        selcall_->setEnabled(false);
        selcallLabel_->setEnabled(false);
    }
    // A serial of other origin may fill all 16 bytes; the field then shows it whole.
    char serial[kSerialSize + 1] = {};
    if (client_.getSerial(serial, sizeof serial) > 0) serial_->setText(fromAnsi(serial));
    if (serial_->text().size() <= kSerialLength) serial_->setMaxLength(kSerialLength);
    program_->setChecked(client_.getOption(ClientOption::FrontPanelProgramming) != 0);
    modes_->setChecked(client_.getOption(ClientOption::ModeToggle) != 0);
    autoTune_->setChecked(client_.getOption(ClientOption::AutoTune) != 0);
    // Mid1 and Mid2 check neither button and are named beside them.
    const int power = client_.getOption(ClientOption::PowerLevel);
    if (power == PowerLevel::High || power == PowerLevel::Low)
        (power == PowerLevel::High ? high_ : low_)->setChecked(true);
    else
        powerNow_->setText(power == PowerLevel::Mid1 ? "Now: Mid1" : "Now: Mid2");
    name_->setFocus();
}

QPushButton* ClientDialog::button(int command) const {
    for (const auto& [id, button] : buttons_)
        if (id == command) return button;
    return nullptr;
}

std::vector<int> ClientDialog::rowChannels() const {
    std::vector<int> channels;
    for (int row = 0; row < rows_->rowCount(); ++row) channels.push_back(rows_->channelOfRow(row));
    return channels;
}

std::vector<int> ClientDialog::selectedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < rows_->rowCount(); ++row)
        if (list_->selectionModel()->isRowSelected(row, QModelIndex())) rows.push_back(row);
    return rows;
}

void ClientDialog::postRefresh() {
    QMetaObject::invokeMethod(this, &ClientDialog::refresh, Qt::QueuedConnection);
}

// Always back to channel order: a sort chosen earlier is not kept.
void ClientDialog::refresh() {
    rows_->sort(-1);
    channels_->reload();
}

// Rising every time; the selection and the focus mark stay on their channels.
void ClientDialog::sortBy(int column) {
    rows_->sort(column, Qt::AscendingOrder);
    const std::vector<int> chosen = selectedRows();
    if (!chosen.empty())
        list_->scrollTo(rows_->index(chosen.front(), 0), QAbstractItemView::EnsureVisible);
}

void ClientDialog::newChannel() {
    const int n = client_.addChannel();
    if (n < 0) return showError(MessageOwner::of(handle()), msg::kNoFreeChannel);
    if (client_.editChannel(n, handle()))
        postRefresh();
    else
        client_.deleteChannel(n);
}

void ClientDialog::editChannel() {
    const QModelIndex current = list_->currentIndex();
    if (!current.isValid()) return;
    const int row = current.row();
    const int n = rows_->channelOfRow(row);
    if (!client_.editChannel(n, handle())) return;
    postRefresh();
    QMetaObject::invokeMethod(
        this,
        [this, row] {
            if (row < rows_->rowCount()) list_->scrollTo(rows_->index(row, 0));
        },
        Qt::QueuedConnection);
}

void ClientDialog::deleteChannels() {
    const std::vector<int> rows = selectedRows();
    const int count = static_cast<int>(rows.size());
    if (count == 0) return;
    if (count > 1 &&
        !askYesNo(MessageOwner::of(handle()), formatMessage(msg::kDeleteChannels, count)))
        return;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        const int n = rows_->channelOfRow(*row);
        client_.deleteChannel(n);
        channels_->removeChannel(n);
    }
}

void ClientDialog::copyChannels() {
    if (rows_->rowCount() == 0) return;
    std::vector<std::uint8_t> numbers;  // in display order
    for (int row : selectedRows())
        if (numbers.size() < kChannelCount)
            numbers.push_back(static_cast<std::uint8_t>(rows_->channelOfRow(row)));
    client_.copyChannels(handle(), numbers.data(), static_cast<std::uint16_t>(numbers.size()));
}

void ClientDialog::pasteChannels() {
    if (client_.pasteChannels(handle())) postRefresh();
}

void ClientDialog::help() {
    if (auto command = shellServices().help)
        QMetaObject::invokeMethod(qApp, command, Qt::QueuedConnection);
}

// Ctrl+C and Ctrl+V in the list copy and paste channels (C or V alone does nothing
// special); a double click edits the focused channel. Both are posted.
bool ClientDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool control = key->modifiers().testFlag(Qt::ControlModifier);
        // Ctrl+C, Ctrl+V, Enter (edit the focused channel, not OK) and Delete on the list.
        void (ClientDialog::*action)() = nullptr;
        if (control && key->key() == Qt::Key_C)
            action = &ClientDialog::copyChannels;
        else if (control && key->key() == Qt::Key_V)
            action = &ClientDialog::pasteChannels;
        else if (!control && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
            action = &ClientDialog::editChannel;
        else if (!control && key->key() == Qt::Key_Delete)
            action = &ClientDialog::deleteChannels;
        if (action) {
            event->accept();  // for the override: the list takes the key, no shortcut does
            if (event->type() == QEvent::KeyPress)
                QMetaObject::invokeMethod(this, action, Qt::QueuedConnection);
            return true;
        }
    }
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonDblClick)
        QMetaObject::invokeMethod(this, &ClientDialog::editChannel, Qt::QueuedConnection);
    return QDialog::eventFilter(watched, event);
}

// Stores the fields in order. A refused value is dropped (a selcall that is not four
// digits is told, and OK goes on); a field the user did not edit is not stored at all, and
// the power level only when a power button was clicked, so OK never changes what the user
// left alone (Mid1 and Mid2 survive). A character the records cannot hold is named and the
// dialog stays open.
void ClientDialog::accept() {
    std::optional<std::string> texts[3];
    const std::pair<QLineEdit*, const char*> fields[] = {
        {name_, "name"}, {selcall_, "selcall"}, {serial_, "serial"}};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        auto [field, what] = fields[i];
        if (!field->isModified()) continue;
        texts[i] = typedAnsi(field->text(), what, handle());
        if (!texts[i]) return field->setFocus();
    }
    ClientEdits edits{texts[0],
                      texts[1],
                      texts[2],
                      program_->isChecked(),
                      modes_->isChecked(),
                      autoTune_->isChecked(),
                      std::nullopt};
    if (powerClicked_) edits.high = high_->isChecked();
    if (applyClientEdits(client_, edits).selcall)
        userFeedback().showMessage(
            MessageOwner::of(handle()),
            formatMessage(msg::kSelcallNotStored, std::string_view(selcall_->text().toStdString())),
            MessageIcon::Warning, MessageButtons::Ok);

    std::vector<int> widths;
    for (int column = 0; column < ColumnCount; ++column)
        widths.push_back(list_->columnWidth(column));
    settings().writeColumnWidths(kRadioColumnsValue, widths);
    QDialog::accept();
}

int runClientDialog(ClientRecord& client, WindowHandle parent) {
    ClientDialog dialog(client, static_cast<QWidget*>(parent));
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace tarn
