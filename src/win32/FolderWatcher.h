#pragma once
// Tells a window when anything in a folder or below it changes, by posting
// it a message: ReadDirectoryChangesW, which network shares support too, on
// a thread of its own. Where no notification ever comes, the window's poll
// still finds the change.
#include <windows.h>

#include <string>

#include "win32/Handles.h"

namespace corvane::win32 {

class FolderWatcher {
public:
    FolderWatcher(const std::string& folder, HWND window, UINT message);
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    bool Watching() const { return static_cast<bool>(thread_); }

private:
    static DWORD WINAPI Run(void* self) noexcept;
    void WaitForChanges() noexcept;

    HWND window_;
    UINT message_;
    UniqueFileHandle folder_;
    UniqueKernelHandle stop_;
    UniqueKernelHandle changed_;
    UniqueKernelHandle thread_;
};

} // namespace corvane::win32
