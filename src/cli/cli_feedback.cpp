#include "cli/cli_feedback.h"

#include <cstdio>
#include <iostream>
#include <string>

#include "model/message_texts.h"

namespace tarn::cli {

MessageAnswer CliFeedback::showMessage(const MessageOwner&, std::string_view text, MessageIcon,
                                       MessageButtons buttons) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    const MessageAnswer yes =
        buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    const MessageAnswer no =
        buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    if (assumeYes_) return yes;
    std::fputs(msg::kCliConfirm, stderr);
    std::fflush(stderr);
    std::string line;
    if (!std::getline(std::cin, line)) return no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line.empty() ? yes : no;
}

CliFeedback& cliFeedback() {
    static CliFeedback feedback;
    return feedback;
}

}  // namespace tarn::cli
