#pragma once
// File times: 100-ns ticks since 1601-01-01 00:00 UTC, as Windows counts them.
#include <cstdint>
#include <ctime>

namespace KelmPlatform {

using FileTime = std::uint64_t;

inline constexpr std::uint64_t kTicksPerSecond = 10'000'000;
inline constexpr std::uint64_t kUnixEpochAsFileTime = 116'444'736'000'000'000;

// Times before 1601 cannot be expressed and give 0.
FileTime FileTimeFromTimespec(const timespec& ts);
timespec TimespecFromFileTime(FileTime ft);

} // namespace KelmPlatform
