#pragma once
// What the settings store needs of a registry. The Win32 registry is one
// implementation; the in-memory registry of the tests is another.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

enum class RegRoot { CurrentUser, LocalMachine };

enum class RegKind { Dword, Binary, String, Other };

struct RegValue {
    RegKind kind = RegKind::Other;
    std::vector<std::uint8_t> data; // raw bytes as stored (DWORD: 4 bytes little-endian)
    bool operator==(const RegValue&) const = default;
};

// An open key. Closing (destruction) flushes what was written.
class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;
    [[nodiscard]] virtual std::optional<RegValue> Read(const std::string& name) const = 0;
    [[nodiscard]] virtual bool WriteDword(const std::string& name, std::uint32_t value) = 0;
    [[nodiscard]] virtual bool WriteBinary(const std::string& name, const std::vector<std::uint8_t>& bytes) = 0;
    [[nodiscard]] virtual bool WriteString(const std::string& name, const std::string& text) = 0;
    [[nodiscard]] virtual bool DeleteValue(const std::string& name) = 0;
    [[nodiscard]] virtual bool ValueExists(const std::string& name) const = 0;
};

enum class RegAccess { Read, Full };

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // Opens an existing key; nullptr when it does not exist or access is refused.
    [[nodiscard]] virtual std::unique_ptr<IRegistryKey> Open(RegRoot root, const std::string& path, RegAccess access)
        = 0;
    // Opens the key for full access, creating it and its missing parents.
    [[nodiscard]] virtual std::unique_ptr<IRegistryKey> Create(RegRoot root, const std::string& path) = 0;
    [[nodiscard]] virtual bool KeyExists(RegRoot root, const std::string& path) = 0;
};

} // namespace corvane
