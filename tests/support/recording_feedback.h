#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "model/user_feedback.h"

namespace tarn::test {

// A UserFeedback that records every message box in order and answers questions from a
// script. It installs itself for its lifetime. Unscripted questions get the affirmative
// answer (Ok / Yes), like the default stderr feedback.
class RecordingFeedback final : public UserFeedback {
  public:
    struct Message {
        MessageOwner::Kind owner;
        WindowHandle window;
        std::string text;
        MessageIcon icon;
        MessageButtons buttons;
        MessageAnswer answer;
        bool defaultNo;
    };

    RecordingFeedback() { setUserFeedback(this); }
    ~RecordingFeedback() override { setUserFeedback(nullptr); }
    RecordingFeedback(const RecordingFeedback&) = delete;
    RecordingFeedback& operator=(const RecordingFeedback&) = delete;

    // Answers for the next questions (Yes/No or Ok/Cancel boxes), in order.
    void script(std::initializer_list<MessageAnswer> answers) {
        answers_.insert(answers_.end(), answers);
    }

    MessageAnswer showMessage(const MessageOwner& owner, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override {
        MessageAnswer answer =
            buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
        if (buttons != MessageButtons::Ok && !answers_.empty()) {
            answer = answers_.front();
            answers_.pop_front();
        }
        messages_.push_back(
            {owner.kind, owner.window, std::string(text), icon, buttons, answer, owner.defaultNo});
        if (whileShown) whileShown();
        return answer;
    }

    // Runs while each box is up (after it is recorded), as the user takes their time.
    std::function<void()> whileShown;

    const std::vector<Message>& messages() const { return messages_; }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages_) out.push_back(m.text);
        return out;
    }
    bool empty() const { return messages_.empty(); }
    void clear() { messages_.clear(); }
    std::size_t unusedAnswers() const { return answers_.size(); }

  private:
    std::vector<Message> messages_;
    std::deque<MessageAnswer> answers_;
};

}  // namespace tarn::test
