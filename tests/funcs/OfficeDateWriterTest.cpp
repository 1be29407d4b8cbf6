#include "../utils/CompoundFileBuilder.h"

#include <KelmLibraryFuncs/OfficePropertyFuncs.h>
#include <KelmLibraryUtils/CompoundFile.h>
#include <KelmLibraryUtils/OoxmlCoreProperties.h>
#include <KelmLibraryUtils/PropertySetReader.h>
#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>
#include <TempDir.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>
#include <sstream>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace KelmLibraryFuncs;
using KelmLibraryUtils::ClassId;
using kelmtest::CompoundFileBuilder;
using kelmtest::PropertySetBuilder;

namespace {

constexpr std::uint64_t kOld = 132'000'000'000'000'000; // 2019
constexpr std::uint64_t kNew = 133'500'000'000'000'000; // 2024
const std::u16string kSummaryName = u"\x05SummaryInformation";

std::string ReadBytes(const std::string& native) {
    std::ifstream in(native, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The date `id` as this system's reader sees it; false when it cannot.
bool ReadDate(const std::string& file, std::uint32_t id, std::uint64_t& fileTime) {
    using namespace KelmLibraryUtils;
    const MemoryByteReader bytes(file.data(), file.size());
    CompoundFile compound(bytes);
    std::uint32_t entry = 0;
    CompoundFileStream layout;
    if (!compound.Open() || !compound.FindRootStream(L"\x05SummaryInformation", entry) ||
        !compound.GetStreamLayout(entry, layout))
        return false;
    const CompoundFileStreamReader stream(compound, std::move(layout));
    PropertySetReader reader(stream);
    PropertySetReader::Property property;
    if (!reader.OpenSection(PropertySetReader::kSummaryInformation) ||
        !reader.ReadProperty(id, property) || property.type != 64)
        return false;
    fileTime = property.fileTime;
    return true;
}

// Every stream's digest and every summary property, as python3-olefile reads
// them: "stream <name> <sha256>" and "prop <id> <value>" lines.
const char* const kOlefileScript = R"(
import hashlib, sys, olefile
ole = olefile.OleFileIO(sys.argv[1])
for s in ole.listdir(streams=True, storages=False):
    print('stream', ascii('/'.join(s)), hashlib.sha256(ole.openstream(s).read()).hexdigest())
if ole.exists('\x05SummaryInformation'):
    for k, v in sorted(ole.getproperties('\x05SummaryInformation', convert_time=False).items()):
        print('prop', k, v if isinstance(v, int) else hashlib.sha256(ascii(v).encode()).hexdigest())
)";

bool HaveOlefile() {
    return std::system("/usr/bin/python3 -c 'import olefile' 2>/dev/null") == 0;
}

std::map<std::string, std::string> Olefile(const std::string& native) {
    const std::string script = native + ".py";
    std::ofstream(script) << kOlefileScript;
    std::map<std::string, std::string> seen;
    FILE* pipe = popen(("/usr/bin/python3 '" + script + "' '" + native + "'").c_str(), "r");
    char line[512];
    while (pipe && std::fgets(line, sizeof line, pipe)) {
        std::istringstream fields(line);
        std::string kind, key, value;
        fields >> kind >> key >> value;
        seen[kind + " " + key] = value;
    }
    if (!pipe || pclose(pipe) != 0)
        seen["error"] = "olefile failed";
    std::remove(script.c_str());
    return seen;
}

// Everything olefile reads after the write equals what it read before, except
// the summary stream and the dates `ids`, which read `fileTime`.
void ExpectOnlyDatesChanged(std::map<std::string, std::string> before,
                            std::map<std::string, std::string> after,
                            std::initializer_list<std::uint32_t> ids, std::uint64_t fileTime) {
    const std::string summary = "stream '\\x05SummaryInformation'";
    ASSERT_EQ(after.count("error"), 0u);
    ASSERT_EQ(after.count(summary), 1u);
    EXPECT_NE(after[summary], before[summary]);
    before.erase(summary);
    after.erase(summary);
    for (const std::uint32_t id : ids) {
        const std::string prop = "prop " + std::to_string(id);
        // olefile gives an unconverted file time in whole seconds.
        EXPECT_EQ(after[prop], std::to_string(fileTime / 10'000'000)) << id;
        before.erase(prop);
        after.erase(prop);
    }
    EXPECT_EQ(after, before);
}

// A summary set of exactly `size` bytes (a multiple of 4, at least 128):
// code page, created and last-saved dates, no last-printed date, and a blob
// that makes up the size.
std::string SummaryOfSize(std::size_t size) {
    return PropertySetBuilder()
        .Int16(1, 1252)
        .FileTime(12, kOld)
        .FileTime(13, kOld)
        .Blob(17, size - 128)
        .Build();
}

std::string Document(int version, const std::string& summary) {
    CompoundFileBuilder builder(version);
    builder.AddStream(u"WordDocument", std::string(6000, 'w'))
        .AddStream(u"1Table", std::string(700, 't'))
        .AddStream(kSummaryName, summary);
    return builder.Build();
}

class AnOfficeDateWriter : public ::testing::Test {
protected:
    std::wstring Make(const std::string& contents, const std::string& name = "report.doc") {
        m_native = m_dir.NativeChild(name);
        m_before = contents;
        return m_dir.MakeFile(name, contents);
    }
    std::string Now() const { return ReadBytes(m_native); }
    bool Untouched() const { return Now() == m_before; }

    kelmtest::TempDir m_dir;
    std::string m_native;
    std::string m_before;
};

TEST_F(AnOfficeDateWriter, changesOnlyTheEightBytesOfAPresentDate) {
    const struct {
        int version;
        std::size_t summarySize; // below 4096 in the mini stream, else in sectors
    } cases[] = {{3, 200}, {4, 200}, {3, 5000}, {4, 9000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "v" << c.version << " " << c.summarySize);
        const std::wstring path = Make(Document(c.version, SummaryOfSize(c.summarySize)));
        const auto before =
            HaveOlefile() ? Olefile(m_native) : std::map<std::string, std::string>{};
        for (const std::uint32_t id : {12u, 13u}) {
            const std::string old = Now();
            ASSERT_EQ(OfficePropertyFuncs::SetDumpProps(path, id, kNew, ClassId{}), 1);
            const std::string now = Now();
            ASSERT_EQ(now.size(), old.size());
            std::size_t first = now.size(), last = 0;
            for (std::size_t i = 0; i < now.size(); ++i)
                if (now[i] != old[i])
                    first = std::min(first, i), last = i;
            EXPECT_LT(last - first, 8u);
            std::uint64_t read = 0;
            ASSERT_TRUE(ReadDate(now, id, read));
            EXPECT_EQ(read, kNew);
        }
        if (HaveOlefile())
            ExpectOnlyDatesChanged(before, Olefile(m_native), {12, 13}, kNew);
    }
}

// The last-printed date is missing from these sets. It is added when the
// stream's own sectors hold it, and refused otherwise.
TEST_F(AnOfficeDateWriter, addsAMissingDateWhereTheStreamHasRoom) {
    const std::string padded = SummaryOfSize(200) + std::string(40, '\0');
    const struct {
        int version;
        std::string summary;
        int result;
    } cases[] = {
        {3, SummaryOfSize(200), 1},  // 56 bytes left in the last mini sector
        {4, SummaryOfSize(2000), 1}, // 48 left
        {3, padded, 1},              // zeros after the set absorb it
        {3, SummaryOfSize(5000), 1}, // in sectors, 120 left
        {4, SummaryOfSize(5000), 1},
        {3, SummaryOfSize(256), 0},  // the mini sectors are full
        {3, SummaryOfSize(4076), 0}, // would cross into regular sectors
        {3, SummaryOfSize(5120), 0}, // the sectors are full
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "v" << c.version << " " << c.summary.size());
        const std::wstring path = Make(Document(c.version, c.summary));
        const auto before =
            HaveOlefile() ? Olefile(m_native) : std::map<std::string, std::string>{};
        ASSERT_EQ(OfficePropertyFuncs::SetDumpProps(path, 11, kNew, ClassId{}), c.result);
        if (c.result == 0) {
            EXPECT_TRUE(Untouched());
            continue;
        }
        const std::string now = Now();
        EXPECT_EQ(now.size(), m_before.size());
        std::uint64_t read = 0;
        for (const std::uint32_t id : {12u, 13u})
            EXPECT_TRUE(ReadDate(now, id, read) && read == kOld) << id;
        ASSERT_TRUE(ReadDate(now, 11, read));
        EXPECT_EQ(read, kNew);
        if (HaveOlefile())
            ExpectOnlyDatesChanged(before, Olefile(m_native), {11}, kNew);
        // Once there, the date is overwritten in place.
        ASSERT_EQ(OfficePropertyFuncs::SetDumpProps(path, 11, kOld, ClassId{}), 1);
        EXPECT_TRUE(ReadDate(Now(), 11, read) && read == kOld);
    }
}

TEST_F(AnOfficeDateWriter, findsACompoundFileByItsSignatureNotItsName) {
    const std::wstring path = Make(Document(3, SummaryOfSize(200)), "notes.txt");
    ASSERT_EQ(OfficePropertyFuncs::SetDumpProps(path, 12, kNew, ClassId{}), 1);
    std::uint64_t read = 0;
    EXPECT_TRUE(ReadDate(Now(), 12, read) && read == kNew);
}

TEST_F(AnOfficeDateWriter, leavesFilesItCannotWriteUntouched) {
    const std::string otherSet = [] {
        std::string set = SummaryOfSize(200);
        set[28] ^= 0x01; // another format id
        return set;
    }();
    const std::string withTextDate =
        PropertySetBuilder().Int16(1, 1252).Int32(12, 7).FileTime(13, kOld).Build();
    const struct {
        const char* what;
        std::string contents;
        std::string name;
        ClassId classId;
        std::uint32_t id;
    } cases[] = {
        {"no summary stream",
         CompoundFileBuilder(3).AddStream(u"WordDocument", std::string(6000, 'w')).Build(),
         "plain.doc", ClassId{}, 12},
        {"another property set", Document(3, otherSet), "other.doc", ClassId{}, 12},
        {"a date of another type", Document(3, withTextDate), "typed.doc", ClassId{}, 12},
        {"no date property", Document(3, SummaryOfSize(200)), "count.doc", ClassId{}, 14},
        {"an Office Open XML package", "PK\x03\x04 not really a zip", "report.docx",
         KelmLibraryUtils::OoxmlCoreProperties::kHandlerClassId, 12},
        {"a text file", "just text", "notes.txt", ClassId{}, 12},
    };
    for (const auto& c : cases) {
        const std::wstring path = Make(c.contents, c.name);
        EXPECT_EQ(OfficePropertyFuncs::SetDumpProps(path, c.id, kNew, c.classId), 0) << c.what;
        EXPECT_TRUE(Untouched()) << c.what;
    }
}

// Each file is sound but for one field; the writer must not trust any of
// them, even where a reader would still find the date.
TEST_F(AnOfficeDateWriter, refusesInconsistentCompoundFiles) {
    struct Case {
        const char* what;
        std::size_t summarySize;
        void (*corrupt)(std::string& file, CompoundFileBuilder& b);
    };
    const Case cases[] = {
        {"a cyclic chain", 5000,
         [](std::string& f, CompoundFileBuilder& b) {
             kelmtest::Put32(f, b.FatEntryOffset(b.StartOf(3) + 1), b.StartOf(3));
         }},
        {"another stream in the same sectors", 5000,
         [](std::string& f, CompoundFileBuilder& b) {
             kelmtest::Put32(f, b.DirEntryOffset(1) + 116, b.StartOf(3));
             kelmtest::Put32(f, b.DirEntryOffset(1) + 120, 5000);
         }},
        {"another stream in the same mini sectors", 200,
         [](std::string& f, CompoundFileBuilder& b) {
             kelmtest::Put32(f, b.DirEntryOffset(2) + 116, b.StartOf(3));
             kelmtest::Put32(f, b.DirEntryOffset(2) + 120, 200);
         }},
        {"the stream in the FAT's sector", 200,
         [](std::string& f, CompoundFileBuilder& b) {
             kelmtest::Put32(f, b.DirEntryOffset(0) + 116, b.fatSectors[0]);
         }},
        {"a stream size past the end of the file", 200,
         [](std::string& f, CompoundFileBuilder& b) {
             kelmtest::Put32(f, b.DirEntryOffset(3) + 120, static_cast<std::uint32_t>(f.size()));
         }},
        {"a property offset outside its section", 200,
         [](std::string& f, CompoundFileBuilder& b) {
             // The table entry of the second property (id 12).
             kelmtest::Put32(f, b.MiniOffset(b.StartOf(3)) + 48 + 8 + 8 + 4, 4000);
         }},
        {"a truncated file", 5000, [](std::string& f, CompoundFileBuilder&) { f.resize(2000); }},
    };
    for (const Case& c : cases) {
        CompoundFileBuilder builder(3);
        builder.AddStream(u"WordDocument", std::string(6000, 'w'))
            .AddStream(u"1Table", std::string(700, 't'))
            .AddStream(kSummaryName, SummaryOfSize(c.summarySize));
        std::string file = builder.Build();
        c.corrupt(file, builder);
        const std::wstring path = Make(file);
        for (const std::uint32_t id : {12u, 11u})
            EXPECT_EQ(OfficePropertyFuncs::SetDumpProps(path, id, kNew, ClassId{}), 0)
                << c.what << " " << id;
        EXPECT_TRUE(Untouched()) << c.what;
    }
}

// Another process holds the document: a child that opens it and then waits
// until the test lets it go.
class Holder {
public:
    enum Kind { RecordReadLock, OpenFileDescriptionLock, SharedFlock, OpenForWriting };

    Holder(const std::string& native, Kind kind) {
        int ready[2];
        if (pipe(ready) != 0 || pipe(m_release) != 0)
            return;
        m_child = fork();
        if (m_child == 0) {
            close(ready[0]);
            close(m_release[1]);
            const int fd = open(native.c_str(), kind == OpenForWriting ? O_WRONLY : O_RDONLY);
            struct flock lock = {};
            lock.l_type = F_RDLCK;
            lock.l_whence = SEEK_SET;
            const bool held =
                fd >= 0 && (kind == RecordReadLock   ? fcntl(fd, F_SETLK, &lock) == 0
                            : kind == SharedFlock    ? flock(fd, LOCK_SH) == 0
                            : kind == OpenForWriting ? true
                                                     : fcntl(fd, F_OFD_SETLK, &lock) == 0);
            const char byte = held ? '1' : '0';
            if (write(ready[1], &byte, 1) == 1)
                while (read(m_release[0], &m_ok, 1) > 0) {
                }
            _exit(0);
        }
        close(ready[1]);
        close(m_release[0]);
        char byte = 0;
        m_ok = read(ready[0], &byte, 1) == 1 && byte == '1';
        close(ready[0]);
    }
    ~Holder() {
        close(m_release[1]);
        if (m_child > 0)
            waitpid(m_child, nullptr, 0);
    }
    bool Holds() const { return m_ok; }

private:
    int m_release[2] = {-1, -1};
    pid_t m_child = -1;
    char m_ok = false;
};

TEST_F(AnOfficeDateWriter, failsWhileAnotherProcessHoldsTheDocument) {
    for (const Holder::Kind kind : {Holder::RecordReadLock, Holder::OpenFileDescriptionLock,
                                    Holder::SharedFlock, Holder::OpenForWriting}) {
        const std::wstring path = Make(Document(3, SummaryOfSize(200)));
        {
            const Holder holder(m_native, kind);
            ASSERT_TRUE(holder.Holds()) << kind;
            EXPECT_EQ(OfficePropertyFuncs::SetDumpProps(path, 12, kNew, ClassId{}), 0) << kind;
            EXPECT_TRUE(Untouched()) << kind;
        }
        EXPECT_EQ(OfficePropertyFuncs::SetDumpProps(path, 12, kNew, ClassId{}), 1) << kind;
    }
}

TEST_F(AnOfficeDateWriter, refusesAReadOnlyDocumentEvenAsRoot) {
    const std::wstring path = Make(Document(3, SummaryOfSize(200)));
    ASSERT_TRUE(KelmPlatform::WriteItemAttributes(path, KelmPlatform::kReadOnly));
    EXPECT_EQ(OfficePropertyFuncs::SetDumpProps(path, 12, kNew, ClassId{}), 0);
    EXPECT_TRUE(Untouched());
    ASSERT_TRUE(KelmPlatform::WriteItemAttributes(path, 0));
    EXPECT_EQ(OfficePropertyFuncs::SetDumpProps(path, 12, kNew, ClassId{}), 1);
}

} // namespace
