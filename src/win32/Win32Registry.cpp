#include "win32/Win32Registry.h"

#include <windows.h>

#include <utility>

#include "win32/Handles.h"

namespace corvane::win32 {

namespace {

HKEY RootKey(RegRoot root) { return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

RegKind KindOf(DWORD type)
{
    switch (type) {
    case REG_DWORD:
        return RegKind::Dword;
    case REG_BINARY:
        return RegKind::Binary;
    case REG_SZ:
        return RegKind::String;
    default:
        return RegKind::Other;
    }
}

class Win32Key final : public IRegistryKey {
public:
    Win32Key(UniqueRegKey key, bool writable) noexcept : key_(std::move(key)), writable_(writable) { }
    ~Win32Key() override
    {
        if (writable_)
            ::RegFlushKey(key_.Get());
    }
    Win32Key(const Win32Key&) = delete;
    Win32Key& operator=(const Win32Key&) = delete;

    std::optional<RegValue> Read(const std::string& name) const override
    {
        DWORD type = 0;
        DWORD size = 0;
        if (::RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        RegValue value{KindOf(type), std::vector<std::uint8_t>(size)};
        // The value may change between the two calls; retry with the size it reports.
        for (int attempt = 0; attempt < 3; ++attempt) {
            size = static_cast<DWORD>(value.data.size());
            const LONG rc = ::RegQueryValueExA(
                key_.Get(), name.c_str(), nullptr, &type, value.data.empty() ? nullptr : value.data.data(), &size);
            if (rc == ERROR_SUCCESS) {
                value.kind = KindOf(type);
                value.data.resize(size);
                return value;
            }
            if (rc != ERROR_MORE_DATA)
                return std::nullopt;
            value.data.resize(size);
        }
        return std::nullopt;
    }

    bool WriteDword(const std::string& name, std::uint32_t value) override
    {
        const DWORD v = value;
        return Set(name, REG_DWORD, &v, sizeof v);
    }
    bool WriteBinary(const std::string& name, const std::vector<std::uint8_t>& bytes) override
    {
        return Set(name, REG_BINARY, bytes.data(), bytes.size());
    }
    bool WriteString(const std::string& name, const std::string& text) override
    {
        return Set(name, REG_SZ, text.c_str(), text.size() + 1);
    }
    bool DeleteValue(const std::string& name) override
    {
        return ::RegDeleteValueA(key_.Get(), name.c_str()) == ERROR_SUCCESS;
    }
    bool ValueExists(const std::string& name) const override
    {
        return ::RegQueryValueExA(key_.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

private:
    bool Set(const std::string& name, DWORD type, const void* data, std::size_t size)
    {
        return ::RegSetValueExA(
                   key_.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size))
            == ERROR_SUCCESS;
    }

    UniqueRegKey key_;
    bool writable_;
};

} // namespace

std::unique_ptr<IRegistryKey> Win32Registry::Open(RegRoot root, const std::string& path, RegAccess access)
{
    const REGSAM sam = access == RegAccess::Full ? KEY_ALL_ACCESS : KEY_READ;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(RootKey(root), path.c_str(), 0, sam, &key) != ERROR_SUCCESS)
        return nullptr;
    UniqueRegKey owned(key); // closed also when the wrapper cannot be made
    return std::make_unique<Win32Key>(std::move(owned), access == RegAccess::Full);
}

std::unique_ptr<IRegistryKey> Win32Registry::Create(RegRoot root, const std::string& path)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExA(
            RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return nullptr;
    UniqueRegKey owned(key);
    return std::make_unique<Win32Key>(std::move(owned), true);
}

bool Win32Registry::KeyExists(RegRoot root, const std::string& path)
{
    return Open(root, path, RegAccess::Read) != nullptr;
}

} // namespace corvane::win32
