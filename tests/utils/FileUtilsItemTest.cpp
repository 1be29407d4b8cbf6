#include <KelmLibraryUtils/FileUtils.h>
#include <KelmPlatform/NativeName.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using KelmLibraryUtils::FileUtils;
using KelmPlatform::FromNative;

namespace {

class FileUtilsItems : public testing::Test {
protected:
    kelmtest::TempDir dir{"fileutils"};

    std::wstring Link(const std::string& name, const std::string& target) const {
        EXPECT_EQ(::symlink(target.c_str(), dir.NativeChild(name).c_str()), 0);
        return FromNative(dir.NativeChild(name));
    }
};

} // namespace

TEST_F(FileUtilsItems, findItemsAndDanglingLinksButNotMissingPaths) {
    const std::wstring file = dir.MakeFile("a.txt");
    const std::wstring folder = dir.MakeFolder("sub");
    const std::wstring dangling = Link("dangling", "nowhere");
    EXPECT_EQ(FileUtils::FileExists(file), 1);
    EXPECT_EQ(FileUtils::FileExists(folder), 1);
    EXPECT_EQ(FileUtils::FileExists(dangling), 1);
    EXPECT_EQ(FileUtils::FileExists(dir.Child(L"missing.txt")), 0);
    EXPECT_EQ(FileUtils::FileExists(file + L"/x"), 0);
}

TEST_F(FileUtilsItems, matchWildcardsOfTheLastPartAgainstTheFolder) {
    dir.MakeFile("abc.txt");
    dir.MakeFile("noext");
    dir.MakeFile("[x]1");
    dir.MakeFile("x2");
    EXPECT_EQ(FileUtils::FileExists(dir.Child(L"*.txt")), 1);
    EXPECT_EQ(FileUtils::FileExists(dir.Child(L"a?c.txt")), 1);
    EXPECT_EQ(FileUtils::FileExists(dir.Child(L"*.png")), 0);
    EXPECT_EQ(FileUtils::FileExists(dir.Child(L"no*.*")), 0);
    EXPECT_EQ(FileUtils::FileExists(dir.Child(L"[x]*")), 1); // brackets are plain characters
    EXPECT_EQ(FileUtils::FileExists(dir.Child(L"[y]*")), 0);
    EXPECT_EQ(FileUtils::FileExists(dir.Child(L"missing/*")), 0);

    kelmtest::TempDir onlyNoExt{"fileutils"};
    onlyNoExt.MakeFile("noext");
    EXPECT_EQ(FileUtils::FileExists(onlyNoExt.Child(L"*.*")), 1);
    kelmtest::TempDir empty{"fileutils"};
    EXPECT_EQ(FileUtils::FileExists(empty.Child(L"*")), 0);
}

TEST_F(FileUtilsItems, countOnlyRealFoldersAsFolders) {
    const std::wstring folder = dir.MakeFolder("sub");
    const std::wstring file = dir.MakeFile("a.txt");
    EXPECT_EQ(FileUtils::IsDirectory(folder), 1);
    EXPECT_EQ(FileUtils::IsDirectory(folder + L"/"), 1);
    EXPECT_EQ(FileUtils::IsDirectory(file), 0);
    EXPECT_EQ(FileUtils::IsDirectory(Link("folderlink", "sub")), 0);
    // Paths that cannot be queried are no folders.
    EXPECT_EQ(FileUtils::IsDirectory(dir.Child(L"missing")), 0);
    EXPECT_EQ(FileUtils::IsDirectory(file + L"/below"), 0);
    EXPECT_EQ(FileUtils::IsDirectory(dir.Child(std::wstring(300, L'n'))), 0);
    EXPECT_EQ(FileUtils::IsDirectory(L""), 0);
}

TEST_F(FileUtilsItems, readTheReadOnlyAttribute) {
    const std::wstring file = dir.MakeFile("a.txt");
    EXPECT_EQ(FileUtils::IsReadOnly(file), 0);
    ASSERT_EQ(::chmod(dir.NativeChild("a.txt").c_str(), 0444), 0);
    EXPECT_EQ(FileUtils::IsReadOnly(file), 1);
    EXPECT_EQ(FileUtils::IsReadOnly(dir.Child(L"missing")), 0);
}

TEST_F(FileUtilsItems, handleNamesThatAreNotUtf8) {
    const std::string native = dir.NativeChild("caf\xff.bin");
    const std::wstring wide = dir.MakeFile("caf\xff.bin", "abcd");
    ASSERT_EQ(wide, FromNative(native));
    EXPECT_EQ(FileUtils::GetSplitFileName(wide), L"caf\xDCFF.bin");
    EXPECT_EQ(FileUtils::FileExists(wide), 1);
    EXPECT_EQ(FileUtils::GetFileSize(wide), 4);
    EXPECT_EQ(FileUtils::IsReadOnly(wide), 0);
    ASSERT_EQ(::chmod(native.c_str(), 0444), 0);
    EXPECT_EQ(FileUtils::IsReadOnly(wide), 1);
    EXPECT_EQ(FileUtils::FileExists(dir.Child(L"caf*.bin")), 1);
}

TEST_F(FileUtilsItems, sumFoldersWithoutFollowingLinks) {
    kelmtest::TempDir outside{"outside"};
    const std::string bigTarget = outside.NativeChild("big");
    outside.MakeFile("big", std::string(10000, 'b'));

    dir.MakeFile("a", "123");
    dir.MakeFolder("sub");
    dir.MakeFile("sub/b", "12345");
    dir.MakeFolder("sub/deeper");
    dir.MakeFile("sub/deeper/c", "1234567");
    dir.MakeFolder("sub/empty");
    Link("sub/loop", ".."); // a loop back to the top
    Link("sub/big", bigTarget);
    // Links count with their own size, the length of the text they hold.
    const auto linkSizes = static_cast<std::int64_t>(2 + bigTarget.size());
    EXPECT_EQ(FileUtils::GetFileSize(dir.Path()), 3 + 5 + 7 + linkSizes);
    EXPECT_EQ(FileUtils::GetFileSize(dir.Child(L"sub/deeper")), 7);
    EXPECT_EQ(FileUtils::GetFileSize(dir.Child(L"sub/empty")), 0);
    EXPECT_EQ(FileUtils::GetFileSize(dir.Child(L"sub/b")), 5);
    EXPECT_EQ(FileUtils::GetFileSize(dir.Child(L"missing")), 0);
}

TEST_F(FileUtilsItems, createTemporaryFilesTheWayWindowsNamesThem) {
    const std::wstring first = FileUtils::CreateTempFile(L"kelmtest", dir.Path(), 0);
    const std::wstring second = FileUtils::CreateTempFile(L"kelmtest", dir.Path() + L"/", 0);
    EXPECT_EQ(first.rfind(dir.Path() + L"/kel", 0), 0u) << testing::PrintToString(first);
    EXPECT_EQ(FileUtils::GetSplitExtOnlyPath(first), L".tmp");
    EXPECT_NE(first, second);
    EXPECT_EQ(FileUtils::FileExists(first), 1);
    EXPECT_EQ(FileUtils::GetFileSize(first), 0);

    EXPECT_EQ(FileUtils::CreateTempFile(L"ab", dir.Path(), 0x1A2B), dir.Path() + L"/ab1A2B.tmp");
    EXPECT_EQ(FileUtils::CreateTempFile(L"kelm", dir.Path(), 0x12345),
              dir.Path() + L"/kel2345.tmp");
    EXPECT_EQ(FileUtils::FileExists(dir.Path() + L"/ab1A2B.tmp"), 0);
    EXPECT_EQ(FileUtils::CreateTempFile(L"kel", dir.Child(L"missing"), 0), L"");
}

TEST_F(FileUtilsItems, useTheTemporaryFolderWhenNoneIsGiven) {
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    setenv("TMPDIR", dir.Native().c_str(), 1);
    const std::wstring name = FileUtils::CreateTempFile(L"kel", L"", 0);
    old ? setenv("TMPDIR", saved.c_str(), 1) : unsetenv("TMPDIR");
    EXPECT_EQ(FileUtils::GetSplitDirPath(name), dir.Path() + L"/");
}

TEST(FileUtilsLocations, nameTheRunningProgram) {
    const std::wstring program = FileUtils::GetModuleFilePath();
    EXPECT_EQ(FileUtils::GetAppFileName(), L"FileUtilsItemTest");
    EXPECT_EQ(FileUtils::GetModuleFolderPath() + L"/" + FileUtils::GetAppFileName(), program);
    EXPECT_EQ(FileUtils::FileExists(program), 1);
}

TEST(FileUtilsLocations, putSendToIntoTheUsersApplicationsFolder) {
    // The test environment gives a private data folder.
    EXPECT_EQ(FileUtils::GetSendToPath(),
              FromNative(std::getenv("XDG_DATA_HOME")) + L"/applications");
    EXPECT_EQ(FileUtils::GetSystemFilePath(L"user32.dll"), L"");
    EXPECT_EQ(FileUtils::GetWindowsUser32Path(), L"");
    EXPECT_EQ(FileUtils::GetWindowsSystemAppsDirectoryPath(), L"");
}

TEST_F(FileUtilsItems, giveTheAbsoluteTargetOfASymbolicLink) {
    dir.MakeFile("target.txt");
    dir.MakeFolder("sub");
    const std::wstring top = dir.Path();
    struct {
        std::string link;
        std::string target;
        std::wstring expected;
    } cases[] = {
        {"l1", "target.txt", top + L"/target.txt"},
        {"sub/l2", "../x/./y//z", top + L"/x/y/z"},
        {"sub/l3", "/usr//bin/../lib/", L"/usr/lib"},
        {"l4", "l1", top + L"/l1"}, // not followed further
        {"l5", "gone", top + L"/gone"},
        {"l6", "/../..", L"/"},
        {"l7", "caf\xff", top + L"/caf\xDCFF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileUtils::GetTargetPath(Link(c.link, c.target)), c.expected) << c.link;
    EXPECT_EQ(FileUtils::GetTargetPath(dir.Child(L"target.txt")), L"");
    EXPECT_EQ(FileUtils::GetTargetPath(dir.Child(L"missing")), L"");
}
