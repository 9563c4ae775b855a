#pragma once

#include "model/user_feedback.h"

namespace tarn::cli {

// Message boxes on a terminal: every message is one entry on stderr with its exact text.
// A question waits for a line on stdin: Enter alone gives the affirmative answer
// (Ok / Yes), anything else or the end of input the other one. With "assume yes" (the
// --yes option) questions are answered affirmatively without waiting.
class CliFeedback final : public UserFeedback {
  public:
    MessageAnswer showMessage(const MessageOwner& owner, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    void setAssumeYes(bool assumeYes) { assumeYes_ = assumeYes; }

  private:
    bool assumeYes_ = false;
};

// The tool's instance, installed by main.
CliFeedback& cliFeedback();

}  // namespace tarn::cli
