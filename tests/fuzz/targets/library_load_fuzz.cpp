// Index and reply files as the loader reads them, whatever they hold: each
// file the loader asks for takes the next NUL-separated piece of the input.
// Then the storage operations run on what was loaded. No path outside the
// library root may ever be named, and every loaded entry must stay usable.
#include "fuzz/LibraryFuzzRig.h"

using namespace corvane;
using namespace corvane::fuzz;

namespace {

TRep* PickEntry(LibraryRig& rig, FuzzInput& in)
{
    const int count = rig.library.Count();
    return count == 0 ? nullptr : rig.library.Items(static_cast<int>(in.Below(static_cast<unsigned>(count))));
}

void RunStorageOperation(LibraryRig& rig, FuzzInput& in)
{
    TRep* rep = PickEntry(rig, in);
    if (!rep)
        return;
    switch (in.Below(4)) {
    case 0:
        (void)rig.library.RenameEntry(rep, in.Text(12));
        break;
    case 1:
        (void)rig.library.SaveReplyFile(rep);
        break;
    case 2:
        if (TRep* target = PickEntry(rig, in); target && rig.library.MoveBefore(rep, target))
            rig.library.MoveNodeBefore(rep, target);
        break;
    case 3:
        if (rig.library.DeleteFiles(rep))
            rig.library.RemoveSubtree(rep->Node);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    LibraryRig rig;
    // The first piece says how many operations follow the load.
    const unsigned operations = in.Below(8);
    rig.fs.supply = [&](const std::string&) -> std::optional<std::string> {
        if (in.Empty())
            return std::nullopt;
        return in.Until('\0');
    };
    rig.Load();
    rig.fs.supply = nullptr;

    for (int i = 0; i < rig.library.Count(); ++i) {
        const TRep* rep = rig.library.Items(i);
        Check(rep->IsFolder() || IsPlainPathComponent(rep->FileName), "a reply was loaded under an unsafe name",
            rep->FileName);
        Check(!rep->IsFolder() || IsPlainPathComponent(rep->FolderName), "a folder was loaded under an unsafe name",
            rep->FolderName);
    }
    for (unsigned i = 0; i < operations; ++i)
        RunStorageOperation(rig, in);
    return 0;
}
