#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "model/window_handle.h"

namespace tarn {

// Every message box of the system is titled "Tarn DataBase".
inline constexpr const char* kMessageTitle = "Tarn DataBase";

enum class MessageIcon { Error, Warning, Question, Information };
// YesNoAll adds "Yes to All" and "No to All" to a question asked once per item.
enum class MessageButtons { Ok, YesNo, OkCancel, YesNoAll };
enum class MessageAnswer { Ok, Cancel, Yes, No, YesToAll, NoToAll };

// Who owns a message box: nobody, the main frame window, or a given window.
struct MessageOwner {
    enum class Kind { None, Frame, Window };
    Kind kind = Kind::None;
    WindowHandle window = nullptr;
    // For Yes/No questions that must not be confirmed by a stray Enter: No is the default.
    bool defaultNo = false;

    static MessageOwner none() { return {}; }
    static MessageOwner frame() { return {Kind::Frame, nullptr, false}; }
    static MessageOwner of(WindowHandle w) { return {Kind::Window, w, false}; }
};

// The user-feedback seam: the core reports its failures and asks its questions here.
// The shell shows message boxes; tests record; the command-line tool prints to stderr.
// Message texts are UTF-8 (the fixed texts are plain ASCII); they never carry the 8-bit
// texts of the database.
class UserFeedback {
  public:
    virtual ~UserFeedback() = default;
    virtual MessageAnswer showMessage(const MessageOwner& owner, std::string_view text,
                                      MessageIcon icon, MessageButtons buttons) = 0;
};

// The installed one (Services::feedback). Never null: without one, messages go to
// stderr and questions get the negative answer (Cancel / No).
UserFeedback& userFeedback();

// Shorthands for the common kinds of box.
void showError(const MessageOwner& owner, std::string_view text);
bool askYesNo(const MessageOwner& owner, std::string_view text);  // true on Yes

// Replaces the first %d / %u / %s in a message template, as the system's texts use them.
// A path goes in as the platform names files (its bytes where file names are UTF-8 by
// convention); a std::string must say which of the two it is.
std::string formatMessage(std::string_view pattern, long long number);
std::string formatMessage(std::string_view pattern, std::string_view text);
std::string formatMessage(std::string_view pattern, const std::filesystem::path& path);

}  // namespace tarn
