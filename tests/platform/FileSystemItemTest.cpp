// The platform layer on real files of the machine's own file system, which
// stores Windows metadata in user.DOSATTRIB.
#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/ContentReader.h>
#include <KelmPlatform/DosAttrib.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace KelmPlatform;

namespace {

constexpr FileTime kNoon2020 = 132'223'104'000'000'000ull; // 2020-01-01 12:00 UTC-ish
constexpr FileTime kSecond = kTicksPerSecond;

struct statx Lstatx(const std::string& native) {
    struct statx stx {};
    statx(AT_FDCWD, native.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &stx);
    return stx;
}

std::uint32_t Attributes(const std::wstring& path) {
    std::uint32_t bits = 0xFFFFFFFF;
    EXPECT_TRUE(ReadItemAttributes(path, bits));
    return bits;
}

std::optional<DosInfo> StoredDosInfo(const std::string& native) {
    char buffer[256];
    const ssize_t size = lgetxattr(native.c_str(), kDosAttribName, buffer, sizeof buffer);
    if (size < 0)
        return std::nullopt;
    return DecodeDosAttrib(std::string_view(buffer, size));
}

class AnItemOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        file = dir.MakeFile("file.txt", "contents");
        native = ToNative(file);
        if (setxattr(native.c_str(), "user.probe", "1", 1, 0) != 0)
            GTEST_SKIP() << "the temporary folder has no user xattrs";
        removexattr(native.c_str(), "user.probe");
    }
    kelmtest::TempDir dir;
    std::wstring file;
    std::string native;
};

} // namespace

TEST_F(AnItemOnDisk, keepsTheNanosecondsOfATimeItDoesNotChange) {
    const timespec set[2] = {{1'600'000'000, 123'456'789}, {1'500'000'000, 987'654'321}};
    ASSERT_EQ(utimensat(AT_FDCWD, native.c_str(), set, 0), 0);

    ItemTimes times;
    times.modified = kNoon2020 + 7; // 700 ns past the second
    ASSERT_TRUE(WriteItemTimes(file, times));

    const auto stx = Lstatx(native);
    EXPECT_EQ(stx.stx_atime.tv_sec, 1'600'000'000);
    EXPECT_EQ(stx.stx_atime.tv_nsec, 123'456'789u);
    ItemTimes read;
    ASSERT_TRUE(ReadItemTimes(file, read));
    EXPECT_EQ(read.modified, kNoon2020 + 7);
}

TEST_F(AnItemOnDisk, storesTheCreatedTimeAndKeepsTheStoredAttributes) {
    ASSERT_TRUE(WriteItemAttributes(file, kArchive | kSystem));
    ItemTimes times;
    times.created = kNoon2020;
    ASSERT_TRUE(WriteItemTimes(file, times));

    ItemTimes read;
    ASSERT_TRUE(ReadItemTimes(file, read));
    EXPECT_EQ(read.created, kNoon2020);
    const auto info = StoredDosInfo(native);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->attributes, kArchive | kSystem);
    EXPECT_EQ(info->createTime, kNoon2020);
}

TEST_F(AnItemOnDisk, keepsTheCreatedTimeWhenOnlyAttributesChange) {
    ItemTimes times;
    times.created = kNoon2020;
    ASSERT_TRUE(WriteItemTimes(file, times));
    ASSERT_TRUE(WriteItemAttributes(file, kHidden));
    ItemTimes read;
    ReadItemTimes(file, read);
    EXPECT_EQ(read.created, kNoon2020);
    EXPECT_EQ(Attributes(file) & kSettableAttributes, kHidden);
}

TEST_F(AnItemOnDisk, storesTheCreatedTimeItShowsWhenOnlyAttributesChange) {
    ItemTimes before;
    ReadItemTimes(file, before);
    ASSERT_TRUE(WriteItemAttributes(file, kTemporary));
    ItemTimes after;
    ReadItemTimes(file, after);
    EXPECT_EQ(after.created, before.created);
    EXPECT_EQ(StoredDosInfo(native)->createTime, before.created);
}

TEST_F(AnItemOnDisk, readsTimesAndAttributesInOneQuery) {
    ASSERT_TRUE(WriteItemAttributes(file, kHidden | kArchive));
    ItemInfo info;
    ASSERT_TRUE(ReadItemInfo(file, info));
    ItemTimes times;
    ReadItemTimes(file, times);
    EXPECT_EQ(info.attributes, kHidden | kArchive);
    EXPECT_EQ(info.times.created, times.created);
    EXPECT_EQ(info.times.modified, times.modified);
    EXPECT_EQ(info.size, 8u);
}

TEST_F(AnItemOnDisk, readsModifiedAndAccessedAloneWithoutTheCreatedTime) {
    ItemTimes all, some;
    ASSERT_TRUE(ReadItemTimes(file, all));
    ASSERT_TRUE(ReadItemModifiedAndAccessed(file, some));
    EXPECT_EQ(some.created, 0u);
    EXPECT_EQ(some.modified, all.modified);
    EXPECT_EQ(some.accessed, all.accessed);
    EXPECT_FALSE(ReadItemModifiedAndAccessed(dir.Child(L"missing"), some));
}

TEST_F(AnItemOnDisk, readsArchiveForAPlainFileAndDirectoryForAFolder) {
    EXPECT_EQ(Attributes(file), kArchive);
    const std::wstring folder = dir.MakeFolder("folder");
    EXPECT_EQ(Attributes(folder), kDirectory);
    EXPECT_EQ(Attributes(dir.MakeFile(".profile")), kArchive | kHidden);
}

TEST_F(AnItemOnDisk, roundTripsEverySettableAttribute) {
    const std::uint32_t bits[] = {kReadOnly, kHidden,    kSystem,
                                  kArchive,  kTemporary, kNotContentIndexed};
    for (const std::wstring& item : {file, dir.MakeFolder("folder")}) {
        for (const std::uint32_t bit : bits) {
            ASSERT_TRUE(WriteItemAttributes(item, bit)) << bit;
            EXPECT_EQ(Attributes(item) & kSettableAttributes, bit) << bit;
        }
        ASSERT_TRUE(WriteItemAttributes(item, 0));
        EXPECT_EQ(Attributes(item) & kSettableAttributes, 0u);
    }
}

TEST_F(AnItemOnDisk, makesAFileReadOnlyThroughItsPermissions) {
    chmod(native.c_str(), 0664);
    ASSERT_TRUE(WriteItemAttributes(file, kReadOnly | kArchive));
    EXPECT_EQ(Lstatx(native).stx_mode & 0777, 0444u);

    const mode_t old = umask(022);
    ASSERT_TRUE(WriteItemAttributes(file, kArchive));
    umask(old);
    EXPECT_EQ(Lstatx(native).stx_mode & 0777, 0644u);
}

TEST_F(AnItemOnDisk, refusesATimeChangeOnAReadOnlyFileEvenForRoot) {
    ASSERT_TRUE(WriteItemAttributes(file, kReadOnly));
    const auto before = Lstatx(native);
    ItemTimes times;
    times.modified = kNoon2020;
    EXPECT_FALSE(WriteItemTimes(file, times));
    EXPECT_EQ(LastError(), EACCES);
    EXPECT_EQ(Lstatx(native).stx_mtime.tv_sec, before.stx_mtime.tv_sec);

    ASSERT_TRUE(WriteItemAttributes(file, 0));
    EXPECT_TRUE(WriteItemTimes(file, times));
}

TEST_F(AnItemOnDisk, cannotUnhideADotName) {
    const std::wstring dotted = dir.MakeFile(".hidden");
    EXPECT_FALSE(WriteItemAttributes(dotted, kArchive));
    EXPECT_TRUE(Attributes(dotted) & kHidden);
    EXPECT_TRUE(WriteItemAttributes(dotted, kArchive | kHidden));
}

TEST_F(AnItemOnDisk, treatsASymbolicLinkAsAnItemOfItsOwn) {
    const std::string link = dir.NativeChild("link");
    ASSERT_EQ(symlink(native.c_str(), link.c_str()), 0);
    const std::wstring wideLink = FromNative(link);
    EXPECT_EQ(Attributes(wideLink), kReparsePoint);

    const auto target = Lstatx(native);
    ItemTimes times;
    times.modified = kNoon2020;
    ASSERT_TRUE(WriteItemTimes(wideLink, times));
    EXPECT_EQ(Lstatx(native).stx_mtime.tv_sec, target.stx_mtime.tv_sec);
    ItemTimes read;
    ReadItemTimes(wideLink, read);
    EXPECT_EQ(read.modified, kNoon2020);

    // Linux allows no user xattrs on links: nothing can be stored.
    EXPECT_FALSE(WriteItemAttributes(wideLink, kHidden));
    times = {};
    times.created = kNoon2020;
    EXPECT_FALSE(WriteItemTimes(wideLink, times));
}

TEST_F(AnItemOnDisk, failsEveryOperationOnAMissingItem) {
    const std::wstring missing = dir.Child(L"missing");
    ItemTimes times;
    times.modified = kNoon2020;
    std::uint32_t bits = 0;
    EXPECT_FALSE(ReadItemTimes(missing, times));
    EXPECT_FALSE(WriteItemTimes(missing, times));
    EXPECT_EQ(LastError(), ENOENT);
    EXPECT_FALSE(ReadItemAttributes(missing, bits));
    EXPECT_FALSE(WriteItemAttributes(missing, kHidden));
}

TEST_F(AnItemOnDisk, readsTheEarliestTimeAsCreatedWithoutABirthTime) {
    // Whatever the file system reports, the created time is never after the
    // modified time of an untouched new file.
    ItemTimes read;
    ReadItemTimes(file, read);
    EXPECT_LE(read.created, read.modified + kSecond);
}

TEST_F(AnItemOnDisk, findsAndRemovesEveryKindOfBlockMark) {
    EXPECT_FALSE(BlockMarkExists(file));
    EXPECT_TRUE(RemoveBlockMark(file));

    const std::string stream = "[ZoneTransfer]\r\nZoneId=3\r\n";
    const std::string value = stream + '\0';
    for (const char* name : {"user.DosStream.Zone.Identifier:$DATA", "user.Zone.Identifier",
                             "user.xdg.origin.url", "user.xdg.referrer.url"}) {
        ASSERT_EQ(setxattr(native.c_str(), name, value.data(), value.size(), 0), 0);
        EXPECT_TRUE(BlockMarkExists(file)) << name;
    }
    setxattr(native.c_str(), "user.other", "keep", 4, 0);
    ASSERT_TRUE(RemoveBlockMark(file));
    EXPECT_FALSE(BlockMarkExists(file));
    char kept[8];
    EXPECT_EQ(getxattr(native.c_str(), "user.other", kept, sizeof kept), 4);
}

TEST_F(AnItemOnDisk, isReadWithoutChangingItsAccessedTime) {
    const timespec old[2] = {{1'000'000'000, 5}, {UTIME_OMIT, UTIME_OMIT}};
    ASSERT_EQ(utimensat(AT_FDCWD, native.c_str(), old, 0), 0);
    {
        ContentReader reader(file);
        ASSERT_TRUE(reader.IsOpen());
        char buffer[16];
        EXPECT_EQ(read(reader.Descriptor(), buffer, sizeof buffer), 8);
    }
    const auto stx = Lstatx(native);
    EXPECT_EQ(stx.stx_atime.tv_sec, 1'000'000'000);
    EXPECT_EQ(stx.stx_atime.tv_nsec, 5u);
    EXPECT_FALSE(ContentReader(dir.Child(L"missing")).IsOpen());
}
