#pragma once
// The program's message boxes as MessageBoxA, owned by the main window.
#include "platform/MessageBoxes.h"

#include <windows.h>

namespace corvane::win32 {

class Win32MessageBoxes : public IMessageBoxes {
public:
    explicit Win32MessageBoxes(HWND owner = nullptr) : owner_(owner) { }
    void SetOwner(HWND owner) { owner_ = owner; }
    HWND Owner() const { return owner_; }

    void Info(const std::string& text) override;
    void Warning(const std::string& text) override;
    void Error(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;

private:
    HWND owner_;
};

// While it lives, the installed message boxes belong to `owner`, a dialog that
// is to stay below them and wait for them.
class MessageBoxOwnerScope {
public:
    explicit MessageBoxOwnerScope(HWND owner);
    ~MessageBoxOwnerScope();
    MessageBoxOwnerScope(const MessageBoxOwnerScope&) = delete;
    MessageBoxOwnerScope& operator=(const MessageBoxOwnerScope&) = delete;

private:
    Win32MessageBoxes* boxes_;
    HWND previous_ = nullptr;
};

} // namespace corvane::win32
