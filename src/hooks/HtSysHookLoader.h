#pragma once
// The process-wide loader of the hook library: loaded once for all receiver
// components, released when the last of them lets go.
#include <cstdint>
#include <string>

#include "hooks/HtSysHookCommon.h"

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
};

} // namespace corvane
