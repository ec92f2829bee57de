#pragma once
// Message boxes that record what they would have shown; AskYesNo answers
// with a preset reply.
#include "platform/MessageBoxes.h"

#include <string>
#include <vector>

namespace corvane::fakes {

struct ShownMessage {
    std::string kind; // "Information", "Warning", "Error" or "Confirm"
    std::string text;
    bool operator==(const ShownMessage&) const = default;
};

class RecordingMessageBoxes : public IMessageBoxes {
public:
    void Info(const std::string& text) override { shown.push_back({"Information", text}); }
    void Warning(const std::string& text) override { shown.push_back({"Warning", text}); }
    void Error(const std::string& text) override { shown.push_back({"Error", text}); }
    bool AskYesNo(const std::string& text) override
    {
        shown.push_back({"Confirm", text});
        return answerYes;
    }

    std::vector<std::string> ErrorTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : shown)
            if (message.kind == "Error")
                texts.push_back(message.text);
        return texts;
    }

    std::vector<ShownMessage> shown;
    bool answerYes = true;
};

} // namespace corvane::fakes
