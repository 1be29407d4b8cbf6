// Filling list records (FileListUtils::FillFileListItem) for a generated
// tree: 10,000 plain files, 1,000 JPEGs with EXIF, 200 MP3s, 100 PDFs and
// 100 compound documents. Each family's benchmark also measures, on the same
// files, the floor (a bare lstat of every file) and reports its cost per item
// as a multiple of it ("x_floor"); the JPEG one also runs exiftool once over
// its files in one process and reports how many times faster the fill is
// ("x_exiftool"). Targets: plain files within 3x of the floor, JPEGs at
// least 10x faster than exiftool.
#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmLibraryUtils/FileListUtils.h>
#include <KelmPlatform/NativeName.h>

#include "CompoundFileBuilder.h"
#include "MediaFixtures.h"
#include "PhotoFixtures.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using KelmLibraryUtils::FileListUtils;

struct Family {
    std::vector<std::string> native;
    std::vector<std::wstring> wide;
};

std::string PhotoBytes() {
    using namespace photofixtures;
    const std::string tiff = Tiff(
        {Ascii(0x010F, "Kelm"), Ascii(0x0110, "Bench 1"), Rational(0x011A, 72, 1),
         Rational(0x011B, 72, 1), Ascii(0x0131, "Horalux"), Ascii(0x0132, "2019:05:06 07:08:09")},
        {Short(0x8822, 2), Undefined(0x9000, "0230"), Ascii(0x9003, "2020:01:02 03:04:05"),
         Ascii(0x9004, "2020:01:02 03:04:05")});
    const std::string jpeg = PlainJpeg(640, 480);
    if (jpeg.empty()) {
        std::fprintf(stderr, "no JPEG writer\n");
        std::exit(1);
    }
    return WithExif(jpeg, tiff);
}

std::string Mp3Bytes() {
    using namespace mediafixtures;
    return Id3Tag(Id3Text("TIT2", L"Song") + Id3Text("TPE1", L"Artist") +
                  Id3Text("TALB", L"Album") + Id3Text("TRCK", L"3")) +
           SilentMpegFrames(2000);
}

// A PDF whose information dictionary comes last, after 64 KiB of binary
// stream data: the scan reads the whole file, as it must for most PDFs.
std::string PdfBytes() {
    std::string pdf = "%PDF-1.5\n1 0 obj << /Length 65536 >>\nstream\n";
    unsigned seed = 7;
    for (int i = 0; i < 65536; ++i) {
        seed = seed * 1103515245 + 12345;
        pdf += static_cast<char>(seed >> 24);
    }
    return pdf + "\nendstream\nendobj\n2 0 obj << /CreationDate (D:20200102030405+09'00') "
                 "/ModDate (D:20210304050607Z) >>\nendobj\n%%EOF\n";
}

std::string DocBytes() {
    const auto created =
        KelmLibraryUtils::DateTimeUtils::LocalComponentsToFileTime(2024, 3, 1, 9, 5, 0);
    const std::string summary =
        kelmtest::PropertySetBuilder().FileTime(12, created).FileTime(13, created).Build();
    return kelmtest::CompoundFileBuilder()
        .AddStream(u"WordDocument", std::string(5000, 'w'))
        .AddStream(u"\x05SummaryInformation", summary)
        .Build();
}

struct Tree {
    std::string root;
    Family plain, photos, songs, pdfs, docs;

    Tree() {
        char pattern[] = "/tmp/kelm-detail-bench-XXXXXX";
        root = mkdtemp(pattern);
        Make(plain, "plain", ".txt", 10'000, "notes\n");
        Make(photos, "photos", ".jpg", 1'000, PhotoBytes());
        Make(songs, "songs", ".mp3", 200, Mp3Bytes());
        Make(pdfs, "pdfs", ".pdf", 100, PdfBytes());
        Make(docs, "docs", ".doc", 100, DocBytes());
    }
    ~Tree() { std::filesystem::remove_all(root); }

    void Make(Family& family, const std::string& folder, const std::string& ext, int count,
              const std::string& bytes) {
        std::filesystem::create_directory(root + "/" + folder);
        for (int i = 0; i < count; ++i) {
            family.native.push_back(root + "/" + folder + "/item" + std::to_string(i) + ext);
            photofixtures::WriteBytes(family.native.back(), bytes);
            family.wide.push_back(KelmPlatform::FromNative(family.native.back()));
        }
    }
};

Tree& Files() {
    static Tree tree;
    return tree;
}

// The best of a few passes, in ns per file.
double StatFloor(const std::vector<std::string>& files) {
    double best = 1e18;
    for (int pass = 0; pass < 5; ++pass) {
        const auto start = Clock::now();
        for (const auto& path : files) {
            struct stat st {};
            benchmark::DoNotOptimize(::lstat(path.c_str(), &st));
        }
        const std::chrono::duration<double, std::nano> took = Clock::now() - start;
        best = std::min(best, took.count() / static_cast<double>(files.size()));
    }
    return best;
}

// exiftool over all photos in one process, in ns per file.
double ExifToolPerItem(const Family& photos) {
    if (std::system("exiftool -ver >/dev/null 2>&1") != 0)
        return 0;
    const std::string args = Files().root + "/exiftool-args.txt";
    {
        std::ofstream out(args);
        for (const auto& path : photos.native)
            out << path << '\n';
    }
    const std::string command =
        "exiftool -fast -DateTimeOriginal -DateTimeDigitized -ModifyDate -Make -Model "
        "-ExifVersion -Software -ExposureProgram -XResolution -YResolution -ImageSize -@ '" +
        args + "' >/dev/null 2>&1";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const std::chrono::duration<double, std::nano> took = Clock::now() - start;
    return status == 0 ? took.count() / static_cast<double>(photos.native.size()) : 0;
}

void Fill(benchmark::State& state, const Family& family, double exifToolNs = 0) {
    const double floor = StatFloor(family.native);
    KelmLibraryUtils::FILLOPTIONS options;
    options.ExposureNames = FileListUtils::GetExposureProgNames();
    KelmLibraryUtils::FILELISTITEM item;
    const auto start = Clock::now();
    for (auto _ : state) {
        for (const auto& path : family.wide) {
            FileListUtils::FillFileListItem(path, options, {}, item);
            benchmark::DoNotOptimize(item);
        }
    }
    const std::chrono::duration<double, std::nano> took = Clock::now() - start;
    const double items = static_cast<double>(state.iterations()) * family.wide.size();
    const double perItem = took.count() / items;
    state.SetItemsProcessed(static_cast<std::int64_t>(items));
    state.counters["ns_per_item"] =
        benchmark::Counter(items, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["floor_ns"] = floor;
    state.counters["x_floor"] = perItem / floor;
    if (exifToolNs > 0) {
        state.counters["exiftool_items_per_s"] = 1e9 / exifToolNs;
        state.counters["x_exiftool"] = exifToolNs / perItem;
    }
}

void Detail_StatFloorPlain(benchmark::State& state) {
    const auto& files = Files().plain.native;
    for (auto _ : state) {
        for (const auto& path : files) {
            struct stat st {};
            benchmark::DoNotOptimize(::lstat(path.c_str(), &st));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * files.size()));
}

void Detail_FillPlain(benchmark::State& state) {
    Fill(state, Files().plain);
}
void Detail_FillJpeg(benchmark::State& state) {
    static const double exifTool = ExifToolPerItem(Files().photos);
    Fill(state, Files().photos, exifTool);
}
void Detail_FillMp3(benchmark::State& state) {
    Fill(state, Files().songs);
}
void Detail_FillPdf(benchmark::State& state) {
    Fill(state, Files().pdfs);
}
void Detail_FillCompound(benchmark::State& state) {
    Fill(state, Files().docs);
}

// One exiftool run over the JPEGs, for its items per second on its own line.
void Detail_ExifToolJpeg(benchmark::State& state) {
    double perItem = 0;
    for (auto _ : state)
        perItem = ExifToolPerItem(Files().photos);
    if (perItem <= 0) {
        state.SkipWithError("exiftool is not installed");
        return;
    }
    state.SetItemsProcessed(
        static_cast<std::int64_t>(state.iterations() * Files().photos.native.size()));
}

BENCHMARK(Detail_StatFloorPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(Detail_FillPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(Detail_FillJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(Detail_ExifToolJpeg)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(Detail_FillMp3)->Unit(benchmark::kMillisecond);
BENCHMARK(Detail_FillPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(Detail_FillCompound)->Unit(benchmark::kMillisecond);

} // namespace
