#include <KelmLibraryUtils/OoxmlCoreProperties.h>
#include <KelmLibraryUtils/PropertyUtils.h>
#include <TempDir.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace KelmLibraryUtils;

namespace {

constexpr std::uint64_t kTicksPerSecond = 10'000'000;
constexpr std::uint64_t kUnixEpoch = 116'444'736'000'000'000;
constexpr std::uint64_t FileTimeOf(std::int64_t unix) {
    return kUnixEpoch + static_cast<std::uint64_t>(unix) * kTicksPerSecond;
}

// A zip of stored (uncompressed) entries, written by hand so the test
// needs no zip library of its own.
class StoredZip {
public:
    StoredZip& Add(const std::string& name, const std::string& data) {
        m_entries.push_back({name, data, m_bytes.size()});
        LocalHeader(name, data);
        m_bytes += data;
        return *this;
    }
    std::string Bytes() const {
        std::string out = m_bytes, directory;
        for (const Entry& e : m_entries)
            directory += CentralHeader(e);
        out += directory;
        std::string end(22, '\0');
        Put(end, 0, 0x06054b50, 4);
        Put(end, 8, m_entries.size(), 2);
        Put(end, 10, m_entries.size(), 2);
        Put(end, 12, directory.size(), 4);
        Put(end, 16, m_bytes.size(), 4);
        return out + end;
    }

private:
    struct Entry {
        std::string name, data;
        std::size_t offset;
    };
    static void Put(std::string& b, std::size_t at, std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i)
            b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    static std::uint32_t Crc32(const std::string& data) {
        std::uint32_t crc = 0xFFFFFFFF;
        for (unsigned char c : data) {
            crc ^= c;
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
        }
        return ~crc;
    }
    void LocalHeader(const std::string& name, const std::string& data) {
        std::string h(30, '\0');
        Put(h, 0, 0x04034b50, 4);
        Put(h, 4, 20, 2);
        Put(h, 14, Crc32(data), 4);
        Put(h, 18, data.size(), 4);
        Put(h, 22, data.size(), 4);
        Put(h, 26, name.size(), 2);
        m_bytes += h + name;
    }
    static std::string CentralHeader(const Entry& e) {
        std::string h(46, '\0');
        Put(h, 0, 0x02014b50, 4);
        Put(h, 4, 20, 2);
        Put(h, 6, 20, 2);
        Put(h, 16, Crc32(e.data), 4);
        Put(h, 20, e.data.size(), 4);
        Put(h, 24, e.data.size(), 4);
        Put(h, 28, e.name.size(), 2);
        Put(h, 42, e.offset, 4);
        return h + e.name;
    }
    std::vector<Entry> m_entries;
    std::string m_bytes;
};

const std::string kRels =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
    "relationships/officeDocument\" Target=\"word/document.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/"
    "relationships/metadata/core-properties\" Target=\"PART\"/></Relationships>";

std::string Rels(const std::string& part) {
    std::string rels = kRels;
    return rels.replace(rels.find("PART"), 4, part);
}

std::string CoreXml(const std::string& created, const std::string& modified,
                    const std::string& printed) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<cp:coreProperties "
           "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
           "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
           "<dc:title>Plan</dc:title><dc:creator>A</dc:creator>"
           "<cp:lastPrinted>" +
           printed +
           "</cp:lastPrinted>"
           "<dcterms:created xsi:type=\"dcterms:W3CDTF\">" +
           created +
           "</dcterms:created>"
           "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">" +
           modified + "</dcterms:modified></cp:coreProperties>";
}

const std::string kCore =
    CoreXml("2021-03-04T05:06:07Z", "2021-04-13T05:06:07Z", "2021-03-04T14:06:14+09:00");

std::wstring Shown(std::int64_t unix) {
    return PropertyUtils::GetFormatedFileTime(FileTimeOf(unix));
}

TEST(AW3cdtfText, becomesAUtcFileTime) {
    const struct {
        const wchar_t* text;
        std::int64_t unix; // -1: rejected
    } cases[] = {
        {L"2021-03-04T05:06:07Z", 1614834367},
        {L"2021-03-04T05:06:07.123456Z", 1614834367},
        {L"2021-03-04T14:06:07+09:00", 1614834367},
        {L"2021-03-03T23:36:07-05:30", 1614834367},
        {L"2021-03-04T05:06Z", 1614834360},
        {L"2021-03-04T05:06:07", 1614834367}, // no zone: UTC
        {L"2021-03-04", 1614816000},
        {L"2021-03", 1614556800},
        {L"2021", 1609459200},
        {L"2021-02-29T00:00:00Z", -1},
        {L"2021-13-01", -1},
        {L"2021-03-04T24:00:00Z", -1},
        {L"2021-03-04T05:06:07+9:00", -1},
        {L"2021-03-04 05:06:07Z", -1},
        {L"1601-01-01T00:30:00+01:00", -1}, // before 1601 in UTC
        {L"", -1},
        {L"yesterday", -1},
    };
    for (const auto& c : cases) {
        KelmPlatform::FileTime ft = 0;
        const int ok = OoxmlCoreProperties::ParseW3cdtf(c.text, ft);
        EXPECT_EQ(ok != 0, c.unix >= 0) << c.text;
        if (ok && c.unix >= 0) {
            EXPECT_EQ(ft, FileTimeOf(c.unix)) << c.text;
        }
    }
}

TEST(AnOoxmlDocument, showsItsCoreDatesThroughTheHandlerClassId) {
    kelmtest::TempDir dir;
    const std::wstring path =
        dir.MakeFile("plan.docx", StoredZip()
                                      .Add("[Content_Types].xml", "<Types/>")
                                      .Add("_rels/.rels", Rels("docProps/core.xml"))
                                      .Add("docProps/core.xml", kCore)
                                      .Bytes());
    const ClassId handler = OoxmlCoreProperties::kHandlerClassId;
    EXPECT_EQ(PropertyUtils::GetDumpProps(path, 12, handler), Shown(1614834367));
    EXPECT_EQ(PropertyUtils::GetDumpProps(path, 13, handler), Shown(1614834367 + 86400 * 40));
    EXPECT_EQ(PropertyUtils::GetDumpProps(path, 11, handler), Shown(1614834367 + 7));
    EXPECT_EQ(PropertyUtils::GetDumpProps(path, 2, handler), L"");
    EXPECT_EQ(PropertyUtils::GetDumpProps(path, 12, ClassId{}), L""); // no handler, no dates
    OFFICEDATESITEM item;
    ASSERT_TRUE(PropertyUtils::ReadOfficeDates(path, handler, item));
    EXPECT_EQ(item.Created, Shown(1614834367));
    EXPECT_EQ(item.LastPrinted, Shown(1614834367 + 7));
}

TEST(AnOoxmlDocument, findsItsCorePartWhereTheRelationshipsPutIt) {
    const std::string bytes = StoredZip()
                                  .Add("_rels/.rels", Rels("/meta/props.xml"))
                                  .Add("docProps/core.xml", CoreXml("1999-01-01", "", ""))
                                  .Add("meta/props.xml", kCore)
                                  .Bytes();
    OoxmlCoreProperties::Dates dates;
    ASSERT_TRUE(OoxmlCoreProperties::ReadBuffer(bytes.data(), bytes.size(), dates));
    EXPECT_EQ(dates.created, FileTimeOf(1614834367));
}

TEST(AnOoxmlDocument, withoutADateLeavesItsTextEmpty) {
    const std::string bytes =
        StoredZip().Add("docProps/core.xml", CoreXml("2021-03-04", "", "not a date")).Bytes();
    OoxmlCoreProperties::Dates dates;
    ASSERT_TRUE(OoxmlCoreProperties::ReadBuffer(bytes.data(), bytes.size(), dates));
    EXPECT_EQ(dates.created, FileTimeOf(1614816000));
    EXPECT_EQ(dates.modified, 0u);
    EXPECT_EQ(dates.lastPrinted, 0u);
}

TEST(ABrokenOoxmlDocument, givesNoDates) {
    const std::string good = StoredZip().Add("docProps/core.xml", kCore).Bytes();
    std::string badCrc = good;
    badCrc[30 + 17 + 200] ^= 1; // a byte of core.xml
    const std::string cases[] = {
        "",
        "PK\x03\x04 and nothing else",
        good.substr(0, good.size() / 2),
        badCrc,
        StoredZip().Add("docProps/other.xml", kCore).Bytes(),
        StoredZip().Add("docProps/core.xml", kCore.substr(0, kCore.size() - 30)).Bytes(),
        StoredZip().Add("docProps/core.xml", "<a><b></a>").Bytes(),
        // Larger than any core part: refused however it is stored.
        StoredZip()
            .Add("docProps/core.xml", kCore + "<!--" + std::string(1 << 20, ' ') + "-->")
            .Bytes(),
    };
    for (const std::string& bytes : cases) {
        OoxmlCoreProperties::Dates dates;
        EXPECT_FALSE(OoxmlCoreProperties::ReadBuffer(bytes.data(), bytes.size(), dates));
        EXPECT_EQ(dates.created, 0u);
    }
}

// Deflated parts from an independent writer, Python's zipfile: a sound
// document reads, and a part that inflates to 8 MiB is refused early.
TEST(AnOoxmlDocument, fromAnotherZipWriterReadsAndItsZipBombDoesNot) {
    if (std::system("/usr/bin/python3 -c 'import zipfile, zlib' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 is not installed";
    kelmtest::TempDir dir;
    dir.MakeFile("core.xml", kCore);
    const std::string script =
        "import sys, zipfile\n"
        "d = sys.argv[1]\n"
        "with zipfile.ZipFile(d + '/good.xlsx', 'w', zipfile.ZIP_DEFLATED) as z:\n"
        "    z.write(d + '/core.xml', 'docProps/core.xml')\n"
        "with zipfile.ZipFile(d + '/bomb.xlsx', 'w', zipfile.ZIP_DEFLATED) as z:\n"
        "    z.writestr('docProps/core.xml', b'<a>' + b' ' * (8 << 20) + b'</a>')\n";
    const std::string command = "/usr/bin/python3 -c \"" + script + "\" '" + dir.Native() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const ClassId handler = OoxmlCoreProperties::kHandlerClassId;
    EXPECT_EQ(PropertyUtils::GetDumpProps(dir.Child(L"good.xlsx"), 12, handler), Shown(1614834367));
    EXPECT_EQ(PropertyUtils::GetDumpProps(dir.Child(L"bomb.xlsx"), 12, handler), L"");
}

TEST(TheOoxmlExtensions, areKnownInAnyLetterCase) {
    for (const wchar_t* ext : {L".docx", L".DOCM", L".dotx", L".dotm", L".xlsx", L".xlsm", L".XlsB",
                               L".xltx", L".xltm", L".pptx", L".pptm", L".potx", L".potm"})
        EXPECT_TRUE(OoxmlCoreProperties::IsHandledExtension(ext)) << ext;
    for (const wchar_t* ext : {L".doc", L".docxx", L"docx", L".odt", L""})
        EXPECT_FALSE(OoxmlCoreProperties::IsHandledExtension(ext)) << ext;
}

} // namespace
