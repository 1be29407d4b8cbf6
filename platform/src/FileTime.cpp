#include "KelmPlatform/FileTime.h"

namespace KelmPlatform {

FileTime FileTimeFromTimespec(const timespec& ts) {
    const __int128 ticks = static_cast<__int128>(ts.tv_sec) * kTicksPerSecond + ts.tv_nsec / 100 +
                           kUnixEpochAsFileTime;
    if (ticks <= 0 || ticks > static_cast<__int128>(INT64_MAX))
        return 0;
    return static_cast<FileTime>(ticks);
}

timespec TimespecFromFileTime(FileTime ft) {
    const auto ticks = static_cast<std::int64_t>(ft - kUnixEpochAsFileTime);
    std::int64_t seconds = ticks / static_cast<std::int64_t>(kTicksPerSecond);
    std::int64_t rest = ticks % static_cast<std::int64_t>(kTicksPerSecond);
    if (rest < 0) {
        rest += kTicksPerSecond;
        --seconds;
    }
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(seconds);
    ts.tv_nsec = static_cast<long>(rest * 100);
    return ts;
}

} // namespace KelmPlatform
