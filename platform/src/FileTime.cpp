#include "KelmPlatform/FileTime.h"

namespace KelmPlatform {

FileTime FileTimeFromTimespec(const timespec& ts) {
    constexpr std::int64_t kEpochSeconds = kUnixEpochAsFileTime / kTicksPerSecond;
    constexpr std::int64_t kLastSecond = INT64_MAX / kTicksPerSecond - kEpochSeconds - 1;
    const std::int64_t seconds = ts.tv_sec;
    if (seconds < -kEpochSeconds || seconds > kLastSecond)
        return 0;
    return static_cast<FileTime>(seconds + kEpochSeconds) * kTicksPerSecond +
           static_cast<FileTime>(ts.tv_nsec / 100);
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
