#include <KelmLibraryFuncs/UnblockFuncs.h>
#include <KelmLibraryUtils/FileUtils.h>
#include <KelmPlatform/SystemCalls.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/xattr.h>

using KelmLibraryFuncs::UnblockFuncs;
using KelmLibraryUtils::FileUtils;

namespace {

// Samba's form of the Zone.Identifier stream: the stream bytes and one NUL.
constexpr const char* kZoneStream = "user.DosStream.Zone.Identifier:$DATA";
const std::string kZoneBytes = std::string("[ZoneTransfer]\r\nZoneId=3\r\n") + '\0';

class UnblockingAFile : public testing::Test {
protected:
    kelmtest::TempDir dir{"unblock"};
    std::string native = dir.NativeChild("download.zip");
    std::wstring path = dir.MakeFile("download.zip", "contents");

    void Mark(const char* name = kZoneStream, const std::string& value = kZoneBytes) {
        ASSERT_EQ(::setxattr(native.c_str(), name, value.data(), value.size(), 0), 0);
    }
    bool Has(const char* name) const { return ::getxattr(native.c_str(), name, nullptr, 0) >= 0; }
    std::string Contents() const {
        std::ifstream in(native, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    mode_t Mode() const {
        struct stat st {};
        ::stat(native.c_str(), &st);
        return st.st_mode & 07777;
    }
};

// Stands in for removexattr as an ordinary user meets it: refused on a file
// without write permission (root, who runs the tests, is never refused).
// Remembers whether the file was writable when asked.
bool g_failAlways = false;
bool g_sawWritable = false;

int RemoveAsUser(const char* path, const char* name) {
    struct stat st {};
    g_sawWritable = ::lstat(path, &st) == 0 && (st.st_mode & 0200);
    if (g_failAlways || !g_sawWritable) {
        errno = EACCES;
        return -1;
    }
    return ::lremovexattr(path, name);
}

} // namespace

TEST_F(UnblockingAFile, removesTheZoneStreamAndKeepsEverythingElse) {
    Mark();
    Mark("user.other", "keep");
    EXPECT_EQ(FileUtils::ZoneIdentifierExists(path), 1);
    EXPECT_EQ(UnblockFuncs::DeleteZoneIdentifier(path), 1);
    EXPECT_EQ(FileUtils::ZoneIdentifierExists(path), 0);
    EXPECT_FALSE(Has(kZoneStream));
    EXPECT_TRUE(Has("user.other"));
    EXPECT_EQ(Contents(), "contents");
}

TEST_F(UnblockingAFile, removesTheMarkOfAReadOnlyFileAndLeavesItReadOnly) {
    Mark();
    ASSERT_EQ(::chmod(native.c_str(), 0444), 0);
    ASSERT_EQ(FileUtils::IsReadOnly(path), 1);
    {
        KelmPlatform::ScopedSystemCalls calls;
        calls->lremovexattr = RemoveAsUser;
        g_failAlways = false;
        EXPECT_EQ(UnblockFuncs::DeleteZoneIdentifier(path), 1);
        EXPECT_TRUE(g_sawWritable);
    }
    EXPECT_FALSE(Has(kZoneStream));
    EXPECT_EQ(FileUtils::IsReadOnly(path), 1);
    EXPECT_EQ(Mode() & 0222, 0u);
}

TEST_F(UnblockingAFile, setsReadOnlyBackEvenWhenTheRemovalFails) {
    Mark();
    ASSERT_EQ(::chmod(native.c_str(), 0444), 0);
    {
        KelmPlatform::ScopedSystemCalls calls;
        calls->lremovexattr = RemoveAsUser;
        g_failAlways = true;
        EXPECT_EQ(UnblockFuncs::DeleteZoneIdentifier(path), 0);
        EXPECT_TRUE(g_sawWritable);
        EXPECT_EQ(FileUtils::DeleteZoneIdentifier(path), 0);
    }
    EXPECT_TRUE(Has(kZoneStream));
    EXPECT_EQ(FileUtils::IsReadOnly(path), 1);
}

TEST_F(UnblockingAFile, countsAFileWithoutMarkOrAMissingFileAsUnblocked) {
    const mode_t before = Mode();
    EXPECT_EQ(FileUtils::ZoneIdentifierExists(path), 0);
    EXPECT_EQ(UnblockFuncs::DeleteZoneIdentifier(path), 1);
    EXPECT_EQ(Mode(), before);
    EXPECT_EQ(UnblockFuncs::DeleteZoneIdentifier(dir.Child(L"gone.zip")), 1);
}

TEST_F(UnblockingAFile, removesTheDownloadOriginToo) {
    Mark("user.xdg.origin.url", "https://example.org/download.zip");
    EXPECT_EQ(FileUtils::ZoneIdentifierExists(path), 1);
    EXPECT_EQ(FileUtils::DeleteZoneIdentifier(path), 1);
    EXPECT_FALSE(Has("user.xdg.origin.url"));
}
