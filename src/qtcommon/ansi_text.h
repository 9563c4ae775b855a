#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "model/window_handle.h"

namespace tarn {

// The records' 8-bit texts on screen and back, through the one codec of the core
// (model/text_codec.h).
QString fromAnsi(std::string_view bytes);
// Typed text in the records' form; nothing when a character has no 8-bit form, and then
// `refused` (when given) is that character.
std::optional<std::string> toAnsi(const QString& text, QString* refused = nullptr);
// The same for what was typed into the field named `field` ("name"): a character without
// an 8-bit form is refused with a message naming it ('The name cannot hold the character
// "Ł".'), owned by `owner`; the caller keeps the dialog open.
std::optional<std::string> typedAnsi(const QString& text, std::string_view field,
                                     WindowHandle owner);

}  // namespace tarn
