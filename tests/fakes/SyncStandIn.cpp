#include "fakes/SyncStandIn.h"

namespace corvane::fakes {

namespace {

std::string ConflictName(const std::string& relative, const std::string& computer)
{
    const size_t slash = relative.find_last_of('\\');
    const size_t dot = relative.find_last_of('.');
    const size_t cut = dot == std::string::npos || (slash != std::string::npos && dot < slash) ? relative.size() : dot;
    return relative.substr(0, cut) + " (" + computer + "'s conflicted copy)" + relative.substr(cut);
}

} // namespace

void SyncStandIn::Join(MemoryFileSystem& fs, const std::string& root, const std::string& computer)
{
    fs.PutDir(root);
    sides_.push_back({&fs, root, computer, true});
    bases_.emplace_back();
    dirty_.emplace_back();
    incoming_.emplace_back();
    // A computer joining late gets everything the cloud holds.
    for (const auto& [key, cloud] : cloud_)
        if (!cloud.deleted)
            incoming_.back().insert(key);
    changesSeen_.push_back(fs.changed.size());
}

void SyncStandIn::Collect()
{
    for (size_t side = 0; side < sides_.size(); ++side) {
        const std::string prefix = MemoryFileSystem::Key(sides_[side].root) + "\\";
        const std::vector<std::string>& changed = sides_[side].fs->changed;
        for (; changesSeen_[side] < changed.size(); ++changesSeen_[side]) {
            const std::string& path = changed[changesSeen_[side]];
            if (MemoryFileSystem::Key(path).rfind(prefix, 0) == 0 && !sides_[side].fs->DirExists(path))
                dirty_[side][MemoryFileSystem::Key(path.substr(prefix.size()))] = path.substr(prefix.size());
        }
    }
}

void SyncStandIn::RescanAll()
{
    Collect();
    for (size_t side = 0; side < sides_.size(); ++side) {
        const std::string prefix = MemoryFileSystem::Key(sides_[side].root) + "\\";
        for (const std::string& path : sides_[side].fs->AllPaths())
            if (MemoryFileSystem::Key(path).rfind(prefix, 0) == 0 && sides_[side].fs->Peek(path)) {
                const std::string key = MemoryFileSystem::Key(path.substr(prefix.size()));
                const auto base = bases_[side].find(key);
                if (base == bases_[side].end() || base->second.bytes != *sides_[side].fs->Peek(path))
                    dirty_[side][key] = path.substr(prefix.size());
            }
    }
}

std::vector<SyncStandIn::Pending> SyncStandIn::PendingSteps() const
{
    std::vector<Pending> steps;
    for (size_t side = 0; side < sides_.size(); ++side) {
        if (!sides_[side].online)
            continue;
        for (const auto& entry : dirty_[side])
            steps.push_back({side, entry.first, true});
        for (const std::string& key : incoming_[side])
            steps.push_back({side, key, false});
    }
    return steps;
}

bool SyncStandIn::Step(std::mt19937& random)
{
    Collect();
    const std::vector<Pending> steps = PendingSteps();
    if (steps.empty())
        return false;
    const Pending step = steps[std::uniform_int_distribution<size_t>(0, steps.size() - 1)(random)];
    // A change made here is never overwritten by one coming down.
    if (step.upload || dirty_[step.side].count(step.key))
        Upload(step.side, step.key);
    else
        Download(step.side, step.key);
    return true;
}

void SyncStandIn::SyncAll(std::mt19937& random)
{
    RescanAll();
    while (Step(random)) { }
}

void SyncStandIn::Upload(size_t side, const std::string& key)
{
    const std::string relative = dirty_[side].count(key) ? dirty_[side][key] : cloud_[key].path;
    const std::optional<std::string> here = sides_[side].fs->Peek(Full(side, relative));
    dirty_[side].erase(key);
    Base& base = bases_[side][key];
    CloudFile& cloud = cloud_[key];
    if (here ? base.version > 0 && base.bytes == *here : base.version == 0) {
        if (cloud.version != base.version)
            Download(side, key);
        return;
    }
    // The same bytes made on two computers are one file to a client.
    if (here && !cloud.deleted && cloud.version > 0 && cloud.bytes == *here) {
        base = {cloud.version, cloud.bytes};
        incoming_[side].erase(key);
        return;
    }
    if (cloud.version != base.version && !(cloud.deleted && !here)) {
        // Changed on another computer since this one last synced: this
        // computer's version is kept beside it under a new name, and the
        // other version comes down.
        if (here) {
            const std::string copy = ConflictName(relative, sides_[side].computer);
            sides_[side].fs->PutFile(Full(side, copy), *here);
            dirty_[side][MemoryFileSystem::Key(copy)] = copy;
            ++conflictCopies_;
        }
        Download(side, key);
        return;
    }
    if (!here) {
        cloud.deleted = true;
        cloud.bytes.clear();
    } else {
        if (cloud.path.empty() || cloud.deleted)
            cloud.path = relative;
        cloud.deleted = false;
        cloud.bytes = *here;
    }
    base = {++cloud.version, cloud.bytes};
    incoming_[side].erase(key);
    for (size_t other = 0; other < sides_.size(); ++other)
        if (other != side)
            incoming_[other].insert(key);
}

void SyncStandIn::Download(size_t side, const std::string& key)
{
    incoming_[side].erase(key);
    const CloudFile& cloud = cloud_.at(key);
    const Base& base = bases_[side][key];
    if (cloud.version == base.version)
        return;
    if (cloud.deleted)
        sides_[side].fs->RemoveFile(Full(side, cloud.path));
    else
        sides_[side].fs->PutFile(Full(side, cloud.path), cloud.bytes);
    bases_[side][key] = {cloud.version, cloud.bytes};
}

} // namespace corvane::fakes
