#include "fakes/NativeFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace corvane::fakes {

std::string ToPosixPath(const std::string& path)
{
    std::string posix = path;
    std::replace(posix.begin(), posix.end(), '\\', '/');
    return posix;
}

std::string ToWindowsPath(const std::string& path)
{
    std::string windows = path;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}

namespace {

bool Exists(const std::string& posix)
{
    struct stat info { };
    return ::lstat(posix.c_str(), &info) == 0;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

long long MillisecondsOf(const struct stat& info)
{
    return static_cast<long long>(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
}

} // namespace

bool NativeFileSystem::FileExists(const std::string& path) const
{
    struct stat info { };
    return ::stat(ToPosixPath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool NativeFileSystem::DirExists(const std::string& path) const
{
    struct stat info { };
    return ::stat(ToPosixPath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<std::string> NativeFileSystem::ReadFile(const std::string& path) const
{
    const int fd = ::open(ToPosixPath(path).c_str(), O_RDONLY);
    if (fd < 0)
        return std::nullopt;
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[16384];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
}

bool NativeFileSystem::WriteFileReplacing(const std::string& path, const std::string& bytes)
{
    const std::string target = ToPosixPath(path);
    std::string temp = target + ".tmp-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ::close(fd);
    if (!written || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool NativeFileSystem::CreateDir(const std::string& path) { return ::mkdir(ToPosixPath(path).c_str(), 0777) == 0; }

bool NativeFileSystem::CreateDirs(const std::string& path)
{
    const std::string posix = ToPosixPath(path);
    for (size_t slash = posix.find('/', 1); slash != std::string::npos; slash = posix.find('/', slash + 1))
        ::mkdir(posix.substr(0, slash).c_str(), 0777);
    ::mkdir(posix.c_str(), 0777);
    return DirExists(path);
}

bool NativeFileSystem::Rename(const std::string& from, const std::string& to)
{
    const std::string source = ToPosixPath(from);
    const std::string destination = ToPosixPath(to);
    if (!Exists(source) || Exists(destination))
        return false;
    return ::rename(source.c_str(), destination.c_str()) == 0;
}

bool NativeFileSystem::DeleteFile(const std::string& path)
{
    const std::string posix = ToPosixPath(path);
    struct stat info { };
    if (::lstat(posix.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        return false;
    return ::unlink(posix.c_str()) == 0;
}

bool NativeFileSystem::RemoveDir(const std::string& path) { return ::rmdir(ToPosixPath(path).c_str()) == 0; }

bool NativeFileSystem::SetNormalAttributes(const std::string& path)
{
    const std::string posix = ToPosixPath(path);
    struct stat info { };
    if (::lstat(posix.c_str(), &info) != 0 || S_ISLNK(info.st_mode))
        return false;
    return ::chmod(posix.c_str(), info.st_mode | S_IWUSR) == 0;
}

std::vector<DirEntry> NativeFileSystem::List(const std::string& dir) const
{
    std::vector<DirEntry> entries;
    const std::string posix = ToPosixPath(dir);
    DIR* handle = ::opendir(posix.c_str());
    if (!handle)
        return entries;
    while (const dirent* item = ::readdir(handle)) {
        const std::string name = item->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat info { };
        if (::stat((posix + "/" + name).c_str(), &info) != 0) {
            entries.push_back({.name = name});
            continue;
        }
        struct stat own { };
        const bool link = ::lstat((posix + "/" + name).c_str(), &own) == 0 && S_ISLNK(own.st_mode);
        DirEntry entry{.name = name, .isDir = S_ISDIR(info.st_mode), .isLink = link};
        if (S_ISREG(info.st_mode)) {
            entry.size = static_cast<unsigned long long>(info.st_size);
            entry.lastWriteTime = MillisecondsOf(info);
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(handle);
    std::sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    return entries;
}

bool NativeFileSystem::IsLink(const std::string& path) const
{
    struct stat info { };
    return ::lstat(ToPosixPath(path).c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool NativeFileSystem::CreateNewFile(const std::string& path, const std::string& bytes)
{
    const std::string posix = ToPosixPath(path);
    const int fd = ::open(posix.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes);
    ::close(fd);
    if (!written)
        ::unlink(posix.c_str());
    return written;
}

std::optional<long long> NativeFileSystem::LastWriteTime(const std::string& path) const
{
    struct stat info { };
    if (::stat(ToPosixPath(path).c_str(), &info) != 0)
        return std::nullopt;
    return MillisecondsOf(info);
}

} // namespace corvane::fakes
