#include "CompoundFileBuilder.h"

#include <KelmLibraryUtils/OoxmlCoreProperties.h>
#include <KelmLibraryUtils/PropertySetReader.h>
#include <KelmLibraryUtils/PropertyUtils.h>
#include <TempDir.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

using namespace KelmLibraryUtils;
using kelmtest::CompoundFileBuilder;
using kelmtest::PropertySetBuilder;

namespace {

constexpr std::uint64_t kTicksPerSecond = 10'000'000;
constexpr std::uint64_t kUnixEpoch = 116'444'736'000'000'000;

// 2021-03-04 05:06:07 UTC and two later moments.
constexpr std::time_t kCreatedUnix = 1614834367;
constexpr std::uint64_t FileTimeOf(std::time_t unix) {
    return kUnixEpoch + static_cast<std::uint64_t>(unix) * kTicksPerSecond;
}

// The display text of a UTC moment with the offset in force now.
std::wstring LocalText(std::time_t unix) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::time_t shifted = unix + local.tm_gmtoff;
    std::tm t{};
    gmtime_r(&shifted, &t);
    wchar_t text[32];
    std::swprintf(text, 32, L"%04d/%02d/%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

std::string Document(int version, const std::string& summary) {
    CompoundFileBuilder builder(version);
    builder.AddStream(u"WordDocument", std::string(6000, 'w'))
        .AddStream(u"\x05SummaryInformation", summary);
    return builder.Build();
}

std::string FullSummary() {
    return PropertySetBuilder()
        .Int16(1, 1252)
        .Text(2, "2020/01/01 00:00:00") // a title that looks like a date
        .FileTime(12, FileTimeOf(kCreatedUnix))
        .FileTime(13, FileTimeOf(kCreatedUnix + 86400 * 40))
        .FileTime(11, FileTimeOf(kCreatedUnix + 7))
        .Int32(14, 3)
        .FileTime(15, 0)
        .Build();
}

TEST(PropertyUtilsDumpProps, showsEachDateAsLocalTimeAndOtherTypesAsNoDate) {
    kelmtest::TempDir dir;
    const std::wstring path = dir.MakeFile("report.doc", Document(3, FullSummary()));
    const struct {
        std::uint32_t id;
        std::wstring text;
    } cases[] = {
        {12, LocalText(kCreatedUnix)},
        {13, LocalText(kCreatedUnix + 86400 * 40)},
        {11, LocalText(kCreatedUnix + 7)},
        {14, L"3"}, // an integer shows as itself, which no getter takes for a date
        {2, L""},   // a string is no date, whatever it says
        {15, L""},  // a file time of 0 means "never"
        {19, L""},  // missing
    };
    for (const auto& c : cases)
        EXPECT_EQ(PropertyUtils::GetDumpProps(path, c.id, ClassId{}), c.text) << c.id;
}

TEST(PropertyUtilsDumpProps, looksAtTheSignatureNotTheExtension) {
    kelmtest::TempDir dir;
    const std::wstring path = dir.MakeFile("notes.txt", Document(4, FullSummary()));
    EXPECT_EQ(PropertyUtils::GetDumpProps(path, 12, ClassId{}), LocalText(kCreatedUnix));
    const std::wstring plain = dir.MakeFile("plain.doc", "just text, not a compound file");
    EXPECT_EQ(PropertyUtils::GetDumpProps(plain, 12, ClassId{}), L"");
    EXPECT_EQ(PropertyUtils::GetDumpProps(plain, 12, OoxmlCoreProperties::kHandlerClassId), L"");
    EXPECT_EQ(PropertyUtils::GetDumpProps(dir.Child(L"missing.doc"), 12, ClassId{}), L"");
}

TEST(PropertyUtilsOfficeDates, readsAllThreeDatesWithoutTouchingTheAccessedTime) {
    kelmtest::TempDir dir;
    const std::wstring path = dir.MakeFile("sheet.xls", Document(3, FullSummary()));
    const std::string native = dir.NativeChild("sheet.xls");
    const timespec times[2] = {{1'000'000'000, 0}, {1'100'000'000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, native.c_str(), times, 0), 0);
    OFFICEDATESITEM item;
    ASSERT_TRUE(PropertyUtils::ReadOfficeDates(path, ClassId{}, item));
    EXPECT_EQ(item.Created, LocalText(kCreatedUnix));
    EXPECT_EQ(item.LastSaved, LocalText(kCreatedUnix + 86400 * 40));
    EXPECT_EQ(item.LastPrinted, LocalText(kCreatedUnix + 7));
    struct stat st;
    ASSERT_EQ(stat(native.c_str(), &st), 0);
    EXPECT_EQ(st.st_atim.tv_sec, 1'000'000'000);
}

TEST(PropertyUtilsOfficeDates, failsForADocumentWithoutSummaryInformation) {
    kelmtest::TempDir dir;
    CompoundFileBuilder builder(3);
    builder.AddStream(u"WordDocument", std::string(100, 'w'));
    const std::wstring path = dir.MakeFile("bare.doc", builder.Build());
    OFFICEDATESITEM item{L"x", L"x", L"x"};
    EXPECT_FALSE(PropertyUtils::ReadOfficeDates(path, ClassId{}, item));
    EXPECT_EQ(item.Created + item.LastSaved + item.LastPrinted, L"");
}

TEST(PropertyUtilsIsOLE2Document, looksAtTheFirstEightBytesOfAFile) {
    kelmtest::TempDir dir;
    const std::string signature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    EXPECT_TRUE(PropertyUtils::IsOLE2Document(dir.MakeFile("a.txt", signature)));
    EXPECT_FALSE(PropertyUtils::IsOLE2Document(dir.MakeFile("b.doc", signature.substr(0, 7))));
    EXPECT_FALSE(PropertyUtils::IsOLE2Document(dir.MakeFile("c.doc", "PK\x03\x04 not this")));
    EXPECT_FALSE(PropertyUtils::IsOLE2Document(dir.MakeFolder("d.doc")));
    EXPECT_FALSE(PropertyUtils::IsOLE2Document(dir.Child(L"missing.doc")));
}

// olefile, an independent reader, must read the same date from our
// builder's files, so the builder (and our reading of it) is sound.
std::string OlefileCreateTime(const std::string& path) {
    const std::string script =
        "import sys, olefile\n"
        "o = olefile.OleFileIO(sys.argv[1])\n"
        "print(o.get_metadata().create_time.strftime('%Y-%m-%d %H:%M:%S'))\n";
    const std::string command = "/usr/bin/python3 -c \"" + script + "\" '" + path + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {};
    char line[128] = {};
    const bool got = fgets(line, sizeof line, pipe) != nullptr;
    pclose(pipe);
    std::string text = got ? line : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

bool HasOlefile() {
    return std::system("/usr/bin/python3 -c 'import olefile' >/dev/null 2>&1") == 0;
}

TEST(PropertyUtilsDumpProps, agreesWithOlefileOnBothVersions) {
    if (!HasOlefile())
        GTEST_SKIP() << "python3-olefile is not installed";
    kelmtest::TempDir dir;
    for (int version : {3, 4}) {
        const std::string name = "v" + std::to_string(version) + ".doc";
        const std::wstring path = dir.MakeFile(name, Document(version, FullSummary()));
        EXPECT_EQ(OlefileCreateTime(dir.NativeChild(name)), "2021-03-04 05:06:07");
        EXPECT_EQ(PropertyUtils::GetDumpProps(path, 12, ClassId{}), LocalText(kCreatedUnix));
    }
}

// The property set alone, as the reader sees a stream.
TEST(APropertySet, rejectsTablesAndValuesOutsideItsSection) {
    const std::string good = PropertySetBuilder().FileTime(12, 5).Int32(14, 9).Build();
    const std::size_t section = PropertySetBuilder::kSectionOffset;
    const struct {
        const char* name;
        std::size_t at;
        std::uint32_t value;
    } damages[] = {
        {"byteOrder", 0, 0xFFFF},
        {"sectionCount", 24, 0x7FFFFFFF},
        {"sectionOffset", 44, 0xFFFFFFF0},
        {"sectionSize", section, 0xFFFFFFF0},
        {"propertyCount", section + 4, 0x0FFFFFFF},
        {"valueOffset", section + 12, 0x7FFFFFF0},
        {"valueInHeader", section + 12, 4},
    };
    for (const auto& d : damages) {
        std::string bytes = good;
        kelmtest::Put32(bytes, d.at, d.value);
        const MemoryByteReader stream(bytes.data(), bytes.size());
        PropertySetReader reader(stream);
        PropertySetReader::Property property;
        EXPECT_FALSE(reader.OpenSection(PropertySetReader::kSummaryInformation) &&
                     reader.ReadProperty(12, property))
            << d.name;
    }
    const MemoryByteReader stream(good.data(), good.size());
    PropertySetReader reader(stream);
    PropertySetReader::Property property;
    ASSERT_TRUE(reader.OpenSection(PropertySetReader::kSummaryInformation));
    ASSERT_TRUE(reader.ReadProperty(12, property));
    EXPECT_EQ(property.type, PropertySetReader::kTypeFileTime);
    EXPECT_EQ(property.fileTime, 5u);
    EXPECT_EQ(property.valueOffset, section + 8 + 16);
    ASSERT_TRUE(reader.ReadProperty(14, property));
    EXPECT_EQ(property.text, L"9");
    EXPECT_FALSE(reader.ReadProperty(13, property));
    EXPECT_FALSE(reader.OpenSection(ClassId{}));
}

} // namespace
