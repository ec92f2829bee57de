#include "fakes/FakeRegistry.h"

#include <algorithm>
#include <cctype>

namespace corvane::test {

namespace {

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

} // namespace

class FakeKey final : public IRegistryKey {
public:
    FakeKey(FakeRegistry& owner, FakeRegistry::Key& key, bool writable) : owner_(owner), key_(key), writable_(writable)
    {
        ++owner_.openKeys_;
    }
    ~FakeKey() override { --owner_.openKeys_; }

    std::optional<RegValue> Read(const std::string& name) const override
    {
        const auto it = key_.values.find(Lower(name));
        if (it == key_.values.end())
            return std::nullopt;
        return it->second;
    }
    bool WriteDword(const std::string& name, std::uint32_t value) override { return Store(name, Dword(value)); }
    bool WriteBinary(const std::string& name, const std::vector<std::uint8_t>& bytes) override
    {
        return Store(name, Binary(bytes));
    }
    bool WriteString(const std::string& name, const std::string& text) override { return Store(name, String(text)); }
    bool DeleteValue(const std::string& name) override { return writable_ && key_.values.erase(Lower(name)) > 0; }
    bool ValueExists(const std::string& name) const override { return key_.values.count(Lower(name)) > 0; }

private:
    bool Store(const std::string& name, RegValue value)
    {
        if (!writable_ || owner_.failValueWrites)
            return false;
        key_.values[Lower(name)] = std::move(value);
        return true;
    }

    FakeRegistry& owner_;
    FakeRegistry::Key& key_;
    bool writable_;
};

std::string FakeRegistry::Id(RegRoot root, const std::string& path)
{
    return (root == RegRoot::CurrentUser ? "hkcu\\" : "hklm\\") + Lower(path);
}

std::unique_ptr<IRegistryKey> FakeRegistry::Open(RegRoot root, const std::string& path, RegAccess access)
{
    const auto id = Id(root, path);
    const auto it = keys_.find(id);
    if (it == keys_.end())
        return nullptr;
    if (access == RegAccess::Full && denyWrite_.count(id))
        return nullptr;
    return std::make_unique<FakeKey>(*this, it->second, access == RegAccess::Full);
}

std::unique_ptr<IRegistryKey> FakeRegistry::Create(RegRoot root, const std::string& path)
{
    // Parents come into being with the key, as with the real registry.
    for (auto cut = path.find('\\'); cut != std::string::npos; cut = path.find('\\', cut + 1))
        keys_[Id(root, path.substr(0, cut))];
    keys_[Id(root, path)];
    return Open(root, path, RegAccess::Full);
}

bool FakeRegistry::KeyExists(RegRoot root, const std::string& path) { return keys_.count(Id(root, path)) > 0; }

void FakeRegistry::AddKey(const std::string& path, RegRoot root) { Create(root, path); }

void FakeRegistry::Put(const std::string& path, const std::string& name, RegValue value, RegRoot root)
{
    AddKey(path, root);
    keys_[Id(root, path)].values[Lower(name)] = std::move(value);
}

std::optional<RegValue> FakeRegistry::Get(const std::string& path, const std::string& name, RegRoot root) const
{
    const auto key = keys_.find(Id(root, path));
    if (key == keys_.end())
        return std::nullopt;
    const auto value = key->second.values.find(Lower(name));
    if (value == key->second.values.end())
        return std::nullopt;
    return value->second;
}

void FakeRegistry::DenyWrite(const std::string& path, RegRoot root) { denyWrite_.insert(Id(root, path)); }

RegValue Dword(std::uint32_t v)
{
    return {RegKind::Dword,
        {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 24)}};
}

RegValue Binary(std::vector<std::uint8_t> bytes) { return {RegKind::Binary, std::move(bytes)}; }

RegValue String(const std::string& text)
{
    RegValue v{RegKind::String, std::vector<std::uint8_t>(text.begin(), text.end())};
    v.data.push_back(0);
    return v;
}

} // namespace corvane::test
