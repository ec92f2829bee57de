#pragma once
// In-memory registry with value kinds. Key paths compare without regard to
// letter case, as the real registry's do.
#include "platform/Registry.h"

#include <map>
#include <set>
#include <string>

namespace corvane::test {

class FakeRegistry final : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> Open(RegRoot root, const std::string& path, RegAccess access) override;
    std::unique_ptr<IRegistryKey> Create(RegRoot root, const std::string& path) override;
    bool KeyExists(RegRoot root, const std::string& path) override;

    // Direct access for arranging and checking a test.
    void AddKey(const std::string& path, RegRoot root = RegRoot::CurrentUser);
    void Put(const std::string& path, const std::string& name, RegValue value, RegRoot root = RegRoot::CurrentUser);
    std::optional<RegValue> Get(
        const std::string& path, const std::string& name, RegRoot root = RegRoot::CurrentUser) const;
    // Keys that refuse to be opened for writing.
    void DenyWrite(const std::string& path, RegRoot root = RegRoot::CurrentUser);
    // While set, keys open for writing but every value write fails, as on a
    // full or damaged hive.
    bool failValueWrites = false;
    int OpenKeys() const { return openKeys_; }

    using Values = std::map<std::string, RegValue>; // by lower-cased name
    struct Key {
        Values values;
    };

private:
    friend class FakeKey;
    static std::string Id(RegRoot root, const std::string& path);

    std::map<std::string, Key> keys_;
    std::set<std::string> denyWrite_;
    int openKeys_ = 0;
};

RegValue Dword(std::uint32_t v);
RegValue Binary(std::vector<std::uint8_t> bytes);
RegValue String(const std::string& text);

} // namespace corvane::test
