#include "win32/FolderWatcher.h"

namespace corvane::win32 {

FolderWatcher::FolderWatcher(const std::string& folder, HWND window, UINT message) : window_(window), message_(message)
{
    folder_.Reset(
        ::CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    stop_.Reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    changed_.Reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (folder_ && stop_ && changed_)
        thread_.Reset(::CreateThread(nullptr, 0, &FolderWatcher::Run, this, 0, nullptr));
}

FolderWatcher::~FolderWatcher()
{
    if (!thread_)
        return;
    ::SetEvent(stop_.Get());
    ::WaitForSingleObject(thread_.Get(), INFINITE);
}

DWORD WINAPI FolderWatcher::Run(void* self) noexcept
{
    static_cast<FolderWatcher*>(self)->WaitForChanges();
    return 0;
}

void FolderWatcher::WaitForChanges() noexcept
{
    alignas(DWORD) char buffer[4096];
    const DWORD filter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE
        | FILE_NOTIFY_CHANGE_SIZE;
    for (;;) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = changed_.Get();
        ::ResetEvent(changed_.Get());
        if (!::ReadDirectoryChangesW(folder_.Get(), buffer, sizeof buffer, TRUE, filter, nullptr, &overlapped, nullptr))
            return; // not supported here: the poll is left
        const HANDLE events[] = {stop_.Get(), changed_.Get()};
        const DWORD woken = ::WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (woken != WAIT_OBJECT_0 + 1) {
            ::CancelIo(folder_.Get());
            DWORD ignored = 0;
            ::GetOverlappedResult(folder_.Get(), &overlapped, &ignored, TRUE);
            return;
        }
        DWORD bytes = 0;
        if (!::GetOverlappedResult(folder_.Get(), &overlapped, &bytes, FALSE))
            return; // the folder went away: the poll sees that too
        // What changed is the poll's business; one message per burst of changes.
        ::PostMessageA(window_, message_, 0, 0);
    }
}

} // namespace corvane::win32
