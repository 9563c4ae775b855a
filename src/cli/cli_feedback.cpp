#include "cli/cli_feedback.h"

#include <cstdio>
#include <iostream>
#include <string>

#include "cli/cli_support.h"
#include "model/message_texts.h"

namespace tarn::cli {

MessageAnswer CliFeedback::showMessage(const MessageOwner&, std::string_view text, MessageIcon,
                                       MessageButtons buttons) {
    // A message may name a path or a text from a file: shown escaped, never raw.
    std::fprintf(stderr, "%s\n", terminalText(text, true).c_str());
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
