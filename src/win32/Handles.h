#pragma once
// Move-only owners for Win32 handles and GDI objects.
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace corvane::win32 {

template <typename Handle, typename Traits> class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : handle_(h) { }
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) { }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }
    Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle h = Traits::Invalid()) noexcept
    {
        if (handle_ != Traits::Invalid())
            Traits::Close(handle_);
        handle_ = h;
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() noexcept { return nullptr; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FileHandleTraits {
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct WindowTraits {
    static HWND Invalid() noexcept { return nullptr; }
    static void Close(HWND h) noexcept { ::DestroyWindow(h); }
};
struct MenuTraits {
    static HMENU Invalid() noexcept { return nullptr; }
    static void Close(HMENU h) noexcept { ::DestroyMenu(h); }
};
struct IconTraits {
    static HICON Invalid() noexcept { return nullptr; }
    static void Close(HICON h) noexcept { ::DestroyIcon(h); }
};
struct GdiObjectTraits {
    static HGDIOBJ Invalid() noexcept { return nullptr; }
    static void Close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};
struct ImageListTraits {
    static HIMAGELIST Invalid() noexcept { return nullptr; }
    static void Close(HIMAGELIST h) noexcept;
};
struct AcceleratorTraits {
    static HACCEL Invalid() noexcept { return nullptr; }
    static void Close(HACCEL h) noexcept { ::DestroyAcceleratorTable(h); }
};
struct ModuleTraits {
    static HMODULE Invalid() noexcept { return nullptr; }
    static void Close(HMODULE h) noexcept { ::FreeLibrary(h); }
};
struct FindTraits {
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::FindClose(h); }
};
struct RegKeyTraits {
    static HKEY Invalid() noexcept { return nullptr; }
    static void Close(HKEY h) noexcept { ::RegCloseKey(h); }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<HANDLE, FileHandleTraits>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, GdiObjectTraits>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListTraits>;
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;
using UniqueAccelerators = UniqueHandle<HACCEL, AcceleratorTraits>;
using UniqueFind = UniqueHandle<HANDLE, FindTraits>;
using UniqueRegKey = UniqueHandle<HKEY, RegKeyTraits>;

// Selects a GDI object into a DC for one scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) { }
    ~SelectedObject() { ::SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace corvane::win32
