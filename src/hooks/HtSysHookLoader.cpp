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
    publish_ = api_.FindExport(module_, "PublishInputState");
    ring_ = api_.FindExport(module_, "OwnKeyRing");
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
    attach_ = detach_ = lastError_ = publish_ = ring_ = nullptr;
}

std::int32_t THtHookLoader::AttachReceiver(THtHookType type, std::uintptr_t window, bool filter)
{
    if (!attach_)
        return htMissingExports;
    return api_.CallAttach(attach_, type, window, filter);
}

std::int32_t THtHookLoader::PublishInputState(std::uint32_t flags, const std::string& excludedPrograms)
{
    if (!publish_)
        return htMissingExports;
    return api_.CallPublish(publish_, flags, excludedPrograms);
}

THtOwnKeyRing* THtHookLoader::OwnKeyRing()
{
    return ring_ ? static_cast<THtOwnKeyRing*>(api_.CallRing(ring_)) : nullptr;
}

} // namespace corvane
