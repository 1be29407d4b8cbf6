#include "DisplayTimeText.h"

#include "KelmLibraryUtils/DateTimeUtils.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <unordered_map>

namespace KelmLibraryUtils {
namespace {

constexpr std::int64_t kTicksPerSecond = static_cast<std::int64_t>(KelmPlatform::kTicksPerSecond);
constexpr std::int64_t kSecondsPerDay = 86'400;
// Days from 1601-01-01 to 1899-12-30, where date-time values start, and to
// 9999-12-31, the last day they show.
constexpr std::int64_t kValueEpochDay = 109'205;
constexpr std::int64_t kLastDay = kValueEpochDay + 2'958'465;
constexpr std::size_t kMaxCachedDays = 8192;
// Any moment will do to learn the offset in force now.
constexpr KelmPlatform::FileTime kProbe = 125'911'584'000'000'000; // 2000-01-01

std::int64_t CurrentOffset() {
    thread_local std::optional<std::chrono::steady_clock::time_point> learnt;
    thread_local std::optional<std::string> zone; // TZ as it was; nullopt when unset
    thread_local std::int64_t offset = 0;
    const char* tz = std::getenv("TZ");
    const bool sameZone = tz ? zone && *zone == tz : !zone;
    const auto at = std::chrono::steady_clock::now();
    if (!learnt || at - *learnt >= std::chrono::seconds(1) || !sameZone) {
        offset = static_cast<std::int64_t>(DateTimeUtils::FileTimeToLocalFileTime(kProbe)) -
                 static_cast<std::int64_t>(kProbe);
        learnt = at;
        zone = tz ? std::optional<std::string>(tz) : std::nullopt;
    }
    return offset;
}

const std::wstring& DateText(std::int64_t day) {
    thread_local std::unordered_map<std::int64_t, std::wstring> dates;
    if (const auto it = dates.find(day); it != dates.end())
        return it->second;
    if (dates.size() >= kMaxCachedDays)
        dates.clear();
    // Noon: far from the day's edges whatever the rounding of the value.
    const DateTimeValue noon(static_cast<double>(day - kValueEpochDay) + 0.5);
    return dates.emplace(day, DateTimeUtils::GetFormatedDate(noon)).first->second;
}

// " HH:MM:SS".
void AppendTime(std::wstring& text, std::int64_t secondOfDay) {
    const int parts[] = {static_cast<int>(secondOfDay / 3600),
                         static_cast<int>(secondOfDay / 60 % 60),
                         static_cast<int>(secondOfDay % 60)};
    wchar_t time[] = L" 00:00:00";
    for (int i = 0; i < 3; ++i) {
        time[1 + 3 * i] = static_cast<wchar_t>(L'0' + parts[i] / 10);
        time[2 + 3 * i] = static_cast<wchar_t>(L'0' + parts[i] % 10);
    }
    text.append(time, 9);
}

} // namespace

std::wstring DisplayTimeText::Of(KelmPlatform::FileTime utc) {
    if (utc == 0 ||
        utc > static_cast<KelmPlatform::FileTime>(std::numeric_limits<std::int64_t>::max() / 2))
        return DateTimeUtils::GetFormatedDateTime(utc);
    const std::int64_t local = static_cast<std::int64_t>(utc) + CurrentOffset();
    const std::int64_t seconds = local / kTicksPerSecond;
    const std::int64_t day = seconds / kSecondsPerDay;
    // The first day shows only after its midnight, days past the last not
    // at all: those few take the long way.
    if (local < 0 || day <= kValueEpochDay || day > kLastDay)
        return DateTimeUtils::GetFormatedDateTime(utc);
    std::wstring text = DateText(day);
    if (!text.empty())
        AppendTime(text, seconds % kSecondsPerDay);
    return text;
}

} // namespace KelmLibraryUtils
