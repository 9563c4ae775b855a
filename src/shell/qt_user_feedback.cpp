#include "shell/qt_user_feedback.h"

#include <QMessageBox>

#include "shell/context_help.h"
#include "shell/message_box_title.h"
#include "shell/shell_services.h"

namespace tarn {

QWidget* ownerWidget(const MessageOwner& owner) {
    switch (owner.kind) {
        case MessageOwner::Kind::Frame:
            return shellServices().frame;
        case MessageOwner::Kind::Window:
            return static_cast<QWidget*>(owner.window);
        case MessageOwner::Kind::None:
            break;
    }
    return nullptr;
}

MessageAnswer QtUserFeedback::showMessage(const MessageOwner& owner, std::string_view text,
                                          MessageIcon icon, MessageButtons buttons) {
    QMessageBox::Icon boxIcon = QMessageBox::Critical;
    if (icon == MessageIcon::Warning) boxIcon = QMessageBox::Warning;
    if (icon == MessageIcon::Question) boxIcon = QMessageBox::Question;
    if (icon == MessageIcon::Information) boxIcon = QMessageBox::Information;

    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    QMessageBox::StandardButton preferred = QMessageBox::Ok;
    if (buttons == MessageButtons::YesNo) {
        standard = QMessageBox::Yes | QMessageBox::No;
        preferred = owner.defaultNo ? QMessageBox::No : QMessageBox::Yes;
    } else if (buttons == MessageButtons::YesNoAll) {
        standard =
            QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::NoToAll;
        preferred = owner.defaultNo ? QMessageBox::No : QMessageBox::Yes;
    } else if (buttons == MessageButtons::OkCancel) {
        standard = QMessageBox::Ok | QMessageBox::Cancel;
    }
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QMessageBox box(boxIcon, kMessageTitle, shown, standard, ownerWidget(owner));
    addMessageHelp(box);
    box.setDefaultButton(preferred);
    makeRoomForTitle(box);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::YesToAll:
            return MessageAnswer::YesToAll;
        case QMessageBox::NoToAll:
            return MessageAnswer::NoToAll;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        default:
            return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel
                       ? MessageAnswer::Ok
                       : MessageAnswer::No;
    }
}

}  // namespace tarn
