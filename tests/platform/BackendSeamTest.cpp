// The backends of file systems this machine may not have (ntfs-3g, ntfs3,
// cifs, FAT, a file system without user xattrs), driven through the system
// call seam on real temporary files: statfs and the mount table report the
// file system, and an in-memory table stands in for its xattrs.
#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>
#include <KelmPlatform/SystemCalls.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <linux/msdos_fs.h>
#include <map>
#include <sys/ioctl.h>

using namespace KelmPlatform;

namespace {

constexpr FileTime kCreated = 132'000'000'000'000'000ull;

// The simulated file system.
long g_type = 0;
std::string g_mountType;
bool g_xattrs = true;
std::map<std::pair<std::string, std::string>, std::string> g_values;
std::uint32_t g_fatBits = 0;

int FakeStatfs(const char*, struct statfs* buf) {
    std::memset(buf, 0, sizeof *buf);
    buf->f_type = g_type;
    return 0;
}

std::string FakeMountType(const char*) {
    return g_mountType;
}

ssize_t FakeGet(const char* path, const char* name, void* value, size_t size) {
    if (!g_xattrs)
        return errno = ENOTSUP, -1;
    auto it = g_values.find({path, name});
    if (it == g_values.end())
        return errno = ENODATA, -1;
    if (size < it->second.size())
        return errno = ERANGE, -1;
    std::memcpy(value, it->second.data(), it->second.size());
    return static_cast<ssize_t>(it->second.size());
}

int FakeSet(const char* path, const char* name, const void* value, size_t size, int) {
    if (!g_xattrs)
        return errno = ENOTSUP, -1;
    g_values[{path, name}] = std::string(static_cast<const char*>(value), size);
    return 0;
}

int FakeIoctl(int, unsigned long request, void* arg) {
    auto* bits = static_cast<std::uint32_t*>(arg);
    if (request == FAT_IOCTL_GET_ATTRIBUTES)
        *bits = g_fatBits;
    else if (request == FAT_IOCTL_SET_ATTRIBUTES)
        g_fatBits = *bits;
    else
        return errno = ENOTTY, -1;
    return 0;
}

class ASimulatedFileSystem : public ::testing::Test {
protected:
    void Use(long type, const std::string& mountType = {}) {
        g_type = type;
        g_mountType = mountType;
        g_xattrs = true;
        g_values.clear();
        g_fatBits = 0;
        calls->statfs = FakeStatfs;
        calls->mountType = FakeMountType;
        calls->lgetxattr = FakeGet;
        calls->lsetxattr = FakeSet;
        calls->ioctl = FakeIoctl;
    }
    std::string Stored(const char* name) { return g_values[{ToNative(file), name}]; }
    template <typename T> T StoredNumber(const char* name) {
        T value{};
        const std::string bytes = Stored(name);
        EXPECT_EQ(bytes.size(), sizeof value) << name;
        std::memcpy(&value, bytes.data(), std::min(bytes.size(), sizeof value));
        return value;
    }
    std::uint32_t Attributes() {
        std::uint32_t bits = 0;
        EXPECT_TRUE(ReadItemAttributes(file, bits));
        return bits;
    }
    int WriteCreated(FileTime created) {
        ItemTimes times;
        times.created = created;
        return WriteItemTimes(file, times);
    }

    ScopedSystemCalls calls;
    kelmtest::TempDir dir;
    std::wstring file = dir.MakeFile("doc.txt");
};

} // namespace

TEST_F(ASimulatedFileSystem, keepsNtfs3gMetadataInItsSystemXattrs) {
    Use(0x65735546, "fuseblk.ntfs-3g");
    ASSERT_TRUE(WriteItemAttributes(file, kHidden | kArchive));
    EXPECT_EQ(StoredNumber<std::uint32_t>("system.ntfs_attrib"), kHidden | kArchive);
    ASSERT_TRUE(WriteCreated(kCreated));
    EXPECT_EQ(StoredNumber<std::uint64_t>("system.ntfs_crtime"), kCreated);
    EXPECT_EQ(Attributes(), kHidden | kArchive);
}

TEST_F(ASimulatedFileSystem, recognisesNtfs3gOnAPlainFuseblkMountByItsAttributeXattr) {
    Use(0x65735546, "fuseblk");
    const std::uint32_t bits = kSystem;
    g_values[{ToNative(file), "system.ntfs_attrib"}] =
        std::string(reinterpret_cast<const char*>(&bits), sizeof bits);
    EXPECT_EQ(Attributes(), kSystem);
}

TEST_F(ASimulatedFileSystem, letsNtfs3ChangeAttributesButNotTheCreatedTime) {
    Use(0x7366746e);
    EXPECT_FALSE(WriteCreated(kCreated));
    EXPECT_EQ(LastError(), ENOTSUP);
    ASSERT_TRUE(WriteItemAttributes(file, kReadOnly | kNotContentIndexed));
    EXPECT_EQ(StoredNumber<std::uint32_t>("system.ntfs_attrib"), kReadOnly | kNotContentIndexed);
    // The stored read-only attribute, not the permissions, refuses the change.
    EXPECT_FALSE(WriteCreated(kCreated));
    EXPECT_EQ(LastError(), EACCES);
}

TEST_F(ASimulatedFileSystem, keepsCifsMetadataInTheClientsXattrs) {
    Use(0xFE534D42);
    ASSERT_TRUE(WriteItemAttributes(file, kTemporary));
    EXPECT_EQ(StoredNumber<std::uint32_t>("user.cifs.dosattrib"), kTemporary);
    ASSERT_TRUE(WriteCreated(kCreated));
    EXPECT_EQ(StoredNumber<std::uint64_t>("user.cifs.creationtime"), kCreated);
}

TEST_F(ASimulatedFileSystem, storesOnlyTheFourFatAttributesOnVfat) {
    Use(0x4d44);
    ASSERT_TRUE(WriteItemAttributes(file, kReadOnly | kHidden | kSystem | kArchive));
    EXPECT_EQ(g_fatBits, ATTR_RO | ATTR_HIDDEN | ATTR_SYS | ATTR_ARCH);
    EXPECT_FALSE(WriteItemAttributes(file, kTemporary));
    EXPECT_FALSE(WriteCreated(kCreated));
}

TEST_F(ASimulatedFileSystem, reportsFailureWhereUserXattrsAreMissing) {
    Use(0xEF53);
    g_xattrs = false;
    EXPECT_FALSE(WriteCreated(kCreated));
    EXPECT_FALSE(WriteItemAttributes(file, kArchive | kHidden));
    // Read-only needs no xattr: it is the file's permissions.
    EXPECT_TRUE(WriteItemAttributes(file, kArchive | kReadOnly));
    EXPECT_EQ(Attributes() & kSettableAttributes, kArchive | kReadOnly);
}

TEST_F(ASimulatedFileSystem, reportsAFullDiskAsFailure) {
    Use(0xEF53);
    calls->lsetxattr = [](const char*, const char*, const void*, size_t, int) {
        return errno = ENOSPC, -1;
    };
    EXPECT_FALSE(WriteItemAttributes(file, kSystem));
    EXPECT_EQ(LastError(), ENOSPC);
}
