// DateTimeFuncs on real files and folders: the item's own date-times as
// inputs, and the three times written and read back through the platform.
#include <KelmLibraryFuncs/AttributesFuncs.h>
#include <KelmLibraryFuncs/DateTimeFuncs.h>
#include <KelmLibraryUtils/LogUtils.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include "../utils/PhotoFixtures.h"
#include "DateTimeFuncsTestValues.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using KelmLibraryFuncs::AttributesFuncs;
using KelmLibraryFuncs::DateTimeFuncs;
using KelmLibraryFuncs::STAGGERITEM;
using KelmPlatform::ItemTimes;
using namespace datetimetest;

namespace {

constexpr int kCreated = DateTimeFuncs::Created;
constexpr int kModified = DateTimeFuncs::Modified;
constexpr int kAccessed = DateTimeFuncs::Accessed;

// File times depend on the time zone, which the test's main sets: not
// before main.
FileTime OwnCreated() {
    return FileTimeAt(2020, 1, 2, 3, 4, 5);
}
FileTime OwnModified() {
    return FileTimeAt(2021, 5, 6, 18, 0, 0) + kSecond / 4;
}
FileTime OwnAccessed() {
    return FileTimeAt(2022, 7, 8, 9, 10, 11) + kSecond / 2;
}

std::string TakenPhoto(const std::string& taken) {
    using namespace photofixtures;
    return WithExif(PlainJpeg(8, 8), Tiff({}, {Ascii(0x9003, taken)}));
}

// The stored creation time needs user xattrs on the temporary folder.
class AnItem : public testing::Test {
protected:
    void SetUp() override {
        if (setxattr(dir.Native().c_str(), "user.probe", "1", 1, 0) != 0)
            GTEST_SKIP() << "the temporary folder has no user xattrs";
        for (const std::wstring& path : {file, folder, photo})
            ASSERT_TRUE(KelmPlatform::WriteItemTimes(path, own));
    }
    ItemTimes Read(const std::wstring& path) const {
        ItemTimes times;
        EXPECT_TRUE(KelmPlatform::ReadItemTimes(path, times));
        return times;
    }

    kelmtest::TempDir dir{"datetimefuncs"};
    std::wstring file = dir.MakeFile("notes.txt", "no photo");
    std::wstring folder = dir.MakeFolder("album");
    std::wstring photo = dir.MakeFile("photo.jpg", TakenPhoto("2019:07:14 09:08:07"));
    std::wstring missing = dir.Child(L"missing.txt");
    ItemTimes own{OwnCreated(), OwnModified(), OwnAccessed()};
};

struct GivenCase {
    const char* why;
    DateTimeValue date, time;
    int kind;
    std::string expected;
};

const DateTimeValue kNull = DateTimeValue::MakeNull();

const GivenCase kGivenCases[] = {
    {"a null date keeps the item's own date", kNull, At(1999, 1, 1, 10), kModified,
     "2021-05-06 10:00:00"},
    {"a null time keeps the item's own time of day", At(2024, 2, 29, 23), kNull, kCreated,
     "2024-02-29 03:04:05"},
    {"both null keep the item's own value at whole seconds", kNull, kNull, kAccessed,
     "2022-07-08 09:10:11"},
    {"kind -1 is the modified date-time", kNull, At(1999, 1, 1, 10), -1, "2021-05-06 10:00:00"},
    {"the date of one value and the time of another", At(2024, 3, 31, 23, 59, 59),
     At(1990, 8, 1, 2, 30, 0), kModified, "2024-03-31 02:30:00"},
    {"an invalid date", DateTimeValue::MakeInvalid(), At(1999, 1, 1, 10), kModified, "unchanged"},
    {"an invalid time", At(2024, 2, 29), DateTimeValue::MakeInvalid(), kModified, "unchanged"},
    {"an unknown kind with a part to keep", kNull, At(1999, 1, 1, 10), 3, "unchanged"},
};

TEST_F(AnItem, combinesTheGivenPartsWithTheItemsOwn) {
    for (const GivenCase& c : kGivenCases) {
        EXPECT_EQ(Text(DateTimeFuncs::GetModifiedFileDateTime(file, 1, c.date, c.time, c.kind)),
                  c.expected)
            << c.why;
    }
}

TEST_F(AnItem, keepsEachDateTimesOwnDateUnderANullDatePicker) {
    const DateTimeValue ten = At(1999, 1, 1, 10);
    EXPECT_EQ(DateTimeFuncs::GetModifiedFileDateTime(folder, 1, kNull, ten, kCreated),
              FileTimeAt(2020, 1, 2, 10));
    EXPECT_EQ(DateTimeFuncs::GetModifiedFileDateTime(folder, 1, kNull, ten, kModified),
              FileTimeAt(2021, 5, 6, 10));
    EXPECT_EQ(DateTimeFuncs::GetModifiedFileDateTime(folder, 1, kNull, ten, kAccessed),
              FileTimeAt(2022, 7, 8, 10));
}

TEST_F(AnItem, givesNoGivenDateTimeWhenDisabled) {
    EXPECT_EQ(DateTimeFuncs::GetModifiedFileDateTime(file, 0, At(2024, 1, 1), At(2024, 1, 1, 1),
                                                     kModified),
              0u);
}

// Nothing can be read for a missing item: rather than a date of 1899 or
// 1601 with the new time, no change.
TEST_F(AnItem, givesNoDateTimeWhenItsOwnPartCannotBeRead) {
    EXPECT_EQ(
        DateTimeFuncs::GetModifiedFileDateTime(missing, 1, kNull, At(1999, 1, 1, 10), kModified),
        0u);
    EXPECT_EQ(DateTimeFuncs::GetModifiedFileDateTime(missing, 1, At(2024, 1, 1), kNull, kCreated),
              0u);
    EXPECT_EQ(DateTimeFuncs::GetModifiedFileDateTime(missing, 1, At(2024, 1, 1), At(1999, 1, 1, 10),
                                                     kModified),
              FileTimeAt(2024, 1, 1, 10));
}

struct OtherCase {
    const char* why;
    int choice;
    bool onPhoto;
    std::string expected;
};

const OtherCase kOtherCases[] = {
    {"0 is the modified date-time", DateTimeFuncs::OtherModified, false, "2021-05-06 18:00:00"},
    {"1 is the created date-time", DateTimeFuncs::OtherCreated, false, "2020-01-02 03:04:05"},
    {"2 is the accessed date-time", DateTimeFuncs::OtherAccessed, false, "2022-07-08 09:10:11"},
    {"3 is the EXIF taken date-time", DateTimeFuncs::OtherTaken, true, "2019-07-14 09:08:07"},
    {"any other choice is the EXIF one", 9, true, "2019-07-14 09:08:07"},
    {"a negative choice is the EXIF one", -1, true, "2019-07-14 09:08:07"},
    {"a file without EXIF data has no taken date-time", DateTimeFuncs::OtherTaken, false,
     "unchanged"},
};

TEST_F(AnItem, takesTheChosenDateTimeOfTheSameItem) {
    for (const OtherCase& c : kOtherCases) {
        const std::wstring& path = c.onPhoto ? photo : file;
        const FileTime selected = DateTimeFuncs::GetSelectedFileDateTime(path, c.choice, 1);
        EXPECT_EQ(Text(selected), c.expected) << c.why;
        // The shown text, read back with the user's locale, is the same moment.
        const std::wstring shown = DateTimeFuncs::GetOtherDateTime(path, c.choice);
        EXPECT_EQ(DateTimeUtils::GetAsFileTime(shown), selected) << c.why;
        EXPECT_EQ(shown.empty(), selected == 0) << c.why;
    }
}

TEST_F(AnItem, takesNoOtherDateTimeWhenDisabledOrMissing) {
    EXPECT_EQ(DateTimeFuncs::GetSelectedFileDateTime(file, DateTimeFuncs::OtherModified, 0), 0u);
    for (int choice : {0, 1, 2, 3}) {
        EXPECT_EQ(DateTimeFuncs::GetSelectedFileDateTime(missing, choice, 1), 0u);
        EXPECT_EQ(DateTimeFuncs::GetOtherDateTime(missing, choice), L"");
    }
    EXPECT_EQ(DateTimeFuncs::GetSelectedFileDateTime(folder, DateTimeFuncs::OtherTaken, 1), 0u);
    EXPECT_EQ(DateTimeFuncs::GetSelectedFileDateTime(folder, DateTimeFuncs::OtherCreated, 1),
              own.created);
}

TEST_F(AnItem, takesNoTakenDateTimeThatIsUnreadableOrNotAfter1899) {
    for (const char* taken : {"2019:02:30 08:05:09", "0000:00:00 00:00:00", "1899:12:30 00:00:00",
                              "1850:01:01 12:00:00", "    :  :     :  :  "}) {
        photofixtures::WriteBytes(KelmPlatform::ToNative(photo), TakenPhoto(taken));
        EXPECT_EQ(DateTimeFuncs::GetSelectedFileDateTime(photo, DateTimeFuncs::OtherTaken, 1), 0u)
            << taken;
        EXPECT_EQ(DateTimeFuncs::GetOtherDateTime(photo, DateTimeFuncs::OtherTaken), L"") << taken;
    }
}

// Only a date-time after 1899-12-30 00:00 local is shown, and only a shown
// one is taken. ext4 holds no times before 1901, tmpfs does.
TEST(AnOldItem, givesItsModifiedDateTimeOnlyWhenItIsAfter1899) {
    char pattern[] = "/dev/shm/kelm-datetimefuncs-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0)
        GTEST_SKIP() << "no /dev/shm";
    close(fd);
    const std::wstring path = KelmPlatform::FromNative(pattern);
    const struct {
        FileTime modified;
        std::string expected;
    } cases[] = {
        {FileTimeAt(1899, 12, 30, 0, 0, 1), "1899-12-30 00:00:01"},
        {FileTimeAt(1899, 12, 31, 0, 0, 0) + kSecond / 2, "1899-12-31 00:00:00"},
        {FileTimeAt(1899, 12, 30, 0, 0, 0), "unchanged"},
        {FileTimeAt(1899, 12, 29, 23, 0, 0), "unchanged"},
        {FileTimeAt(1601, 1, 2, 0, 0, 0), "unchanged"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(KelmPlatform::WriteItemTimes(path, ItemTimes{0, c.modified, 0}));
        const FileTime selected =
            DateTimeFuncs::GetSelectedFileDateTime(path, DateTimeFuncs::OtherModified, 1);
        EXPECT_EQ(Text(selected), c.expected);
        const std::wstring shown =
            DateTimeFuncs::GetOtherDateTime(path, DateTimeFuncs::OtherModified);
        EXPECT_EQ(DateTimeUtils::GetAsFileTime(shown), selected) << c.expected;
    }
    unlink(pattern);
}

TEST_F(AnItem, getsAllThreeTimesWrittenAndReadBack) {
    const ItemTimes wanted{FileTimeAt(2001, 2, 3, 4, 5, 6), FileTimeAt(2024, 2, 29, 23, 59, 59),
                           FileTimeAt(2024, 3, 31, 2, 30)};
    for (const std::wstring& path : {file, folder}) {
        ASSERT_EQ(DateTimeFuncs::SetModifiedFileDateTime(path, wanted.created, wanted.modified,
                                                         wanted.accessed),
                  1);
        const ItemTimes read = Read(path);
        EXPECT_EQ(read.created, wanted.created);
        EXPECT_EQ(read.modified, wanted.modified);
        EXPECT_EQ(read.accessed, wanted.accessed);
    }
}

TEST_F(AnItem, keepsEveryTimeGivenAsZeroExactlyAsItWas) {
    const FileTime created = FileTimeAt(2001, 2, 3, 4, 5, 6);
    ASSERT_EQ(DateTimeFuncs::SetModifiedFileDateTime(file, created, 0, 0), 1);
    EXPECT_EQ(Read(file).created, created);
    EXPECT_EQ(Read(file).modified, own.modified);
    EXPECT_EQ(Read(file).accessed, own.accessed);

    const FileTime accessed = FileTimeAt(2023, 1, 1);
    ASSERT_EQ(DateTimeFuncs::SetModifiedFileDateTime(file, 0, 0, accessed), 1);
    EXPECT_EQ(Read(file).created, created);
    EXPECT_EQ(Read(file).modified, own.modified);
    EXPECT_EQ(Read(file).accessed, accessed);

    ASSERT_EQ(DateTimeFuncs::SetModifiedFileDateTime(file, 0, 0, 0), 1);
    EXPECT_EQ(Read(file).modified, own.modified);
}

// Root passes every permission check: the refusal comes from the read-only
// attribute, as on Windows.
TEST_F(AnItem, refusesAReadOnlyFileUntilReadOnlyIsCleared) {
    ASSERT_TRUE(AttributesFuncs::SetReadOnlyAttributes(file, 1));
    const FileTime modified = FileTimeAt(2024, 6, 1, 12);
    testing::internal::CaptureStderr();
    EXPECT_EQ(DateTimeFuncs::SetModifiedFileDateTime(file, 0, modified, 0), 0);
    const std::string trace = testing::internal::GetCapturedStderr();
    EXPECT_EQ(KelmPlatform::LastError(), EACCES);
    const std::wstring record =
        L"\",\"2\",\"KelmLibraryFuncs::DateTimeFuncs::SetModifiedFileDateTime " + file + L" " +
        KelmLibraryUtils::LogUtils::GetLastErrorMessage(EACCES) + L"\"\r\n";
    EXPECT_NE(trace.find(KelmPlatform::ToNative(record)), std::string::npos) << trace;
    EXPECT_EQ(Read(file).modified, own.modified);

    ASSERT_TRUE(AttributesFuncs::SetReadOnlyAttributes(file, 0));
    EXPECT_EQ(DateTimeFuncs::SetModifiedFileDateTime(file, 0, modified, 0), 1);
    EXPECT_EQ(Read(file).modified, modified);
}

TEST_F(AnItem, writesAReadOnlyFolder) {
    ASSERT_TRUE(AttributesFuncs::SetReadOnlyAttributes(folder, 1));
    const FileTime modified = FileTimeAt(2024, 6, 1, 12);
    EXPECT_EQ(DateTimeFuncs::SetModifiedFileDateTime(folder, 0, modified, 0), 1);
    EXPECT_EQ(Read(folder).modified, modified);
}

TEST_F(AnItem, tracesAWriteToAMissingItem) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(DateTimeFuncs::SetModifiedFileDateTime(missing, 0, FileTimeAt(2024, 6, 1), 0), 0);
    const std::string trace = testing::internal::GetCapturedStderr();
    EXPECT_EQ(KelmPlatform::LastError(), ENOENT);
    EXPECT_NE(trace.find("SetModifiedFileDateTime " + KelmPlatform::ToNative(missing) + " "),
              std::string::npos)
        << trace;
}

// The change run: each item's own modified date-time is its base.
TEST_F(AnItem, staggersARunOfFilesByTheirOwnDateTimes) {
    STAGGERITEM item;
    item.IntervalMonths = 1;
    item.IntervalHours = 1;
    item.IntervalMinutes = 30;
    const std::wstring paths[] = {file, folder, photo};
    for (int index = 0; index < 3; ++index) {
        const FileTime modified = DateTimeFuncs::GetStaggerFileDateTime(
            index, 1, DateTimeUtils::FromFileTime(Read(paths[index]).modified), item);
        ASSERT_EQ(DateTimeFuncs::SetModifiedFileDateTime(paths[index], 0, modified, 0), 1);
    }
    EXPECT_EQ(Text(Read(file).modified), "2021-05-06 18:00:00");
    EXPECT_EQ(Text(Read(folder).modified), "2021-06-06 19:30:00");
    EXPECT_EQ(Text(Read(photo).modified), "2021-07-06 21:00:00");
    EXPECT_EQ(Read(photo).created, own.created);
}

} // namespace
