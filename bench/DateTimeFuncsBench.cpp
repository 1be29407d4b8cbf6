// Per-item cost of computing and writing new times with each change method
// (given date-times, another date-time of the item, staggered), next to the
// floor: the platform layer's bare write of precomputed times. The main and
// the ratio report are in ItemMetadataBench.cpp.
#include <KelmLibraryFuncs/DateTimeFuncs.h>
#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using KelmLibraryFuncs::DateTimeFuncs;
using KelmLibraryFuncs::STAGGERITEM;
using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::DateTimeValue;
using KelmPlatform::FileTime;
using KelmPlatform::ItemTimes;

constexpr int kFileCount = 100'000;

// Made once for all cases, outside every timing.
struct Run {
    std::string root;
    std::vector<std::wstring> paths;

    Run() {
        char pattern[] = "/tmp/kelm-datetime-bench-XXXXXX";
        root = mkdtemp(pattern);
        paths.reserve(kFileCount);
        for (int i = 0; i < kFileCount; ++i) {
            const std::string native = root + "/photo" + std::to_string(i) + ".jpg";
            const int fd = open(native.c_str(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0)
                close(fd);
            paths.push_back(KelmPlatform::FromNative(native));
        }
        // The first write stores the creation time, which costs more than
        // changing it later: keep it out of every case.
        const FileTime start =
            DateTimeUtils::ToFileTime(DateTimeUtils::MakeDateTime(2020, 1, 1, 0, 0, 0));
        for (const auto& path : paths)
            KelmPlatform::WriteItemTimes(path, ItemTimes{start, start, start});
    }
    ~Run() { std::filesystem::remove_all(root); }
};

const std::vector<std::wstring>& Paths() {
    static Run run;
    return run.paths;
}

void PerItem(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kFileCount);
    state.counters["ns_per_item"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFileCount,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Every pass of every case writes other times than the pass before, so that
// each write changes the item (an unchanged creation time is not written).
DateTimeValue NextPassDateTime() {
    static int pass = 0;
    ++pass;
    return DateTimeUtils::MakeDateTime(2024, 2, 29, pass / 3600 % 24, pass / 60 % 60, pass % 60);
}

int Write(const std::wstring& path, const ItemTimes& t) {
    return DateTimeFuncs::SetModifiedFileDateTime(path, t.created, t.modified, t.accessed);
}

void Floor_WriteItemTimes(benchmark::State& state) {
    const auto& paths = Paths();
    for (auto _ : state) {
        const FileTime t = DateTimeUtils::ToFileTime(NextPassDateTime());
        const ItemTimes times{t, t, t};
        for (const auto& path : paths)
            benchmark::DoNotOptimize(KelmPlatform::WriteItemTimes(path, times));
    }
    PerItem(state);
}

void GivenDateTimes(benchmark::State& state) {
    const auto& paths = Paths();
    for (auto _ : state) {
        const DateTimeValue value = NextPassDateTime();
        for (const auto& path : paths) {
            const ItemTimes t{DateTimeFuncs::GetModifiedFileDateTime(path, 1, value, value,
                                                                     DateTimeFuncs::Created),
                              DateTimeFuncs::GetModifiedFileDateTime(path, 1, value, value,
                                                                     DateTimeFuncs::Modified),
                              DateTimeFuncs::GetModifiedFileDateTime(path, 1, value, value,
                                                                     DateTimeFuncs::Accessed)};
            benchmark::DoNotOptimize(Write(path, t));
        }
    }
    PerItem(state);
}

// Moves the modified times outside the timing, so that each pass has new
// values to copy.
void MoveModifiedTimes(benchmark::State& state) {
    state.PauseTiming();
    const FileTime modified = DateTimeUtils::ToFileTime(NextPassDateTime());
    for (const auto& path : Paths())
        KelmPlatform::WriteItemTimes(path, ItemTimes{0, modified, 0});
    state.ResumeTiming();
}

// The created date-time takes the modified one; the others are left. One
// compute call reads the item once.
void OtherDateTimeOfItem(benchmark::State& state) {
    for (auto _ : state) {
        MoveModifiedTimes(state);
        for (const auto& path : Paths()) {
            const ItemTimes t{
                DateTimeFuncs::GetSelectedFileDateTime(path, DateTimeFuncs::OtherModified, 1), 0,
                0};
            benchmark::DoNotOptimize(Write(path, t));
        }
    }
    PerItem(state);
}

// Created and accessed take the modified date-time: two compute calls, two
// reads of the item.
void OtherDateTimeOfItemTwice(benchmark::State& state) {
    for (auto _ : state) {
        MoveModifiedTimes(state);
        for (const auto& path : Paths()) {
            const int other = DateTimeFuncs::OtherModified;
            const ItemTimes t{DateTimeFuncs::GetSelectedFileDateTime(path, other, 1),
                              DateTimeFuncs::GetSelectedFileDateTime(path, other, 0),
                              DateTimeFuncs::GetSelectedFileDateTime(path, other, 1)};
            benchmark::DoNotOptimize(Write(path, t));
        }
    }
    PerItem(state);
}

// Cumulative, one minute per item, from the start date-time: no item is read.
void StaggerFromStartDateTime(benchmark::State& state) {
    const auto& paths = Paths();
    STAGGERITEM item;
    item.EnabledStartDateTime = 1;
    item.IntervalMinutes = 1;
    for (auto _ : state) {
        item.StartDate = item.StartTime = NextPassDateTime();
        int index = 0;
        for (const auto& path : paths) {
            const FileTime t =
                DateTimeFuncs::GetStaggerFileDateTime(index++, 1, DateTimeValue(), item);
            benchmark::DoNotOptimize(Write(path, ItemTimes{t, t, t}));
        }
    }
    PerItem(state);
}

// Uniform, one second forward from each of the item's own three date-times,
// read once per item as the change run does.
void StaggerFromOwnDateTimes(benchmark::State& state) {
    const auto& paths = Paths();
    STAGGERITEM item;
    item.Type = DateTimeFuncs::Uniform;
    item.IntervalSeconds = 1;
    for (auto _ : state) {
        int index = 0;
        for (const auto& path : paths) {
            ItemTimes own;
            KelmPlatform::ReadItemTimes(path, own);
            const auto staggered = [&](FileTime base) {
                return DateTimeFuncs::GetStaggerFileDateTime(
                    index, 1, DateTimeUtils::FromFileTime(base), item);
            };
            const ItemTimes t{staggered(own.created), staggered(own.modified),
                              staggered(own.accessed)};
            ++index;
            benchmark::DoNotOptimize(Write(path, t));
        }
    }
    PerItem(state);
}

BENCHMARK(Floor_WriteItemTimes)->Unit(benchmark::kMillisecond);
BENCHMARK(GivenDateTimes)->Unit(benchmark::kMillisecond);
BENCHMARK(OtherDateTimeOfItem)->Unit(benchmark::kMillisecond);
BENCHMARK(OtherDateTimeOfItemTwice)->Unit(benchmark::kMillisecond);
BENCHMARK(StaggerFromStartDateTime)->Unit(benchmark::kMillisecond);
BENCHMARK(StaggerFromOwnDateTimes)->Unit(benchmark::kMillisecond);

} // namespace
