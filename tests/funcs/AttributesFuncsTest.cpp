#include <KelmLibraryFuncs/AttributesFuncs.h>
#include <KelmLibraryUtils/FileListUtils.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>

using KelmLibraryFuncs::AttributesFuncs;
using KelmLibraryFuncs::ATTRIBUTESITEM;
using KelmLibraryUtils::FileListUtils;

namespace {

class AnAttributeChange : public ::testing::Test {
protected:
    void SetUp() override {
        if (setxattr(dir.Native().c_str(), "user.probe", "1", 1, 0) != 0)
            GTEST_SKIP() << "the temporary folder has no user xattrs";
    }
    kelmtest::TempDir dir;
    std::wstring file = dir.MakeFile("file.txt");
};

} // namespace

TEST_F(AnAttributeChange, leavesTheItemUntouchedWhenEverySettingIsLeave) {
    EXPECT_TRUE(AttributesFuncs::SetModifiedFileAttributes(file, ATTRIBUTESITEM{}));
    char value[64];
    EXPECT_LT(getxattr(KelmPlatform::ToNative(file).c_str(), "user.DOSATTRIB", value, sizeof value),
              0);
    EXPECT_TRUE(AttributesFuncs::SetModifiedFileAttributes(dir.Child(L"missing"), {}));
}

TEST_F(AnAttributeChange, appliesEachTriStateAndShowsTheLetters) {
    ATTRIBUTESITEM item;
    item.ReadOnly = 1;
    item.Hidden = 1;
    item.Archive = 0;
    item.System = 2;
    item.Temporary = 2;
    item.NotContentIndexed = 1;
    ASSERT_TRUE(AttributesFuncs::SetModifiedFileAttributes(file, item));
    EXPECT_EQ(FileListUtils::GetAttributes(file), L"RHAI");

    item = {};
    item.ReadOnly = 7; // any value other than 0 and 1 clears
    item.Archive = 2;
    ASSERT_TRUE(AttributesFuncs::SetModifiedFileAttributes(file, item));
    EXPECT_EQ(FileListUtils::GetAttributes(file), L"HI");
}

TEST_F(AnAttributeChange, succeedsWhenTheAttributeIsAlreadySet) {
    ASSERT_TRUE(AttributesFuncs::SetHiddenAttributes(file, 1));
    EXPECT_TRUE(AttributesFuncs::SetHiddenAttributes(file, 1));
    EXPECT_EQ(FileListUtils::GetAttributes(file), L"HA");
}

TEST_F(AnAttributeChange, failsOnAMissingItemButAppliesTheRestOfTheSettings) {
    ATTRIBUTESITEM item;
    item.Hidden = 1;
    EXPECT_FALSE(AttributesFuncs::SetModifiedFileAttributes(dir.Child(L"missing"), item));

    // The dot name keeps the item hidden, so clearing hidden fails; the
    // archive setting after it still applies.
    const std::wstring dotted = dir.MakeFile(".dotted");
    item = {};
    item.Hidden = 2;
    item.Archive = 2;
    EXPECT_FALSE(AttributesFuncs::SetModifiedFileAttributes(dotted, item));
    EXPECT_EQ(FileListUtils::GetAttributes(dotted), L"H");
}

TEST_F(AnAttributeChange, endsWritableAfterTheReadOnlyDanceWithReadOnlyCleared) {
    ASSERT_TRUE(AttributesFuncs::SetReadOnlyAttributes(file, 1));
    KelmPlatform::ItemTimes times;
    times.modified = 130'000'000'000'000'000ull;
    EXPECT_FALSE(KelmPlatform::WriteItemTimes(file, times)); // refused while read-only

    ASSERT_TRUE(AttributesFuncs::SetReadOnlyAttributes(file, 0));
    ASSERT_TRUE(KelmPlatform::WriteItemTimes(file, times));
    ASSERT_TRUE(AttributesFuncs::SetReadOnlyAttributes(file, 1));
    ATTRIBUTESITEM item;
    item.ReadOnly = 2;
    ASSERT_TRUE(AttributesFuncs::SetModifiedFileAttributes(file, item));

    KelmPlatform::ItemTimes read;
    KelmPlatform::ReadItemTimes(file, read);
    EXPECT_EQ(read.modified, times.modified);
    EXPECT_EQ(FileListUtils::GetAttributes(file), L"A");
}

TEST(AnAttributeText, turnsIntoTriStatesByItsLetters) {
    struct Case {
        std::wstring text;
        int readOnly, hidden, system, archive, temporary, notIndexed;
    } cases[] = {
        {L"", 2, 2, 2, 2, 2, 2},
        {L"RA", 1, 2, 2, 1, 2, 2},
        {L"RHSDATI", 1, 1, 1, 1, 1, 1},
        {L"ra", 2, 2, 2, 2, 2, 2}, // letters are upper case
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AttributesFuncs::GetSelectedReadOnlyAttributes(c.text), c.readOnly);
        EXPECT_EQ(AttributesFuncs::GetSelectedHiddenAttributes(c.text), c.hidden);
        EXPECT_EQ(AttributesFuncs::GetSelectedSystemAttributes(c.text), c.system);
        EXPECT_EQ(AttributesFuncs::GetSelectedArchiveAttributes(c.text), c.archive);
        EXPECT_EQ(AttributesFuncs::GetSelectedTemporaryAttributes(c.text), c.temporary);
        EXPECT_EQ(AttributesFuncs::GetSelectedNotContentIndexedAttributes(c.text), c.notIndexed);
    }
}

TEST(AnAttributeLetter, ranksInDisplayOrderIgnoringCase) {
    const std::wstring order = L"RHSDATPLCOIEXV";
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(AttributesFuncs::GetArrtibutesPriority(order.substr(i, 1)), int(i));
    }
    EXPECT_EQ(AttributesFuncs::GetArrtibutesPriority(L"a"), 4);
    EXPECT_EQ(AttributesFuncs::GetArrtibutesPriority(L"Z"), -1);
    EXPECT_EQ(AttributesFuncs::GetArrtibutesPriority(L""), -1);
    EXPECT_EQ(AttributesFuncs::GetArrtibutesPriority(L"RA"), -1);
}

TEST(AttributeLetters, followTheDisplayOrder) {
    EXPECT_EQ(FileListUtils::GetAttributesText(0x1 | 0x2 | 0x20), L"RHA");
    EXPECT_EQ(FileListUtils::GetAttributesText(0x10), L"D");
    EXPECT_EQ(FileListUtils::GetAttributesText(0x80), L"");
    EXPECT_EQ(FileListUtils::GetAttributesText(0x2000 | 0x400 | 0x200), L"PLI");
}
