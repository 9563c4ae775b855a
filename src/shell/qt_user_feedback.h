#pragma once

#include "model/user_feedback.h"

class QWidget;

namespace tarn {

// Message boxes titled "Tarn DataBase", owned by nobody, the frame or the given window.
class QtUserFeedback final : public UserFeedback {
  public:
    MessageAnswer showMessage(const MessageOwner& owner, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
};

// The window a message owner stands for (a WindowHandle is a QWidget*).
QWidget* ownerWidget(const MessageOwner& owner);

}  // namespace tarn
