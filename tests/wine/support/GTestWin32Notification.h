#pragma once
// GoogleTest's Notification needs std::mutex, which the win32 thread model of
// mingw-w64 lacks; this one waits on a Win32 event. Force-included into the
// Windows-side tests together with GTEST_HAS_NOTIFICATION_=1.
#ifdef __cplusplus
#include <windows.h>

namespace testing::internal {

class Notification {
public:
    Notification() : event_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { ::CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { ::SetEvent(event_); }
    void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

} // namespace testing::internal
#endif
