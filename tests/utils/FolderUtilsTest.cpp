#include <KelmLibraryUtils/FolderUtils.h>
#include <KelmPlatform/SystemCalls.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

using KelmLibraryUtils::FolderUtils;

namespace {

long g_fsType = 0;
std::string g_mountType;

int FakeStatfs(const char*, struct statfs* buf) {
    std::memset(buf, 0, sizeof *buf);
    buf->f_type = g_fsType;
    return 0;
}

std::string FakeMountType(const char*) {
    return g_mountType;
}

bool IsFolder(const std::string& native) {
    struct stat st {};
    return ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

TEST(FolderUtilsNetwork, tellsNetworkFileSystemsFromLocalOnes) {
    kelmtest::TempDir dir{"folderutils"};
    EXPECT_EQ(FolderUtils::IsNetworkFolder(dir.Path()), 0); // the test folder is local
    EXPECT_EQ(FolderUtils::IsNetworkFolder(dir.Child(L"missing")), 0);

    struct {
        long type;
        std::string mount;
        int network;
    } cases[] = {
        {0x6969, "nfs4", 1},
        {0xFF534D42, "cifs", 1},
        {0xFE534D42, "smb3", 1},
        {0x01021997, "9p", 1},
        {0x65735546, "fuse.sshfs", 1},
        {0x65735546, "fuseblk", 0},
        {0x65735546, "fuse.gocryptfs", 0},
        {0xEF53, "ext4", 0},
        {0x01021994, "tmpfs", 0},
    };
    KelmPlatform::ScopedSystemCalls calls;
    calls->statfs = FakeStatfs;
    calls->mountType = FakeMountType;
    for (const auto& c : cases) {
        g_fsType = c.type;
        g_mountType = c.mount;
        EXPECT_EQ(FolderUtils::IsNetworkFolder(dir.Path()), c.network) << c.mount;
    }
}

TEST(FolderUtilsCreation, createsMissingParentsAndReportsOnlyANewFolder) {
    kelmtest::TempDir dir{"folderutils"};
    EXPECT_EQ(FolderUtils::CreateFolderPathExists(dir.Child(L"a/b/c/")), 1);
    EXPECT_TRUE(IsFolder(dir.NativeChild("a/b/c")));
    EXPECT_EQ(FolderUtils::CreateFolderPathExists(dir.Child(L"a/b/c")), 0);
    EXPECT_EQ(FolderUtils::CreateFolderPathExists(dir.Child(L"a/b")), 0);
    dir.MakeFile("file");
    EXPECT_EQ(FolderUtils::CreateFolderPathExists(dir.Child(L"file/x")), 0);
    EXPECT_EQ(FolderUtils::CreateFolderPathExists(L""), 0);
}
