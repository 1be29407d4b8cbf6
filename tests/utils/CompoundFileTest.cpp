#include "CompoundFileBuilder.h"

#include <KelmLibraryUtils/CompoundFile.h>
#include <KelmLibraryUtils/PropertyUtils.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>

using namespace KelmLibraryUtils;
using kelmtest::CompoundFileBuilder;
using kelmtest::PropertySetBuilder;
using kelmtest::Put32;

namespace {

const std::u16string kSummaryName = u"\x05SummaryInformation";
constexpr std::uint64_t kCreated = 133'000'000'000'000'000; // 2022-06-16 in UTC

std::string Summary(std::size_t blob = 0) {
    PropertySetBuilder set;
    set.Int16(1, 1252).FileTime(12, kCreated).FileTime(13, kCreated + 600'000'000);
    if (blob)
        set.Blob(17, blob);
    return set.Build();
}

// A document with the usual neighbours of the summary stream, so the
// directory tree has more than one node.
CompoundFileBuilder Document(int version, const std::string& summary) {
    CompoundFileBuilder builder(version);
    builder.AddStream(u"WordDocument", std::string(5000, 'w'))
        .AddStream(u"1Table", std::string(700, 't'))
        .AddStream(kSummaryName, summary)
        .AddStream(u"\x05"
                   u"DocumentSummaryInformation",
                   std::string(200, 'd'));
    return builder;
}
constexpr std::uint32_t kSummaryEntry = 3;

std::string StreamBytes(const CompoundFile& file, std::uint32_t entry) {
    CompoundFileStream layout;
    if (!file.GetStreamLayout(entry, layout))
        return "<no layout>";
    const CompoundFileStreamReader reader(file, layout);
    std::string bytes(reader.Size(), '\0');
    return reader.ReadAt(0, bytes.data(), bytes.size()) ? bytes : "<unreadable>";
}

struct Layout {
    const char* name;
    int version;
    std::size_t blob; // 0 keeps the set in the mini stream
};

class ACompoundFileLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(ACompoundFileLayout, givesTheSummaryStreamBackWhereTheWriterPutIt) {
    const std::string summary = Summary(GetParam().blob);
    CompoundFileBuilder builder = Document(GetParam().version, summary);
    const std::string bytes = builder.Build();
    const MemoryByteReader source(bytes.data(), bytes.size());
    CompoundFile file(source);
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.MajorVersion(), GetParam().version);
    std::uint32_t entry = 0;
    ASSERT_TRUE(file.FindRootStream(L"\x05summaryinformation", entry)); // case of A-Z ignored
    EXPECT_EQ(entry, kSummaryEntry);
    CompoundFileStream layout;
    ASSERT_TRUE(file.GetStreamLayout(entry, layout));
    EXPECT_EQ(layout.inMiniStream, GetParam().blob == 0);
    const std::size_t start = layout.inMiniStream ? builder.MiniOffset(builder.StartOf(entry))
                                                  : builder.SectorOffset(builder.StartOf(entry));
    std::uint64_t at = 0;
    ASSERT_TRUE(layout.FileOffsetOf(0, at));
    EXPECT_EQ(at, start);
    ASSERT_TRUE(layout.FileOffsetOf(summary.size() - 1, at));
    EXPECT_EQ(bytes.substr(at, 1), summary.substr(summary.size() - 1));
    EXPECT_FALSE(layout.FileOffsetOf(summary.size(), at));
    EXPECT_EQ(StreamBytes(file, entry), summary);
    EXPECT_EQ(StreamBytes(file, 1), std::string(5000, 'w'));
}

INSTANTIATE_TEST_SUITE_P(Layouts, ACompoundFileLayout,
                         ::testing::Values(Layout{"v3mini", 3, 0}, Layout{"v3regular", 3, 6000},
                                           Layout{"v4mini", 4, 0}, Layout{"v4regular", 4, 9000}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ACompoundFile, followsTheDifatChainOfALargeFile) {
    // More than 109 FAT sectors: the header's DIFAT is not enough.
    CompoundFileBuilder builder(3);
    std::string big(7'500'000, 'x');
    big.replace(big.size() - 4, 4, "tail");
    builder.AddStream(u"Big", big).AddStream(kSummaryName, Summary());
    const std::string bytes = builder.Build();
    ASSERT_GT(builder.fatSectors.size(), 109u);
    const MemoryByteReader source(bytes.data(), bytes.size());
    CompoundFile file(source);
    ASSERT_TRUE(file.Open());
    CompoundFileStream layout;
    ASSERT_TRUE(file.GetStreamLayout(1, layout));
    EXPECT_EQ(layout.extents.size(), 1u); // contiguous sectors make one run
    EXPECT_EQ(StreamBytes(file, 1).substr(big.size() - 4), "tail");
    OFFICEDATESITEM item;
    EXPECT_TRUE(PropertyUtils::ReadCompoundFileDates(source, item));
    EXPECT_FALSE(item.Created.empty());
}

TEST(ACompoundFile, rejectsBytesThatAreNoCompoundFile) {
    for (const std::string& bytes : {std::string(), std::string(7, '\xD0'), std::string(4096, 'a'),
                                     std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)}) {
        const MemoryByteReader source(bytes.data(), bytes.size());
        CompoundFile file(source);
        EXPECT_FALSE(file.Open());
        std::uint32_t entry = 0;
        EXPECT_FALSE(file.FindRootStream(L"x", entry));
    }
}

// One damage done to a sound document whose summary set lies in the mini
// stream (or, with `regular`, in regular sectors).
struct Damage {
    const char* name;
    bool regular;
    std::function<void(std::string&, const CompoundFileBuilder&)> apply;
};

void Corrupt(std::string& b, std::size_t at, std::uint32_t v) {
    Put32(b, at, v);
}

const Damage kDamages[] = {
    {"byteOrder", false, [](std::string& b, auto&) { b[28] = 0; }},
    {"sectorShift", false, [](std::string& b, auto&) { b[30] = 10; }},
    {"hugeFatCount", false, [](std::string& b, auto&) { Corrupt(b, 44, 0xFFFFFFF0); }},
    {"fatSectorPastEnd", false, [](std::string& b, auto&) { Corrupt(b, 76, 0x00FFFFFF); }},
    {"directoryPastEnd", false, [](std::string& b, auto&) { Corrupt(b, 48, 0x7FFFFFF0); }},
    {"truncated", false, [](std::string& b, auto&) { b.resize(b.size() / 2); }},
    {"cyclicDirectoryChain", false,
     [](std::string& b, const CompoundFileBuilder& f) {
         Corrupt(b, f.FatEntryOffset(f.directoryStart), f.directoryStart);
     }},
    {"cyclicFatChain", true,
     [](std::string& b, const CompoundFileBuilder& f) {
         const std::uint32_t s = f.StartOf(kSummaryEntry);
         Corrupt(b, f.FatEntryOffset(s + 1), s);
     }},
    {"chainPastEnd", true,
     [](std::string& b, const CompoundFileBuilder& f) {
         Corrupt(b, f.FatEntryOffset(f.StartOf(kSummaryEntry)), 0x7FFFFFF0);
     }},
    {"cyclicMiniChain", false,
     [](std::string& b, const CompoundFileBuilder& f) {
         const std::uint32_t s = f.StartOf(kSummaryEntry);
         Corrupt(b, f.MiniFatEntryOffset(s), s);
     }},
    {"miniSectorPastMiniStream", false,
     [](std::string& b, const CompoundFileBuilder& f) {
         Corrupt(b, f.DirEntryOffset(kSummaryEntry) + 116, 0x00FFFFFF);
     }},
    {"sizePastEnd", true,
     [](std::string& b, const CompoundFileBuilder& f) {
         Corrupt(b, f.DirEntryOffset(kSummaryEntry) + 120, 0x7FFFFFFF);
     }},
    {"miniStreamPastEnd", false,
     [](std::string& b, const CompoundFileBuilder& f) {
         Corrupt(b, f.DirEntryOffset(0) + 120, 0x7FFFFFFF);
     }},
    {"hugeMiniFatCount", false, [](std::string& b, auto&) { Corrupt(b, 64, 0xFFFFFFF0); }},
    {"childIdOutOfRange", false,
     [](std::string& b, const CompoundFileBuilder& f) {
         Corrupt(b, f.DirEntryOffset(0) + 76, 9999);
     }},
    {"siblingLoop", false,
     [](std::string& b, const CompoundFileBuilder& f) {
         Corrupt(b, f.DirEntryOffset(0) + 76, 1);
         Corrupt(b, f.DirEntryOffset(1) + 68, 1);
         Corrupt(b, f.DirEntryOffset(1) + 72, 1);
     }},
    {"rootNotARoot", false,
     [](std::string& b, const CompoundFileBuilder& f) { b[f.DirEntryOffset(0) + 66] = 1; }},
    {"hugePropertyCount", false,
     [](std::string& b, const CompoundFileBuilder& f) {
         Corrupt(b, f.MiniOffset(f.StartOf(kSummaryEntry)) + PropertySetBuilder::kSectionOffset + 4,
                 0x10000000);
     }},
    {"sectionPastStream", false,
     [](std::string& b, const CompoundFileBuilder& f) {
         Corrupt(b, f.MiniOffset(f.StartOf(kSummaryEntry)) + 44, 0x7FFFFF00);
     }},
    {"sectionSizePastStream", true,
     [](std::string& b, const CompoundFileBuilder& f) {
         Corrupt(b, f.SectorOffset(f.StartOf(kSummaryEntry)) + PropertySetBuilder::kSectionOffset,
                 0xFFFFFFF0);
     }},
};

class ADamagedCompoundFile : public ::testing::TestWithParam<Damage> {};

TEST_P(ADamagedCompoundFile, givesNoDatesQuickly) {
    CompoundFileBuilder builder = Document(3, Summary(GetParam().regular ? 5000 : 0));
    std::string bytes = builder.Build();
    GetParam().apply(bytes, builder);
    const MemoryByteReader source(bytes.data(), bytes.size());
    OFFICEDATESITEM item{L"x", L"x", L"x"};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(PropertyUtils::ReadCompoundFileDates(source, item));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(item.Created, L"");
    EXPECT_EQ(item.LastSaved, L"");
    EXPECT_EQ(item.LastPrinted, L"");
}

INSTANTIATE_TEST_SUITE_P(Damages, ADamagedCompoundFile, ::testing::ValuesIn(kDamages),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ACompoundFile, rejectsAFatSectorListedTwice) {
    // Reading the same sector as every FAT sector would multiply the work.
    CompoundFileBuilder builder(3);
    builder.AddStream(u"A", std::string(300'000, 'a')).AddStream(kSummaryName, Summary());
    std::string bytes = builder.Build();
    for (std::size_t i = 1; i < builder.fatSectors.size(); ++i)
        Put32(bytes, 76 + 4 * i, builder.fatSectors[0]);
    const MemoryByteReader source(bytes.data(), bytes.size());
    CompoundFile file(source);
    EXPECT_FALSE(file.Open());
}

} // namespace
