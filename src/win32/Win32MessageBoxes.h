#pragma once
// The program's message boxes as MessageBoxA, owned by the main window.
#include "platform/MessageBoxes.h"

#include <windows.h>

namespace corvane::win32 {

class Win32MessageBoxes : public IMessageBoxes {
public:
    explicit Win32MessageBoxes(HWND owner = nullptr) : owner_(owner) { }
    void SetOwner(HWND owner) { owner_ = owner; }

    void Info(const std::string& text) override;
    void Warning(const std::string& text) override;
    void Error(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;

private:
    HWND owner_;
};

} // namespace corvane::win32
