#pragma once
// The system side of the hook receivers: a hook library that is a set of
// exports and a table of receivers, and listener windows that are numbers.
// Notifications reach a component through its HandleMessage, as the
// listener window passes them on.
#include "hooks/HtSysHookComp.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace corvane::fakes {

// Modules by name; a library is a set of exports and a table of receivers.
class FakeModuleApi : public IHookModuleApi {
public:
    std::map<std::string, std::set<std::string>> files
        = {{"Tolvar.dll", {"AttachReceiver", "DetachReceiver", "LastError"}}};
    std::vector<std::string> loadAttempts;
    int loaded = 0; // modules currently open
    std::int32_t attachResult = 0;
    int failingAttaches = 0; // the next ones return -5
    std::vector<std::pair<THtHookType, std::uintptr_t>> attached;
    std::string openName;

    std::uintptr_t OpenModule(const std::string& name) override
    {
        loadAttempts.push_back(name);
        if (!files.count(name))
            return 0;
        openName = name;
        ++loaded;
        return 0x7000;
    }
    std::int32_t LastErrorCode() override { return 126; }
    void* FindExport(std::uintptr_t, const char* name) override
    {
        return files[openName].count(name) ? reinterpret_cast<void*>(0x10) : nullptr;
    }
    void ReleaseModule(std::uintptr_t) override { --loaded; }
    std::int32_t CallAttach(void*, THtHookType type, std::uintptr_t window, bool) override
    {
        if (failingAttaches > 0) {
            --failingAttaches;
            return -5;
        }
        if (attachResult == 0)
            attached.push_back({type, window});
        return attachResult;
    }
};

class FakeHost : public IHtHookHost {
public:
    FakeModuleApi api;
    THtHookLoader loader{api};
    std::uintptr_t nextWindow = 0x100;
    bool failWindows = false;
    std::set<std::uintptr_t> windows;
    std::vector<std::string> boxes;

    THtHookLoader& Loader() override { return loader; }
    std::uintptr_t CreateListener(THtSysHook&) override
    {
        if (failWindows)
            return 0;
        windows.insert(nextWindow);
        return nextWindow++;
    }
    void DestroyListener(std::uintptr_t w) override
    {
        windows.erase(w);
        destroyed.push_back(w);
    }
    std::vector<std::uintptr_t> destroyed;
    std::string SystemMessage(std::int32_t code) override
    {
        return code == 126 ? "The specified module could not be found.\r\n" : "";
    }
    void ShowErrorBox(const std::string& text, const std::string& caption) override
    {
        boxes.push_back(caption + ": " + text);
    }
    void ReplyToSender(std::int64_t result) override { events.push_back("reply " + std::to_string(result)); }
    std::vector<std::string> events;
};

} // namespace corvane::fakes
