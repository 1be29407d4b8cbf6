#include <KelmLibraryUtils/FileContents.h>
#include <KelmLibraryUtils/ProfileUtils.h>
#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

using KelmLibraryUtils::FileContents;
using KelmLibraryUtils::ProfileUtils;

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// ASCII text as UTF-16LE bytes.
std::string Utf16(const std::string& ascii) {
    std::string out;
    for (const char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

std::string Utf16BigEndian(const std::wstring& bmpText) {
    std::string out;
    for (const wchar_t c : bmpText) {
        out += static_cast<char>(c >> 8);
        out += static_cast<char>(c & 0xFF);
    }
    return out;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ProfileFile : public testing::Test {
protected:
    void TearDown() override { FileContents::ResetSystemCalls(); }
    kelmtest::TempDir dir{"profile"};
};

} // namespace

TEST_F(ProfileFile, startsANewSettingsFileWithTheByteOrderMarkAndTheHeaderLine) {
    const std::wstring path = dir.Child(L"toolbars.ini");
    dir.MakeFile("toolbars.ini", "[Old]\r\nKey=1\r\n");
    ASSERT_TRUE(ProfileUtils::CreateSettingsFile(path));
    EXPECT_EQ(ReadBytes(dir.NativeChild("toolbars.ini")), "\xFF\xFE" + Utf16("; toolbars.ini\r\n"));

    ASSERT_TRUE(ProfileUtils::WritePrivateProfileInt(L"Toolbar", L"Count", 3, path));
    EXPECT_EQ(ReadBytes(dir.NativeChild("toolbars.ini")),
              "\xFF\xFE" + Utf16("; toolbars.ini\r\n[Toolbar]\r\nCount=3\r\n"));
}

TEST_F(ProfileFile, isCreatedWithItsHeaderByTheFirstWriteAndKeepsEveryCharacter) {
    const std::wstring path = dir.Child(L"KelmHoralux.ini");
    const std::wstring value = L" 「変更しない」 \"x\" \U00020BB7 ";
    ASSERT_TRUE(ProfileUtils::WritePrivateProfileString(L"オプション", L"名前", value, path));
    ASSERT_TRUE(ProfileUtils::WritePrivateProfileInt(L"Options", L"Depth", -12, path));
    const std::string header = "\xFF\xFE" + Utf16("; KelmHoralux.ini\r\n");
    EXPECT_EQ(ReadBytes(dir.NativeChild("KelmHoralux.ini")).substr(0, header.size()), header);
    EXPECT_EQ(ProfileUtils::GetPrivateProfileString(L"オプション", L"名前", L"", path), value);
    EXPECT_EQ(ProfileUtils::GetPrivateProfileInt(L"OPTIONS", L"depth", 0, path), -12);
    EXPECT_EQ(ProfileUtils::GetPrivateProfileSectionNames(path),
              (std::vector<std::wstring>{L"オプション", L"Options"}));
    EXPECT_EQ(ProfileUtils::GetPrivateProfileKeyNames(L"options", path),
              (std::vector<std::wstring>{L"Depth"}));
}

TEST_F(ProfileFile, isUpdatedInPlaceKeepingCommentsOrderAndOtherKeys) {
    const std::wstring path =
        dir.MakeFile("app.ini", "; app.ini\n[A]\n; note\nx=1\ny=2\n[B]\nz=3\n");
    ASSERT_TRUE(ProfileUtils::WritePrivateProfileString(L"a", L"Y", L"two", path));
    ASSERT_TRUE(ProfileUtils::DeletePrivateProfileSection(L"b", path));
    ASSERT_TRUE(ProfileUtils::DeletePrivateProfileKey(L"A", L"x", path));
    EXPECT_EQ(ReadBytes(dir.NativeChild("app.ini")),
              "\xFF\xFE" + Utf16("; app.ini\r\n[A]\r\n; note\r\ny=two\r\n"));
}

TEST_F(ProfileFile, readsUtf8WithAndWithoutByteOrderMarkAndUtf16BigEndian) {
    const std::string utf8 = "[設定]\nパス=/home/ユーザー\r\n";
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {{"bom.ini", "\xEF\xBB\xBF" + utf8},
                 {"plain.ini", utf8},
                 {"be.ini", "\xFE\xFF" + Utf16BigEndian(L"[設定]\nパス=/home/ユーザー\r\n")}};
    for (const auto& file : files) {
        const std::wstring path = dir.MakeFile(file.name, file.bytes);
        EXPECT_EQ(ProfileUtils::GetPrivateProfileString(L"設定", L"パス", L"", path),
                  L"/home/ユーザー")
            << file.name;
    }
}

// Bytes that are not UTF-8 (a Latin-1 file name, say) come back as the same
// bytes after a round trip through the UTF-16 file.
TEST_F(ProfileFile, keepsBytesThatAreNotUtf8) {
    const std::wstring path = dir.MakeFile("latin1.ini", "[s]\nname=caf\xE9\n");
    const std::wstring value = ProfileUtils::GetPrivateProfileString(L"s", L"name", L"", path);
    EXPECT_EQ(value, std::wstring(L"caf") + wchar_t(0xDC80 + 0xE9 - 0x80));
    ASSERT_TRUE(ProfileUtils::WritePrivateProfileString(L"s", L"other", L"1", path));
    EXPECT_EQ(ProfileUtils::GetPrivateProfileString(L"s", L"name", L"", path), value);
}

TEST_F(ProfileFile, givesDefaultsForDamagedOrMissingFiles) {
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {{"empty.ini", ""},
                 {"bom-only.ini", "\xFF\xFE"},
                 {"odd.ini", "\xFF\xFE" + Utf16("[s]\r\nother=1") + "k"},
                 {"half-surrogate.ini", "\xFF\xFE" + Utf16("[s]\r\nq=") + "\x3D\xD8"},
                 {"nuls.ini", std::string("[s\0]\nk\0=1\n\0\0\0", 13)},
                 {"binary.ini", std::string("\x00\x01\xFF\xFE\xFD[\n=\n", 9)},
                 {"huge-line.ini", "[s]\nother=" + std::string(1 << 20, 'y')}};
    for (const auto& file : files) {
        const std::wstring path = dir.MakeFile(file.name, file.bytes);
        EXPECT_EQ(ProfileUtils::GetPrivateProfileString(L"s", L"k", L"default", path), L"default")
            << file.name;
        EXPECT_EQ(ProfileUtils::GetPrivateProfileInt(L"s", L"k", 7, path), 7) << file.name;
    }
    EXPECT_EQ(ProfileUtils::GetPrivateProfileString(L"s", L"k", L"d", dir.Child(L"missing.ini")),
              L"d");
    EXPECT_EQ(ProfileUtils::GetPrivateProfileInt(L"s", L"k", 5, dir.MakeFolder("folder.ini")), 5);
    EXPECT_TRUE(ProfileUtils::GetPrivateProfileSectionNames(dir.Child(L"missing.ini")).empty());
}

TEST_F(ProfileFile, isLeftAsItWasWhenAWriteCannotComplete) {
    const std::string original = "[s]\r\nk=old\r\n";
    const std::wstring path = dir.MakeFile("settings.ini", original);
    const struct {
        const char* step;
        void (*breakIt)(FileContents::Calls&);
    } failures[] = {
        {"write",
         [](FileContents::Calls& c) {
             c.write = [](int, const void*, size_t) -> ssize_t { return errno = ENOSPC, -1; };
         }},
        {"fsync", [](FileContents::Calls& c) { c.fsync = [](int) { return errno = EIO, -1; }; }},
        {"rename",
         [](FileContents::Calls& c) {
             c.rename = [](const char*, const char*) { return errno = EROFS, -1; };
         }},
    };
    for (const auto& failure : failures) {
        failure.breakIt(FileContents::SystemCalls());
        EXPECT_EQ(ProfileUtils::WritePrivateProfileString(L"s", L"k", L"new", path), 0)
            << failure.step;
        EXPECT_NE(KelmPlatform::LastError(), 0) << failure.step;
        EXPECT_EQ(ProfileUtils::CreateSettingsFile(path), 0) << failure.step;
        FileContents::ResetSystemCalls();
        EXPECT_EQ(ReadBytes(dir.NativeChild("settings.ini")), original) << failure.step;
        EXPECT_EQ(FolderEntries(dir.Native()), std::vector<std::string>{"settings.ini"})
            << "temporary file left after a failing " << failure.step;
    }
    EXPECT_TRUE(ProfileUtils::WritePrivateProfileString(L"s", L"k", L"new", path));
    EXPECT_EQ(FolderEntries(dir.Native()), std::vector<std::string>{"settings.ini"});
}

TEST_F(ProfileFile, reportsFailureWhereNoFileCanBeWritten) {
    const std::wstring inMissingFolder = dir.Child(L"no such folder/a.ini");
    EXPECT_EQ(ProfileUtils::WritePrivateProfileString(L"s", L"k", L"v", inMissingFolder), 0);
    EXPECT_EQ(ProfileUtils::CreateSettingsFile(inMissingFolder), 0);

    const std::wstring folder = dir.MakeFolder("folder.ini");
    EXPECT_EQ(ProfileUtils::WritePrivateProfileString(L"s", L"k", L"v", folder), 0);
    EXPECT_EQ(ProfileUtils::CreateSettingsFile(folder), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.NativeChild("folder.ini")));

    const std::wstring path = dir.MakeFile("kept.ini", "[s]\nk=1\n");
    EXPECT_EQ(ProfileUtils::WritePrivateProfileString(L"s", L"k", L"two\nlines", path), 0);
    EXPECT_EQ(ReadBytes(dir.NativeChild("kept.ini")), "[s]\nk=1\n");
}

// Rewriting a file whose existing contents cannot be read would lose them.
TEST_F(ProfileFile, refusesToRewriteAFileItCannotRead) {
    const std::string tooLarge(FileContents::kMaxReadSize + 1, 'x');
    const std::wstring path = dir.MakeFile("large.ini", tooLarge);
    EXPECT_EQ(ProfileUtils::WritePrivateProfileString(L"s", L"k", L"v", path), 0);
    EXPECT_EQ(std::filesystem::file_size(dir.NativeChild("large.ini")), tooLarge.size());
}

TEST_F(ProfileFile, keepsThePermissionsAndTheSymbolicLinkOfTheFileItReplaces) {
    const std::wstring real = dir.MakeFile("real.ini", "[s]\nk=1\n");
    chmod(dir.NativeChild("real.ini").c_str(), 0640);
    std::filesystem::create_symlink("real.ini", dir.NativeChild("link.ini"));
    ASSERT_TRUE(ProfileUtils::WritePrivateProfileInt(L"s", L"k", 2, dir.Child(L"link.ini")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.NativeChild("link.ini")));
    EXPECT_EQ(ProfileUtils::GetPrivateProfileInt(L"s", L"k", 0, real), 2);
    struct stat st;
    ASSERT_EQ(stat(dir.NativeChild("real.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(ProfileFile, isNotReplacedWhileItsReadOnlyAttributeIsSet) {
    const std::wstring path = dir.MakeFile("locked.ini", "[s]\nk=1\n");
    if (!KelmPlatform::WriteItemAttributes(path, KelmPlatform::kReadOnly))
        GTEST_SKIP() << "the attribute cannot be set here";
    EXPECT_EQ(ProfileUtils::WritePrivateProfileInt(L"s", L"k", 2, path), 0);
    EXPECT_EQ(KelmPlatform::LastError(), EACCES);
    EXPECT_EQ(ProfileUtils::GetPrivateProfileInt(L"s", L"k", 0, path), 1);
}

TEST_F(ProfileFile, leavesAMissingFileMissingWhenNothingIsDeleted) {
    const std::wstring path = dir.Child(L"never.ini");
    EXPECT_TRUE(ProfileUtils::DeletePrivateProfileKey(L"s", L"k", path));
    EXPECT_TRUE(ProfileUtils::DeletePrivateProfileSection(L"s", path));
    EXPECT_FALSE(std::filesystem::exists(dir.NativeChild("never.ini")));

    ASSERT_TRUE(ProfileUtils::EnsureSettingsFile(path));
    ASSERT_TRUE(ProfileUtils::WritePrivateProfileInt(L"s", L"k", 1, path));
    ASSERT_TRUE(ProfileUtils::EnsureSettingsFile(path));
    EXPECT_EQ(ProfileUtils::GetPrivateProfileInt(L"s", L"k", 0, path), 1);
}

TEST_F(ProfileFile, isWrittenUnderTheLongestNameTheFileSystemAllows) {
    const std::string name = std::string(251, 'n') + ".ini";
    const std::wstring path = dir.Child(std::wstring(name.begin(), name.end()));
    ASSERT_TRUE(ProfileUtils::WritePrivateProfileInt(L"s", L"k", 1, path));
    EXPECT_EQ(ProfileUtils::GetPrivateProfileInt(L"s", L"k", 0, path), 1);
    EXPECT_EQ(FolderEntries(dir.Native()), std::vector<std::string>{name});
}
