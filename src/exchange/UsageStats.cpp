#include "exchange/UsageStats.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <unordered_map>

namespace corvane {

const char* RouteName(TRoute route)
{
    static const char* const kNames[kRouteCount]
        = {"macro", "hot key", "insert", "picker", "drag", "paste into last window", "copy"};
    return kNames[static_cast<int>(route)];
}

int DayNumber(int year, int month, int day)
{
    // Days from civil, on the proleptic Gregorian calendar.
    year -= month <= 2;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yoe = year - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

TUsageStats::TUsageStats(std::string_view stored)
{
    size_t start = 0;
    while (start < stored.size()) {
        size_t end = stored.find('\n', start);
        if (end == std::string_view::npos)
            end = stored.size();
        std::string line(stored.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // key TAB day TAB route TAB deliveries TAB in TAB typed
        std::vector<std::string> f;
        size_t s = 0;
        for (size_t tab; (tab = line.find('\t', s)) != std::string::npos; s = tab + 1)
            f.push_back(line.substr(s, tab - s));
        f.push_back(line.substr(s));
        if (f.size() != 6 || f[0].empty())
            continue;
        const int route = std::atoi(f[2].c_str());
        if (route < 0 || route >= kRouteCount)
            continue;
        TUsageCounts& c = counts_[{f[0], std::atoi(f[1].c_str()), route}];
        c.deliveries += std::max(0LL, std::atoll(f[3].c_str()));
        c.charsIn += std::max(0LL, std::atoll(f[4].c_str()));
        c.charsTyped += std::max(0LL, std::atoll(f[5].c_str()));
    }
}

std::string TUsageStats::Stored() const
{
    std::string out;
    for (const auto& [key, c] : counts_)
        out += std::get<0>(key) + "\t" + std::to_string(std::get<1>(key)) + "\t" + std::to_string(std::get<2>(key))
            + "\t" + std::to_string(c.deliveries) + "\t" + std::to_string(c.charsIn) + "\t"
            + std::to_string(c.charsTyped) + "\r\n";
    return out;
}

void TUsageStats::Record(const std::string& replyKey, TRoute route, int day, long long charsIn, long long charsTyped)
{
    TUsageCounts& c = counts_[{replyKey, day, static_cast<int>(route)}];
    ++c.deliveries;
    c.charsIn += charsIn;
    c.charsTyped += charsTyped;
}

TUsageCounts TUsageStats::CountsOf(std::string_view replyKey, TRoute route) const
{
    TUsageCounts sum;
    for (const auto& [key, c] : counts_)
        if (std::get<0>(key) == replyKey && std::get<2>(key) == static_cast<int>(route)) {
            sum.deliveries += c.deliveries;
            sum.charsIn += c.charsIn;
            sum.charsTyped += c.charsTyped;
        }
    return sum;
}

TTimeSaved TUsageStats::TimeSaved(int today, int weekday, int dayOfMonth, int wordsPerMinute) const
{
    // weekday: 0 Sunday .. 6 Saturday; the week starts on Monday.
    const int weekStart = today - (weekday + 6) % 7;
    const int monthStart = today - (dayOfMonth - 1);
    const double charsPerMinute = 5.0 * std::max(1, wordsPerMinute);
    TTimeSaved saved;
    for (const auto& [key, c] : counts_) {
        const double minutes = static_cast<double>(c.charsIn - c.charsTyped) / charsPerMinute;
        const int day = std::get<1>(key);
        saved.allMinutes += minutes;
        if (day >= weekStart && day <= today)
            saved.weekMinutes += minutes;
        if (day >= monthStart && day <= today)
            saved.monthMinutes += minutes;
    }
    return saved;
}

std::vector<TReplyUse> TUsageStats::MostUsed(size_t count) const
{
    std::unordered_map<std::string, long long> totals;
    for (const auto& [key, c] : counts_)
        totals[std::get<0>(key)] += c.deliveries;
    std::vector<TReplyUse> uses;
    for (const auto& [k, n] : totals)
        uses.push_back({k, n});
    std::sort(uses.begin(), uses.end(), [](const TReplyUse& a, const TReplyUse& b) {
        return a.deliveries != b.deliveries ? a.deliveries > b.deliveries : a.key < b.key;
    });
    if (uses.size() > count)
        uses.resize(count);
    return uses;
}

std::vector<std::string> TUsageStats::UnusedSince(const std::vector<std::string>& replyKeys, int today) const
{
    std::set<std::string> used;
    for (const auto& [key, c] : counts_)
        if (std::get<1>(key) > today - kUnusedDays && c.deliveries > 0)
            used.insert(std::get<0>(key));
    std::vector<std::string> unused;
    for (const std::string& k : replyKeys)
        if (!used.count(k))
            unused.push_back(k);
    return unused;
}

} // namespace corvane

#include "engine/ReplySearch.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "shell/UnitSettings.h"

namespace corvane {

bool UsageCountingOn(IRegistry& reg)
{
    return !SettingsValueExists(reg, RegRoot::CurrentUser, kProgramKey, kCountUsage)
        || SettingsReadInt(reg, RegRoot::CurrentUser, kProgramKey, kCountUsage) != 0;
}

int TypingSpeed(IRegistry& reg)
{
    const int wpm = SettingsReadInt(reg, RegRoot::CurrentUser, kProgramKey, kTypingSpeed);
    return wpm >= 5 && wpm <= 300 ? wpm : TUsageStats::kDefaultWordsPerMinute;
}

bool WriteUsageSettings(IRegistry& reg, bool countingOn, int wordsPerMinute)
{
    const bool a = SettingsWriteInt(reg, RegRoot::CurrentUser, kProgramKey, kCountUsage, countingOn ? 1 : 0);
    const bool b = SettingsWriteInt(reg, RegRoot::CurrentUser, kProgramKey, kTypingSpeed, wordsPerMinute);
    return a && b;
}

void TUsageRecorder::Record(const std::string& replyKey, const TDelivery& delivery, const TLocalTime& now)
{
    if (!stats_)
        stats_.emplace(fs_.ReadFile(path_).value_or(""));
    stats_->Record(
        replyKey, delivery.route, DayNumber(now.year, now.month, now.day), delivery.charsIn, delivery.charsTyped);
    pending_ = true;
}

bool TUsageRecorder::WritePending()
{
    if (pending_ && stats_ && fs_.WriteFileReplacing(path_, stats_->Stored()))
        pending_ = false;
    return !pending_;
}

void TUsageRecorder::ReadAgain()
{
    stats_.reset();
    pending_ = false;
}

TStatisticsView BuildStatisticsView(
    const TRepList& library, const TUsageStats& stats, const TLocalTime& now, int wordsPerMinute)
{
    TStatisticsView view;
    const int today = DayNumber(now.year, now.month, now.day);
    const int weekday = ((today % 7) + 7 + 4) % 7; // 1970-01-01 was a Thursday
    view.saved = stats.TimeSaved(today, weekday, now.day, wordsPerMinute);
    std::unordered_map<std::string, std::string> names;
    std::vector<std::string> keys;
    for (const TSearchEntry& e : SearchEntriesOf(library)) {
        names[e.key] = e.folder.empty() ? e.name : e.folder + " / " + e.name;
        keys.push_back(e.key);
    }
    for (const TReplyUse& use : stats.MostUsed(10))
        if (const auto found = names.find(use.key); found != names.end())
            view.mostUsed.emplace_back(found->second, use.deliveries);
    for (const std::string& key : stats.UnusedSince(keys, today))
        view.unused.push_back(names[key]);
    return view;
}

std::string MinutesText(double minutes)
{
    const long long m = static_cast<long long>(minutes + 0.5);
    if (m < 60)
        return std::to_string(m) + " min";
    const long long rest = m % 60;
    return std::to_string(m / 60) + " h " + (rest < 10 ? "0" : "") + std::to_string(rest) + " min";
}

} // namespace corvane
