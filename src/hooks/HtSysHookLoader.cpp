#include "hooks/HtSysHookLoader.h"

#include "hooks/HtSysHookDecode.h"

namespace corvane {

std::int32_t THtHookLoader::LoadHookDLL(const std::string& name)
{
    if (module_ != 0) {
        ++count_;
        return htOk;
    }
    std::uintptr_t module = api_.OpenModule(name);
    if (module == 0) {
        if (const auto retry = DllRetryName(name))
            module = api_.OpenModule(*retry);
    }
    if (module == 0)
        return api_.LastErrorCode();
    module_ = module;
    ++count_;
    attach_ = api_.FindExport(module_, "AttachReceiver");
    detach_ = api_.FindExport(module_, "DetachReceiver");
    lastError_ = api_.FindExport(module_, "LastError");
    if (!attach_ || !detach_ || !lastError_) {
        UnloadHookDLL();
        return htMissingExports;
    }
    return htOk;
}

void THtHookLoader::UnloadHookDLL()
{
    if (module_ == 0)
        return;
    if (--count_ > 0)
        return;
    api_.ReleaseModule(module_);
    Clear();
}

void THtHookLoader::Clear()
{
    module_ = 0;
    count_ = 0;
    attach_ = detach_ = lastError_ = nullptr;
}

std::int32_t THtHookLoader::AttachReceiver(THtHookType type, std::uintptr_t window, bool filter)
{
    if (!attach_)
        return htMissingExports;
    return api_.CallAttach(attach_, type, window, filter);
}

} // namespace corvane
