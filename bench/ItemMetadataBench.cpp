// Per-item cost of reading and writing times and attributes through the
// platform layer, next to the floor: a bare utimensat + stat of the same
// files. Prints each case's cost per item and its ratio to the floor.
#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFileCount = 10'000;

struct Tree {
    std::string root;
    std::vector<std::string> native;
    std::vector<std::wstring> wide;

    Tree() {
        char pattern[] = "/tmp/kelm-bench-XXXXXX";
        root = mkdtemp(pattern);
        for (int i = 0; i < kFileCount; ++i) {
            native.push_back(root + "/file" + std::to_string(i) + ".txt");
            const int fd = open(native.back().c_str(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0)
                close(fd);
            wide.push_back(KelmPlatform::FromNative(native.back()));
        }
    }
    ~Tree() { std::filesystem::remove_all(root); }
};

Tree& Files() {
    static Tree tree;
    return tree;
}

constexpr KelmPlatform::FileTime kBase = 133'000'000'000'000'000ull;

void PerItem(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kFileCount);
    state.counters["ns_per_item"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFileCount,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void Floor_UtimensatAndStat(benchmark::State& state) {
    const auto& files = Files().native;
    long second = 0;
    for (auto _ : state) {
        ++second;
        const timespec times[2] = {{1'600'000'000 + second, 0}, {1'600'000'000 + second, 0}};
        for (const auto& path : files) {
            utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
            struct stat st;
            benchmark::DoNotOptimize(lstat(path.c_str(), &st));
        }
    }
    PerItem(state);
}

void ReadTimesAndAttributes(benchmark::State& state) {
    const auto& files = Files().wide;
    for (auto _ : state) {
        for (const auto& path : files) {
            KelmPlatform::ItemTimes times;
            std::uint32_t bits = 0;
            benchmark::DoNotOptimize(KelmPlatform::ReadItemTimes(path, times));
            benchmark::DoNotOptimize(KelmPlatform::ReadItemAttributes(path, bits));
        }
    }
    PerItem(state);
}

void ReadItemInfo(benchmark::State& state) {
    const auto& files = Files().wide;
    for (auto _ : state) {
        for (const auto& path : files) {
            KelmPlatform::ItemInfo info;
            benchmark::DoNotOptimize(KelmPlatform::ReadItemInfo(path, info));
        }
    }
    PerItem(state);
}

void WriteModifiedAndAccessed(benchmark::State& state) {
    const auto& files = Files().wide;
    KelmPlatform::FileTime step = 0;
    for (auto _ : state) {
        step += KelmPlatform::kTicksPerSecond;
        KelmPlatform::ItemTimes times{0, kBase + step, kBase + step};
        for (const auto& path : files)
            benchmark::DoNotOptimize(KelmPlatform::WriteItemTimes(path, times));
    }
    PerItem(state);
}

void WriteAllThreeTimes(benchmark::State& state) {
    const auto& files = Files().wide;
    KelmPlatform::FileTime step = 0;
    for (auto _ : state) {
        step += KelmPlatform::kTicksPerSecond;
        KelmPlatform::ItemTimes times{kBase + step, kBase + step, kBase + step};
        for (const auto& path : files)
            benchmark::DoNotOptimize(KelmPlatform::WriteItemTimes(path, times));
    }
    PerItem(state);
}

void WriteAttributes(benchmark::State& state) {
    const auto& files = Files().wide;
    bool hidden = false;
    for (auto _ : state) {
        hidden = !hidden;
        const std::uint32_t bits = KelmPlatform::kArchive | (hidden ? KelmPlatform::kHidden : 0u);
        for (const auto& path : files)
            benchmark::DoNotOptimize(KelmPlatform::WriteItemAttributes(path, bits));
    }
    PerItem(state);
}

BENCHMARK(Floor_UtimensatAndStat)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadTimesAndAttributes)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadItemInfo)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteModifiedAndAccessed)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteAllThreeTimes)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteAttributes)->Unit(benchmark::kMillisecond);

// Collects each run's cost per item to print the ratios to the floor.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            const auto it = run.counters.find("ns_per_item");
            if (it != run.counters.end())
                m_perItem[run.benchmark_name()] = it->second.value * 1e9;
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double floor = m_perItem["Floor_UtimensatAndStat"];
        // The change methods of DateTimeFuncsBench.cpp also against the layer's own write.
        const auto own = m_perItem.find("Floor_WriteItemTimes");
        const double write = own == m_perItem.end() ? 0 : own->second;
        std::printf("\nper item, against the floor (utimensat + stat, %.0f ns)", floor);
        std::printf(" and against WriteItemTimes (%.0f ns):\n", write);
        for (const auto& [name, ns] : m_perItem)
            std::printf("  %-28s %8.0f ns  %5.2fx  %5.2fx\n", name.c_str(), ns,
                        floor > 0 ? ns / floor : 0, write > 0 ? ns / write : 0);
    }

private:
    std::map<std::string, double> m_perItem;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
