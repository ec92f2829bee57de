#include "engine/PredefinedInsertions.h"

#include <cstdio>
#include <iterator>
#include <string_view>

#include "engine/ReplyShaping.h"

namespace corvane {

const std::array<const char*, PlaceholderCount> PlaceholderNames = {"%Date", "%ShortDate", "%Day", "%YDate",
    "%YShortDate", "%YDay", "%TDate", "%TShortDate", "%TDay", "%Time", "%ShortTime"};

const std::array<const char*, PlaceholderCount> PlaceholderCaptions
    = {"Today (date in full)", "Today (short date)", "Today (day of the week)", "Yesterday (date in full)",
        "Yesterday (short date)", "Yesterday (day of the week)", "Tomorrow (date in full)", "Tomorrow (short date)",
        "Tomorrow (day of the week)", "Current Time (full)", "Current Time (short)"};

namespace {

constexpr const char* DayNames[7] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
constexpr const char* MonthNames[12] = {"January", "February", "March", "April", "May", "June", "July", "August",
    "September", "October", "November", "December"};

struct CivilDate {
    int year, month, day;
};

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long DaysFromCivil(CivilDate d)
{
    const int y = d.year - (d.month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (d.month + (d.month > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(long z)
{
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

// 1970-01-01 was a Thursday (index 3 from Monday).
const char* DayName(long days) { return DayNames[((days % 7) + 7 + 3) % 7]; }

std::string Format(const char* format, auto... args)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

void AppendDateValues(std::string& out, long days)
{
    const CivilDate d = CivilFromDays(days);
    out += Format("%s, %s %.2d, %d", DayName(days), MonthNames[d.month - 1], d.day, d.year);
    out += '\x01';
    out += Format("%d/%d/%d", d.month, d.day, d.year);
    out += '\x01';
    out += DayName(days);
    out += '\x01';
}

} // namespace

std::string PredefinedNames()
{
    std::string names;
    for (const char* name : PlaceholderNames) {
        if (!names.empty())
            names += ',';
        names += name;
    }
    return names;
}

std::string PredefinedValues(const TLocalTime& now)
{
    const long today = DaysFromCivil({now.year, now.month, now.day});
    std::string values;
    AppendDateValues(values, today);
    AppendDateValues(values, today - 1);
    AppendDateValues(values, today + 1);
    values += Format("%d:%.2d:%.2d", now.hour, now.minute, now.second);
    values += '\x01';
    values += Format("%d:%.2d", now.hour, now.minute);
    return values;
}

namespace {

struct TMenuPlaceholder {
    std::string_view name, caption;
};
constexpr TMenuPlaceholder DeliveryPlaceholders[] = {{CursorPlaceholder, "Cursor (stands here after delivery)"},
    {ClipboardPlaceholder, "Clipboard (the text copied before delivery)"}};
static_assert(std::size(DeliveryPlaceholders) == MenuPlaceholderCount - PlaceholderCount);

} // namespace

std::string MenuPlaceholderName(int index)
{
    return index < PlaceholderCount ? std::string(PlaceholderNames[static_cast<size_t>(index)])
                                    : std::string(DeliveryPlaceholders[index - PlaceholderCount].name);
}

std::string PlaceholderMenuCaption(int index)
{
    const std::string_view caption = index < PlaceholderCount
        ? std::string_view(PlaceholderCaptions[static_cast<size_t>(index)])
        : DeliveryPlaceholders[index - PlaceholderCount].caption;
    return MenuPlaceholderName(index) + " - " + std::string(caption);
}

bool SeparatorFollows(int index) { return index == 2 || index == 5 || index == 8 || index == PlaceholderCount - 1; }

} // namespace corvane
