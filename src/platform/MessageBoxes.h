#pragma once
// Modal message boxes titled "Information", "Warning", "Error" and "Confirm".
// The program has one; the engine is handed it, the library, the editing and
// the hooks reach it through ShowInfo, ShowWarning and ShowError.
#include <string>

namespace corvane {

class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    virtual void Info(const std::string& text) = 0;
    virtual void Warning(const std::string& text) = 0;
    virtual void Error(const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& text) = 0; // true for Yes
};

} // namespace corvane
