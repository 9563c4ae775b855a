#include "qtcommon/ansi_text.h"

#include "model/message_texts.h"
#include "model/text_codec.h"
#include "model/user_feedback.h"

namespace tarn {

QString fromAnsi(std::string_view bytes) {
    return QString::fromStdString(ansiToUtf8(bytes));
}

std::optional<std::string> toAnsi(const QString& text, QString* refused) {
    std::string character;
    auto bytes = utf8ToAnsi(text.toStdString(), &character);
    if (!bytes && refused) *refused = QString::fromStdString(character);
    return bytes;
}

std::optional<std::string> typedAnsi(const QString& text, std::string_view field,
                                     WindowHandle owner) {
    QString refused;
    auto bytes = toAnsi(text, &refused);
    if (!bytes) {
        const std::string named = formatMessage(msg::kCannotHoldCharacter, field);
        showError(MessageOwner::of(owner),
                  formatMessage(named, std::string_view(refused.toStdString())));
    }
    return bytes;
}

}  // namespace tarn
