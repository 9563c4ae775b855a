#include "model/user_feedback.h"

#include "model/services.h"

#include <cstdio>

namespace tarn {
namespace {

class StderrFeedback final : public UserFeedback {
  public:
    MessageAnswer showMessage(const MessageOwner&, std::string_view text, MessageIcon,
                              MessageButtons buttons) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
        // Nobody answers: a question is not consented to.
        switch (buttons) {
            case MessageButtons::Ok:
                return MessageAnswer::Ok;
            case MessageButtons::OkCancel:
                return MessageAnswer::Cancel;
            default:
                return MessageAnswer::No;
        }
    }
};

std::string replaceFirst(std::string_view pattern, std::string_view value) {
    std::string out(pattern);
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        if (out[i] == '%' && (out[i + 1] == 'd' || out[i + 1] == 'u' || out[i + 1] == 's')) {
            out.replace(i, 2, value);
            break;
        }
    }
    return out;
}

}  // namespace

UserFeedback& userFeedback() {
    static StderrFeedback fallback;
    UserFeedback* installed = services().feedback;
    return installed ? *installed : fallback;
}

void showError(const MessageOwner& owner, std::string_view text) {
    userFeedback().showMessage(owner, text, MessageIcon::Error, MessageButtons::Ok);
}

bool askYesNo(const MessageOwner& owner, std::string_view text) {
    return userFeedback().showMessage(owner, text, MessageIcon::Question, MessageButtons::YesNo) ==
           MessageAnswer::Yes;
}

std::string formatMessage(std::string_view pattern, long long number) {
    return replaceFirst(pattern, std::to_string(number));
}

std::string formatMessage(std::string_view pattern, std::string_view text) {
    return replaceFirst(pattern, text);
}

std::string formatMessage(std::string_view pattern, const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string utf8 = path.u8string();
    return replaceFirst(pattern, std::string(utf8.begin(), utf8.end()));
#else
    return replaceFirst(pattern, path.native());
#endif
}

}  // namespace tarn
