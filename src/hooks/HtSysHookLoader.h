#pragma once
// The process-wide loader of the hook library: loaded once for all receiver
// components, released when the last of them lets go.
#include <cstdint>
#include <string>

#include "hooks/HtSysHookCommon.h"
#include "hooks/OwnKeyRing.h"

namespace corvane {

// What the loader needs of the system's module functions.
class IHookModuleApi {
public:
    virtual ~IHookModuleApi() = default;
    virtual std::uintptr_t OpenModule(const std::string& name) = 0; // 0 on failure
    virtual std::int32_t LastErrorCode() = 0;
    virtual void* FindExport(std::uintptr_t module, const char* name) = 0;
    virtual void ReleaseModule(std::uintptr_t module) = 0;
    virtual std::int32_t CallAttach(void* attachProc, THtHookType type, std::uintptr_t window, bool filter) = 0;
    virtual std::int32_t CallPublish(void* publishProc, std::uint32_t flags, const std::string& excluded) = 0;
    virtual void* CallRing(void* ringProc) { return nullptr; }
};

class THtHookLoader {
public:
    explicit THtHookLoader(IHookModuleApi& api) : api_(api) { }
    THtHookLoader(const THtHookLoader&) = delete;
    THtHookLoader& operator=(const THtHookLoader&) = delete;

    // 0, -1 when an export is missing, or the Windows error of the load.
    // While loaded, any name only adds a reference.
    [[nodiscard]] std::int32_t LoadHookDLL(const std::string& name);
    void UnloadHookDLL();

    [[nodiscard]] std::int32_t AttachReceiver(THtHookType type, std::uintptr_t window, bool filter);
    // Publishes to every hooked program the htState* flags and the programs
    // kept out; -1 when the library has no such export (an older one).
    std::int32_t PublishInputState(std::uint32_t flags, const std::string& excludedPrograms);
    // The ring the keys this program sends are put on, shared with every
    // hooked program; null when the library has none (an older one).
    THtOwnKeyRing* OwnKeyRing();

    bool Loaded() const { return module_ != 0; }
    int RefCount() const { return count_; }

private:
    void Clear();

    IHookModuleApi& api_;
    std::uintptr_t module_ = 0;
    int count_ = 0;
    void* attach_ = nullptr;
    void* detach_ = nullptr;
    void* lastError_ = nullptr;
    void* publish_ = nullptr;
    void* ring_ = nullptr;
};

} // namespace corvane
