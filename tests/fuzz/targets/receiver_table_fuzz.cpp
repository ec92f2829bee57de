// The hook library's shared block after another process wrote anything into
// it: attach, detach and broadcast must stay inside the block, never write
// the fill bytes, and leave the table in a state the next process can use.
#include "hooks/tolvar/HtReceiverTable.h"

#include "fuzz/FuzzInput.h"

#include <cstring>
#include <memory>
#include <set>

using namespace corvane::fuzz;
using namespace corvane::tolvar;

namespace {

struct FakeSystem {
    std::set<std::uint32_t> alive;
    std::uint32_t nextHook = 0x5000;
    bool setFails = false;
    bool unhookFails = false;

    bool WindowExists(std::uint32_t window) const { return alive.count(window) != 0; }
    std::uint32_t SetHook() { return setFails ? 0 : ++nextHook; }
    bool Unhook(std::uint32_t) const { return !unhookFails; }
    std::int32_t LastErrorCode() const { return 1400; }
};

std::string FillBytes(const THtReceiverList& list)
{
    std::string fill;
    for (const THtReceiver& r : list.Items)
        fill.append(reinterpret_cast<const char*>(r.Fill), sizeof r.Fill);
    return fill;
}

bool KnownResult(std::int32_t r) { return r == 0 || r == -2 || r == -3 || r == -4 || r == -5 || r == 1400; }

void CheckTable(const THtSharedHookBlock& block, const std::string& fillBefore)
{
    Check(FillBytes(block.Receivers) == fillBefore, "fill bytes of the shared table were written");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    // Exactly the block's size on the heap: a step outside it is a report.
    auto block = std::make_unique<THtSharedHookBlock>();
    auto local = std::make_unique<THtReceiverList>();
    for (std::size_t i = 0; i < sizeof *block; ++i)
        reinterpret_cast<std::uint8_t*>(block.get())[i] = in.Byte();
    for (std::size_t i = 0; i < sizeof *local; ++i)
        reinterpret_cast<std::uint8_t*>(local.get())[i] = in.Below(4) == 0 ? in.Byte() : 0;
    const std::string fill = FillBytes(block->Receivers);

    FakeSystem sys;
    // Windows are small numbers, so the fuzzer meets the ones in the block.
    auto window
        = [&] { return static_cast<std::uint32_t>(in.Below(4) == 0 ? in.Word() | in.Word() << 16 : in.Below(16)); };
    for (unsigned n = 0; n < 16; ++n)
        if (in.Byte() & 1)
            sys.alive.insert(n);

    while (!in.Empty()) {
        const unsigned op = in.Below(6);
        sys.setFails = in.Below(8) == 0;
        sys.unhookFails = in.Below(8) == 0;
        if (op == 0 || op == 1) {
            const std::uint32_t w = window();
            sys.alive.insert(w);
            const std::int32_t r = AttachTo(*block, *local, w, op == 1, sys);
            Check(KnownResult(r), "attach returned an unknown code");
            Check(r != 0 || IndexOf(block->Receivers, w) >= 0, "an attach that succeeded left no entry");
            Check(block->Receivers.Count >= 0 && block->Receivers.Count <= MaxReceivers,
                "attach left a count outside the table");
        } else if (op == 2) {
            const std::uint32_t w = window();
            const std::int32_t before = ValidCount(block->Receivers);
            const std::int32_t r = DetachFrom(*block, *local, w, sys);
            Check(KnownResult(r), "detach returned an unknown code");
            Check(r == -3 || ValidCount(block->Receivers) == before - 1, "a detach removed other than one entry");
            Check(r == -3 || ValidCount(block->Receivers) > 0 || block->HookHandle == 0,
                "the last detach left the hook installed");
        } else if (op == 3) {
            const std::uint32_t replyFrom = window();
            BroadcastTo(block->Receivers, [&](const THtReceiver& r) {
                const std::ptrdiff_t slot = &r - block->Receivers.Items;
                Check(slot >= 0 && slot < MaxReceivers, "broadcast reached past the valid entries");
                return Delivery{sys.WindowExists(r.Window), r.Window == replyFrom ? 1 : 0};
            });
        } else if (op == 4) {
            sys.alive.erase(window());
        } else {
            sys.alive.insert(window());
        }
        CheckTable(*block, fill);
    }
    return 0;
}
