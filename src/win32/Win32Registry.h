#pragma once
// The registry seam over the Windows registry functions. Each open key is
// flushed and closed when its owner goes away.
#include "platform/Registry.h"

namespace corvane::win32 {

class Win32Registry final : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> Open(RegRoot root, const std::string& path, RegAccess access) override;
    std::unique_ptr<IRegistryKey> Create(RegRoot root, const std::string& path) override;
    bool KeyExists(RegRoot root, const std::string& path) override;
};

} // namespace corvane::win32
