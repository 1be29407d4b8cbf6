#include "FileTimeCalendar.h"

#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string>

namespace KelmLibraryUtils {

namespace {
constexpr std::int64_t kFileTimeEpochDays = DaysFromCivil(1601, 1, 1);
constexpr std::uint64_t kSecondsPerDay = 86400;
} // namespace

void PartsFromFileTime(KelmPlatform::FileTime ft, CalendarParts& parts) {
    const std::uint64_t seconds = ft / KelmPlatform::kTicksPerSecond;
    const std::uint64_t ofDay = seconds % kSecondsPerDay;
    CivilFromDays(static_cast<std::int64_t>(seconds / kSecondsPerDay) + kFileTimeEpochDays, parts);
    parts.hour = static_cast<int>(ofDay / 3600);
    parts.minute = static_cast<int>(ofDay / 60 % 60);
    parts.second = static_cast<int>(ofDay % 60);
}

bool FileTimeFromParts(const CalendarParts& p, KelmPlatform::FileTime& ft) {
    if (!IsValidDate(p.year, p.month, p.day, 1601, 9999) ||
        !IsValidTime(p.hour, p.minute, p.second))
        return false;
    const auto days =
        static_cast<std::uint64_t>(DaysFromCivil(p.year, p.month, p.day) - kFileTimeEpochDays);
    const std::uint64_t seconds = days * kSecondsPerDay + p.hour * 3600 + p.minute * 60 + p.second;
    ft = seconds * KelmPlatform::kTicksPerSecond;
    return true;
}

namespace {

// localtime_r need not notice a changed TZ on its own, so tzset runs when TZ
// changes; not on every call, since with TZ unset glibc stats /etc/localtime
// on each tzset.
void TzsetWhenTzChanged() {
    static std::mutex mutex;
    static bool done = false;
    static std::string last;
    const char* tz = std::getenv("TZ");
    const std::string now = tz ? std::string("=") + tz : std::string();
    std::lock_guard lock(mutex);
    if (done && now == last)
        return;
    tzset();
    last = now;
    done = true;
}

} // namespace

std::int64_t CurrentUtcOffset() {
    TzsetWhenTzChanged();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local))
        return 0;
    return local.tm_gmtoff;
}

} // namespace KelmLibraryUtils
