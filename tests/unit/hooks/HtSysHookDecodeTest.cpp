#include "platform/Desktop.h"
#include "hooks/HtSysHookDecode.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(HtSysHookDecode, KeyDownUpAndRepeatBitFields)
{
    // 'A' pressed: repeat 1, scan 0x1E.
    THtKeyStroke k = DecodeKeyStroke(0x41, 0x001E0001);
    EXPECT_EQ(k.VirtualKeyCode, 0x41);
    EXPECT_EQ(k.RepeatCount, 1);
    EXPECT_EQ(k.ScanCode, 0x1E);
    EXPECT_FALSE(k.isExtendedKey);
    EXPECT_FALSE(k.altIsDown);
    EXPECT_FALSE(k.keyWasDownBefore);
    EXPECT_TRUE(k.keyIsBeingPressed);

    // Released: transition and previous-state bits set.
    k = DecodeKeyStroke(0x41, static_cast<std::int64_t>(0xC01E0001u));
    EXPECT_FALSE(k.keyIsBeingPressed);
    EXPECT_TRUE(k.keyWasDownBefore);

    // Auto-repeat: still pressed, was down before.
    k = DecodeKeyStroke(0x41, 0x401E0003);
    EXPECT_TRUE(k.keyIsBeingPressed);
    EXPECT_TRUE(k.keyWasDownBefore);
    EXPECT_EQ(k.RepeatCount, 3);

    // Right Alt: extended, Alt flag.
    k = DecodeKeyStroke(0x12, 0x21380001);
    EXPECT_TRUE(k.isExtendedKey);
    EXPECT_TRUE(k.altIsDown);
    EXPECT_EQ(k.ScanCode, 0x38);

    k = DecodeKeyStroke(0x20, 0x0039FFFF);
    EXPECT_EQ(k.RepeatCount, 0xFFFF);
}

struct MouseRow {
    std::uint32_t message;
    bool isMove;
    TMouseButton button;
    THtMouseButtonMovement movement;
};

TEST(HtSysHookDecode, MouseMessagesMapByTheirLowFourBits)
{
    using B = TMouseButton;
    using M = THtMouseButtonMovement;
    const MouseRow rows[] = {
        {0x200, true, B::mbLeft, M::mbmDown},
        {0x201, false, B::mbLeft, M::mbmDown},
        {0x202, false, B::mbLeft, M::mbmUp},
        {0x203, false, B::mbLeft, M::mbmDouble},
        {0x204, false, B::mbRight, M::mbmDown},
        {0x205, false, B::mbRight, M::mbmUp},
        {0x206, false, B::mbRight, M::mbmDouble},
        {0x207, false, B::mbMiddle, M::mbmDown},
        {0x208, false, B::mbMiddle, M::mbmUp},
        {0x209, false, B::mbMiddle, M::mbmDouble},
        {0x20A, false, B::mbLeft, M::mbmDown}, // wheel
        {0x20B, false, B::mbLeft, M::mbmUp},
        {0x20C, false, B::mbLeft, M::mbmDouble},
        {0x20D, false, B::mbLeft, M::mbmDown},
        {0x20E, false, B::mbLeft, M::mbmUp},
        // non-client messages by the same low bits
        {0xA0, true, B::mbLeft, M::mbmDown},
        {0xA1, false, B::mbLeft, M::mbmDown},
        {0xA5, false, B::mbRight, M::mbmUp},
        {0xA9, false, B::mbMiddle, M::mbmDouble},
    };
    for (const MouseRow& r : rows) {
        SCOPED_TRACE(r.message);
        const THtMouseNotice m = DecodeMouse(r.message, 0x00200010, 0x1234);
        EXPECT_EQ(m.isMove, r.isMove);
        EXPECT_EQ(m.x, 0x10);
        EXPECT_EQ(m.y, 0x20);
        EXPECT_EQ(m.sourceWindow, 0x1234u);
        if (!r.isMove) {
            EXPECT_EQ(m.button, r.button);
            EXPECT_EQ(m.movement, r.movement);
        }
    }
}

TEST(HtSysHookDecode, NegativeScreenCoordinatesArriveAsUnsigned16BitValues)
{
    const THtMouseNotice m = DecodeMouse(0x200, 0xFF38FFFFu, 7); // x = -1, y = -200
    EXPECT_EQ(m.x, 65535);
    EXPECT_EQ(m.y, 65336);
}

TEST(HtSysHookDecode, ShellCodesAndTheOwnWindowRule)
{
    const std::uint32_t own = 0x500;
    struct Row {
        std::uint32_t code;
        THtShellEvent event;
        bool ownRule;
    };
    const Row rows[] = {
        {1, THtShellEvent::WindowCreated, true},
        {2, THtShellEvent::WindowDestroyed, true},
        {3, THtShellEvent::ActivateShellWindow, false},
        {4, THtShellEvent::WindowActivated, true},
        {0x8004, THtShellEvent::WindowActivated, true}, // a "rude" activation, as most arrive
        {6, THtShellEvent::WindowTitleRedraw, true},
        {7, THtShellEvent::TaskManager, false},
        {8, THtShellEvent::LanguageChange, true},
        {11, THtShellEvent::AccessibilityStateChanged, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        EXPECT_EQ(DecodeShell(r.code, 0x777, 0, own, false).event, r.event);
        EXPECT_EQ(DecodeShell(r.code, own, 0, own, true).event, r.event);
        EXPECT_EQ(DecodeShell(r.code, own, 0, own, false).event, r.ownRule ? THtShellEvent::None : r.event);
    }
    for (std::uint32_t code : {0u, 5u, 9u, 10u, 12u, 13u, 0x8001u})
        EXPECT_EQ(DecodeShell(code, 0x777, 0, own, false).event, THtShellEvent::None) << code;

    const THtShellNotice redraw = DecodeShell(6, 0x777, 1, own, false);
    EXPECT_EQ(redraw.sourceWindow, 0x777u);
    EXPECT_TRUE(redraw.isFlashing);
    EXPECT_FALSE(DecodeShell(6, 0x777, 0, own, false).isFlashing);
    EXPECT_EQ(DecodeShell(11, 4, 0, own, false).changedFeature, 4);
}

TEST(HtSysHookDecode, WindowHandlesAreSignExtendedFrom32Bits)
{
    EXPECT_EQ(WindowFromNotice(0x00012345u), WindowId{0x12345});
    EXPECT_EQ(WindowFromNotice(0xFFFF1234u), static_cast<WindowId>(static_cast<std::intptr_t>(-0xEDCC)));
}

TEST(HtSysHookDecode, ErrorTextsOfTheLibraryCodesAndOfWindowsCodes)
{
    int lookups = 0;
    const SystemMessageLookup lookup = [&](std::int32_t code) {
        ++lookups;
        return code == 126 ? std::string("The specified module could not be found.\r\n") : std::string();
    };
    EXPECT_EQ(HookErrorText(0, lookup), "No error.");
    EXPECT_EQ(HookErrorText(-1, lookup), "DLL doesn't export all required functions.");
    EXPECT_EQ(HookErrorText(-2, lookup), "Receiver already registered.");
    EXPECT_EQ(HookErrorText(-3, lookup), "Receiver not registered.");
    EXPECT_EQ(HookErrorText(-4, lookup), "Too many receivers.");
    EXPECT_EQ(HookErrorText(-5, lookup), "System hook already installed.");
    EXPECT_EQ(lookups, 0);
    EXPECT_EQ(HookErrorText(126, lookup), "The specified module could not be found");
    EXPECT_EQ(HookErrorText(-6, lookup), "Unknown error -6");
    EXPECT_EQ(HookErrorText(-2147483647 - 1, lookup), "Unknown error -2147483648");
    EXPECT_EQ(TrimSystemMessage("Access is denied. \r\n\t..."), "Access is denied");
    EXPECT_EQ(TrimSystemMessage("...."), "");
}

TEST(HtSysHookDecode, DllRetryNameOnlyForNamesNotEndingInDll)
{
    EXPECT_EQ(DllRetryName("Tolvar"), "Tolvar.dll");
    EXPECT_EQ(DllRetryName("Tolvar.bin"), "Tolvar.dll");
    EXPECT_EQ(DllRetryName("C:\\x.y\\Tolvar"), "C:\\x.y\\Tolvar.dll");
    EXPECT_FALSE(DllRetryName("Tolvar.DLL"));
    EXPECT_FALSE(DllRetryName("C:\\dir\\Tolvar.dll"));
}

} // namespace
} // namespace corvane
