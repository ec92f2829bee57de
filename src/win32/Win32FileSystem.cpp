#include "win32/Win32FileSystem.h"

#include "library/UnitConsts.h"
#include "win32/Handles.h"

#include <algorithm>
#include <utility>

namespace corvane::win32 {

namespace {

DWORD AttributesOf(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

bool WriteAll(HANDLE file, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

std::string DirectoryPart(const std::string& path)
{
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

} // namespace

long long FileTimeToMilliseconds(const FILETIME& time)
{
    const long long ticks
        = (static_cast<long long>(time.dwHighDateTime) << 32) | static_cast<long long>(time.dwLowDateTime);
    // FILETIME counts 100 ns from 1601; 11644473600 s lie between 1601 and 1970.
    constexpr long long kTicksPerMillisecond = 10000;
    constexpr long long kMillisecondsFrom1601To1970 = 11644473600000LL;
    return ticks / kTicksPerMillisecond - kMillisecondsFrom1601To1970;
}

long long NowMilliseconds()
{
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return FileTimeToMilliseconds(now);
}

bool Win32FileSystem::FileExists(const std::string& path) const
{
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::DirExists(const std::string& path) const
{
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) const
{
    // With delete sharing a reader here never makes another computer's
    // replace of the file fail.
    UniqueFileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr))
            return std::nullopt;
        if (read == 0)
            break;
        done += read;
    }
    bytes.resize(done);
    return bytes;
}

bool Win32FileSystem::WriteFileReplacing(const std::string& path, const std::string& bytes)
{
    char temp[MAX_PATH + 1] = {};
    if (!::GetTempFileNameA(DirectoryPart(path).c_str(), kTempPrefix, 0, temp))
        return false;
    bool written = false;
    {
        UniqueFileHandle file(
            ::CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        written = file && WriteAll(file.Get(), bytes) && ::FlushFileBuffers(file.Get());
    }
    if (written && ::MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileA(temp);
    return false;
}

bool Win32FileSystem::CreateDir(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool Win32FileSystem::CreateDirs(const std::string& path)
{
    for (size_t cut = path.find_first_of("\\/"); cut != std::string::npos; cut = path.find_first_of("\\/", cut + 1))
        if (cut > 0 && path[cut - 1] != ':')
            ::CreateDirectoryA(path.substr(0, cut).c_str(), nullptr);
    ::CreateDirectoryA(path.c_str(), nullptr);
    return DirExists(path);
}

bool Win32FileSystem::Rename(const std::string& from, const std::string& to)
{
    return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileSystem::DeleteFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

bool Win32FileSystem::RemoveDir(const std::string& path) { return ::RemoveDirectoryA(path.c_str()) != 0; }

bool Win32FileSystem::SetNormalAttributes(const std::string& path)
{
    return ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
}

std::vector<DirEntry> Win32FileSystem::List(const std::string& dir) const
{
    std::vector<DirEntry> entries;
    WIN32_FIND_DATAA data{};
    UniqueFind find(::FindFirstFileA((dir + "\\*").c_str(), &data));
    if (!find)
        return entries;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        DirEntry entry{.name = name,
            .isDir = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
            .isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0};
        // The search hands both over with the name: knowing them costs nothing.
        // A link's own are not its target's, which may change beneath it.
        if (!entry.isDir && !entry.isLink) {
            entry.size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            entry.lastWriteTime = FileTimeToMilliseconds(data.ftLastWriteTime);
        }
        entries.push_back(std::move(entry));
    } while (::FindNextFileA(find.Get(), &data));
    return entries;
}

bool Win32FileSystem::IsLink(const std::string& path) const
{
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool Win32FileSystem::CreateNewFile(const std::string& path, const std::string& bytes)
{
    bool written = false;
    {
        UniqueFileHandle file(
            ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return false;
        written = WriteAll(file.Get(), bytes);
    }
    if (!written)
        ::DeleteFileA(path.c_str());
    return written;
}

std::optional<long long> Win32FileSystem::LastWriteTime(const std::string& path) const
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return FileTimeToMilliseconds(data.ftLastWriteTime);
}

} // namespace corvane::win32
