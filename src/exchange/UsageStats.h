#pragma once
// How often each reply is delivered and by which route, and the typing that
// saved: counts only, never text, kept in the user's data folder.
#include "engine/DeliveryRoute.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace corvane {

const char* RouteName(TRoute route);

// Days since 1970-01-01 of a calendar date.
int DayNumber(int year, int month, int day);

struct TUsageCounts {
    long long deliveries = 0;
    long long charsIn = 0; // characters the replies put in
    long long charsTyped = 0; // characters typed to get them: the macro and its ending key
};

struct TTimeSaved {
    double weekMinutes = 0; // since Monday
    double monthMinutes = 0; // since the 1st
    double allMinutes = 0;
};

struct TReplyUse {
    std::string key;
    long long deliveries = 0;
};

class TUsageStats {
public:
    static constexpr int kDefaultWordsPerMinute = 40;
    static constexpr int kUnusedDays = 90;

    // From the stored form; lines that do not read are skipped.
    explicit TUsageStats(std::string_view stored = {});
    [[nodiscard]] std::string Stored() const;

    void Record(const std::string& replyKey, TRoute route, int day, long long charsIn, long long charsTyped);
    void Clear() { counts_.clear(); }
    [[nodiscard]] bool Empty() const { return counts_.empty(); }

    // Per reply and route, over all days.
    [[nodiscard]] TUsageCounts CountsOf(std::string_view replyKey, TRoute route) const;
    // Characters put in beyond those typed, at `wordsPerMinute` (five
    // characters a word), for the week and the month that hold `today`.
    [[nodiscard]] TTimeSaved TimeSaved(int today, int weekday, int dayOfMonth, int wordsPerMinute) const;
    // The replies delivered most, most first, at most `count`.
    [[nodiscard]] std::vector<TReplyUse> MostUsed(size_t count) const;
    // Of `replyKeys`, those not delivered in the last kUnusedDays days.
    [[nodiscard]] std::vector<std::string> UnusedSince(const std::vector<std::string>& replyKeys, int today) const;

private:
    // Reply key, day, route.
    using TKey = std::tuple<std::string, int, int>;
    std::map<TKey, TUsageCounts> counts_;
};

} // namespace corvane

namespace corvane {

class IFileSystem;
class IRegistry;
class TRepList;
struct TLocalTime;

// The figures file in the user's data folder.
inline constexpr const char* kUsageFileName = "Usage.txt";
// Counting is on unless the setting says 0; the typing speed is 40 words a
// minute unless set to something from 5 to 300.
inline constexpr const char* kCountUsage = "CountUsage";
inline constexpr const char* kTypingSpeed = "TypingSpeed";
[[nodiscard]] bool UsageCountingOn(IRegistry& reg);
[[nodiscard]] int TypingSpeed(IRegistry& reg);
[[nodiscard]] bool WriteUsageSettings(IRegistry& reg, bool countingOn, int wordsPerMinute);

// Deliveries counted in memory and written to the figures file a while
// later: replacing the file with each delivery would put a write and its
// flush between the macro's space and the paste.
class TUsageRecorder {
public:
    TUsageRecorder(IFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) { }

    void Record(const std::string& replyKey, const TDelivery& delivery, const TLocalTime& now);
    [[nodiscard]] bool Pending() const { return pending_; }
    // Writes what was counted since the last write; on failure it stays pending.
    bool WritePending();
    // The file was changed behind this recorder (the figures cleared): what
    // it holds is read again at the next delivery. Write what is pending first.
    void ReadAgain();

private:
    IFileSystem& fs_;
    std::string path_;
    std::optional<TUsageStats> stats_; // read at the first delivery
    bool pending_ = false;
};

// What the Statistics window shows.
struct TStatisticsView {
    TTimeSaved saved;
    std::vector<std::pair<std::string, long long>> mostUsed; // reply name, deliveries
    std::vector<std::string> unused; // "Folder / Reply"
};
TStatisticsView BuildStatisticsView(
    const TRepList& library, const TUsageStats& stats, const TLocalTime& now, int wordsPerMinute);
// "1 h 05 min", "12 min", "0 min".
std::string MinutesText(double minutes);

} // namespace corvane
