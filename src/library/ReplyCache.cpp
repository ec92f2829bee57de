#include "library/ReplyCache.h"

#include "library/IndexFormat.h"
#include "library/TextUtils.h"

namespace corvane {

namespace {

// The file: the magic, the format version, the root's length and the root,
// then entries to the end, each the path's length, the path, the size, the
// write time, that many bytes and a check of everything before it in the
// entry. Numbers are little-endian, 4 bytes for lengths, 8 for the rest.
constexpr std::string_view kMagic = "CVNREPLY";
constexpr std::uint32_t kFormatVersion = 1;

// Any change to the bytes of one 8-byte word changes the result: each step
// is a bijection of the state for a given word. Not a defence against
// someone forging a cache, which would need write access to the user's own
// local folder anyway.
std::uint64_t CheckOf(std::string_view bytes)
{
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    std::uint64_t state = 0x243F6A8885A308D3ULL;
    auto mix = [&](std::uint64_t word) {
        state ^= word;
        state *= kMultiplier;
        state ^= state >> 32;
    };
    size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word = 0;
        for (int i = 7; i >= 0; --i)
            word = (word << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
        mix(word);
    }
    std::uint64_t tail = 0;
    for (size_t i = bytes.size(); i > at; --i)
        tail = (tail << 8) | static_cast<unsigned char>(bytes[i - 1]);
    mix(tail);
    mix(bytes.size());
    return state;
}

void PutNumber(std::string& out, std::uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutText(std::string& out, std::string_view text)
{
    PutNumber(out, text.size(), 4);
    out.append(text);
}

// Reads from the front of the bytes; every read checks first that what it
// takes is there, and takes nothing when it is not.
class TFrontReader {
public:
    explicit TFrontReader(std::string_view bytes) : bytes_(bytes) { }

    size_t Offset() const { return at_; }
    bool AtEnd() const { return at_ == bytes_.size(); }

    std::optional<std::string_view> Take(std::uint64_t count)
    {
        if (count > bytes_.size() - at_)
            return std::nullopt;
        const std::string_view taken = bytes_.substr(at_, static_cast<size_t>(count));
        at_ += static_cast<size_t>(count);
        return taken;
    }
    std::optional<std::uint64_t> Number(int width)
    {
        const std::optional<std::string_view> bytes = Take(static_cast<std::uint64_t>(width));
        if (!bytes)
            return std::nullopt;
        std::uint64_t value = 0;
        for (int i = width - 1; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>((*bytes)[static_cast<size_t>(i)]);
        return value;
    }
    std::optional<std::string_view> Text()
    {
        const std::optional<std::uint64_t> length = Number(4);
        return length ? Take(*length) : std::nullopt;
    }

private:
    std::string_view bytes_;
    size_t at_ = 0;
};

bool HeaderBelongsTo(TFrontReader& reader, const std::string& root)
{
    const std::optional<std::string_view> magic = reader.Take(kMagic.size());
    const std::optional<std::uint64_t> version = reader.Number(4);
    const std::optional<std::string_view> keptRoot = reader.Text();
    return magic == kMagic && version == kFormatVersion && keptRoot && SameTextIgnoringCase(*keptRoot, root);
}

struct TKeptEntry {
    std::string_view path;
    TReplyStamp stamp;
    std::string_view bytes;
};

// The next entry; nullopt when it is cut short or fails its check.
std::optional<TKeptEntry> NextEntry(TFrontReader& reader, std::string_view whole)
{
    const size_t start = reader.Offset();
    const std::optional<std::string_view> path = reader.Text();
    const std::optional<std::uint64_t> size = reader.Number(8);
    const std::optional<std::uint64_t> time = reader.Number(8);
    const std::optional<std::string_view> bytes = size ? reader.Take(*size) : std::nullopt;
    const size_t checked = reader.Offset();
    const std::optional<std::uint64_t> check = reader.Number(8);
    if (!path || !time || !bytes || !check || *check != CheckOf(whole.substr(start, checked - start)))
        return std::nullopt;
    return TKeptEntry{*path, {*size, static_cast<long long>(*time)}, *bytes};
}

} // namespace

std::optional<TReplyStamp> StampOf(const DirEntry& entry)
{
    if (entry.isDir || !entry.size || !entry.lastWriteTime)
        return std::nullopt;
    return TReplyStamp{*entry.size, *entry.lastWriteTime};
}

std::string FormatReplyCache(const std::string& root, const std::vector<TReplyToKeep>& replies, long long readStarted)
{
    std::string out(kMagic);
    PutNumber(out, kFormatVersion, 4);
    PutText(out, root);
    for (const TReplyToKeep& reply : replies) {
        // A stamp that does not describe these bytes would serve them for a
        // file that holds others.
        if (reply.bytes.size() != reply.stamp.size
            || reply.stamp.lastWriteTime > readStarted - kReplyCacheSettleMilliseconds)
            continue;
        const size_t start = out.size();
        PutText(out, reply.path);
        PutNumber(out, reply.stamp.size, 8);
        PutNumber(out, static_cast<std::uint64_t>(reply.stamp.lastWriteTime), 8);
        out.append(reply.bytes);
        PutNumber(out, CheckOf(std::string_view(out).substr(start)), 8);
    }
    return out;
}

TReplyCache TReplyCache::Parse(std::string_view bytes, const std::string& root)
{
    TReplyCache cache;
    TFrontReader reader(bytes);
    if (!HeaderBelongsTo(reader, root))
        return cache;
    while (!reader.AtEnd()) {
        const std::optional<TKeptEntry> entry = NextEntry(reader, bytes);
        if (!entry)
            break; // nothing after a broken entry can be framed
        cache.entries_[UpperCaseAnsi(entry->path)] = {entry->stamp, std::string(entry->bytes)};
    }
    return cache;
}

std::optional<std::string> TReplyCache::Take(const std::string& path, const TReplyStamp& stamp)
{
    const auto found = entries_.find(UpperCaseAnsi(path));
    if (found == entries_.end() || found->second.taken || found->second.stamp != stamp)
        return std::nullopt;
    found->second.taken = true;
    ++taken_;
    return std::move(found->second.bytes);
}

TReplyCache ReadReplyCache(const IFileSystem& fs, const std::string& path, const std::string& root)
{
    const std::optional<std::string> bytes = fs.ReadFile(path);
    return bytes ? TReplyCache::Parse(*bytes, root) : TReplyCache();
}

bool WriteReplyCache(IFileSystem& fs, const std::string& path, const std::string& bytes)
{
    const std::string folder = ParentDirectory(path);
    return (folder.empty() || fs.DirExists(folder) || fs.CreateDirs(folder)) && fs.WriteFileReplacing(path, bytes);
}

} // namespace corvane
