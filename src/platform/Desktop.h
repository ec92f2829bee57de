#pragma once
// What the expansion engine asks of the desktop: the physical key state,
// the windows of other programs and synthesised keystrokes.
#include <cstdint>
#include <string>

namespace corvane {

// A window handle as a number; 0 is no window.
using WindowId = std::uintptr_t;

// Hook notifications carry window handles as 32-bit values; handles are
// sign-extended back, as the system does when it narrows them.
inline WindowId WindowFromNotice(std::uint32_t value)
{
    return static_cast<WindowId>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}

class IDesktop {
public:
    virtual ~IDesktop() = default;
    // True while the key is physically down.
    [[nodiscard]] virtual bool KeyDown(int virtualKey) const = 0;
    [[nodiscard]] virtual WindowId ForegroundWindow() const = 0;
    [[nodiscard]] virtual bool IsWindow(WindowId window) const = 0;
    // The file of the program the window belongs to (a full path or a bare
    // file name); empty for this program's own windows and when unknown.
    [[nodiscard]] virtual std::string ProgramFileOf(WindowId window) const = 0;
    // One synthesised key event for the window with the keyboard focus.
    virtual void SendKey(int virtualKey, bool release) = 0;
    virtual void SetForeground(WindowId window) = 0;
    // A left click where the pointer stands.
    virtual void ClickAtPointer() = 0;
    // Blocks the calling thread.
    virtual void Pause(int milliseconds) = 0;
};

} // namespace corvane
