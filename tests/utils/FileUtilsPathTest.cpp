#include <KelmLibraryUtils/FileUtils.h>
#include <KelmLibraryUtils/FolderUtils.h>

#include <gtest/gtest.h>

using KelmLibraryUtils::FileUtils;
using KelmLibraryUtils::FolderUtils;

namespace {

struct SplitCase {
    std::wstring path;
    std::wstring dir;
    std::wstring name;
    std::wstring ext;
};

const std::wstring kLongDir = L"/" + std::wstring(300, L'd') + L"/";
const std::wstring kLongName = std::wstring(300, L'n');

const SplitCase kSplitCases[] = {
    {L"/a/b.tar.gz", L"/a/", L"b.tar", L".gz"},
    {L"/a/b", L"/a/", L"b", L""},
    {L"/home/u/.bashrc", L"/home/u/", L".bashrc", L""},
    {L"/x/..hidden.txt", L"/x/", L"..hidden", L".txt"},
    {L"/a/..", L"/a/", L"..", L""},
    {L"/a/b.", L"/a/", L"b", L"."},
    {L"/a.d/b", L"/a.d/", L"b", L""},
    {L"/a/b/", L"/a/b/", L"", L""},
    {L"/", L"/", L"", L""},
    {L"name.txt", L"", L"name", L".txt"},
    {L"/a/\xDCFF.txt", L"/a/", L"\xDCFF", L".txt"},
    {L"/a/C:\\x.y", L"/a/", L"C:\\x", L".y"}, // "\" is an ordinary character
    {kLongDir + kLongName + L".txt", kLongDir, kLongName, L".txt"},
};

} // namespace

TEST(FileUtilsSplitting, givesFolderNameAndExtensionOfEveryPath) {
    for (const auto& c : kSplitCases) {
        SCOPED_TRACE(testing::Message() << "path size " << c.path.size());
        EXPECT_EQ(FileUtils::GetSplitPath(c.path, FileUtils::Drive), L"");
        EXPECT_EQ(FileUtils::GetSplitDirPath(c.path), c.dir);
        EXPECT_EQ(FileUtils::GetSplitFNamePath(c.path), c.dir + c.name);
        EXPECT_EQ(FileUtils::GetSplitPath(c.path, FileUtils::WholePath), c.path);
        EXPECT_EQ(FileUtils::GetSplitFileName(c.path), c.name + c.ext);
        EXPECT_EQ(FileUtils::GetSplitFNameExtOnlyPath(c.path), c.name + c.ext);
        EXPECT_EQ(FileUtils::GetSplitFName(c.path), c.name);
        EXPECT_EQ(FileUtils::GetSplitExtOnlyPath(c.path), c.ext);
        EXPECT_EQ(FileUtils::GetSplitPath(c.path, 99), L"");
    }
}

TEST(FileUtilsSplitting, dropsTheDotOfAnExtensionOnlyWhenAsked) {
    EXPECT_EQ(FileUtils::GetSplitExtension(L"/a/b.tar.gz", 0), L"gz");
    EXPECT_EQ(FileUtils::GetSplitExtension(L"/a/b.tar.gz", 1), L".gz");
    EXPECT_EQ(FileUtils::GetSplitExtension(L"/a/b", 0), L"");
    EXPECT_EQ(FileUtils::GetSplitExtension(L"/a/b", 1), L"");
    EXPECT_EQ(FileUtils::GetSplitExtension(L"/a/b.", 0), L"");
}

TEST(FileUtilsJoining, replacesExtensionsAndHandlesTrailingSeparators) {
    EXPECT_EQ(FileUtils::GetReplaceExtension(L"/a/b.tar.gz", L".bz2"), L"/a/b.tar.bz2");
    EXPECT_EQ(FileUtils::GetReplaceExtension(L"/a/b", L".txt"), L"/a/b.txt");
    EXPECT_EQ(FileUtils::GetReplaceExtension(L"/a/.bashrc", L".bak"), L"/a/.bashrc.bak");

    EXPECT_EQ(FileUtils::GetPathRemoveBackslash(L"/a/"), L"/a");
    EXPECT_EQ(FileUtils::GetPathRemoveBackslash(L"/a//"), L"/a/");
    EXPECT_EQ(FileUtils::GetPathRemoveBackslash(L"/a"), L"/a");
    EXPECT_EQ(FileUtils::GetPathRemoveBackslash(L"/"), L"/");
    EXPECT_EQ(FileUtils::GetPathAddBackslash(L"/a"), L"/a/");
    EXPECT_EQ(FileUtils::GetPathAddBackslash(L"/a/"), L"/a/");

    EXPECT_EQ(FileUtils::GetCombinePath(L"/a/", L"b"), L"/a/b");
    EXPECT_EQ(FileUtils::GetCombinePath(L"/a", L"b"), L"/a/b");
    EXPECT_EQ(FileUtils::GetCombinePath(L"/", L"b"), L"/b");
}

TEST(FileUtilsComparing, comparesExactlyWithOrWithoutExtensions) {
    struct {
        const wchar_t* a;
        const wchar_t* b;
        int withExtension;
        int equal;
    } cases[] = {
        {L"/a/x.jpg", L"/a/x.jpg", 1, 1},  {L"/a/x.jpg", L"/a/x.jpeg", 1, 0},
        {L"/a/x.jpg", L"/a/x.jpeg", 0, 1}, {L"/A/x.JPG", L"/a/X.jpeg", 0, 0},
        {L"/a/X.jpg", L"/a/x.jpg", 1, 0},  {L"/a/x", L"/a/x.txt", 0, 1},
        {L"/a/x.d/y", L"/a/x.e/y", 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileUtils::IsCompareFilePath(c.a, c.b, c.withExtension), c.equal)
            << testing::PrintToString(std::wstring(c.a)) << " "
            << testing::PrintToString(std::wstring(c.b)) << " " << c.withExtension;
}

TEST(FileUtilsNames, refusesWildcardsSeparatorsAndWhatWindowsRefuses) {
    for (const wchar_t* name : {L"a:b", L"a<b", L"a>b", L"a|b", L"a\"b", L"a*b", L"a?b", L"a/b",
                                L"a\\b", L"a\tb", L"a\x1F"})
        EXPECT_EQ(FileUtils::IsValidFileName(name), 0)
            << testing::PrintToString(std::wstring(name));
    for (const wchar_t* name : {L"abc.txt", L"", L"a b.txt", L"日本語.txt", L".bashrc", L"\xDCFF"})
        EXPECT_NE(FileUtils::IsValidFileName(name), 0)
            << testing::PrintToString(std::wstring(name));
}

TEST(FolderUtilsLevels, countTheSeparatorsWithTheRootAsLevelOne) {
    EXPECT_EQ(FolderUtils::GetFolderLevel(L"/"), 1);
    EXPECT_EQ(FolderUtils::GetFolderLevel(L"/a"), 1);
    EXPECT_EQ(FolderUtils::GetFolderLevel(L"/a/b"), 2);
    EXPECT_EQ(FolderUtils::GetFolderLevel(L"/a/b/"), 3);
    EXPECT_EQ(FolderUtils::GetFolderLevel(L"/a/b/*"), 3);
}
