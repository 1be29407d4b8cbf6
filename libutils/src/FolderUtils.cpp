#include "KelmLibraryUtils/FolderUtils.h"

#include "KelmLibraryUtils/FileUtils.h"

#include <KelmPlatform/NativeName.h>
#include <KelmPlatform/SystemCalls.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <sys/stat.h>

namespace KelmLibraryUtils {
namespace {

constexpr std::uint32_t kFuseMagic = 0x65735546;

// statfs types of network file systems.
constexpr std::array<std::uint32_t, 11> kNetworkMagics = {
    0x6969,     // NFS
    0x517B,     // SMB (smbfs)
    0xFF534D42, // CIFS
    0xFE534D42, // SMB2/3
    0x01021997, // 9p
    0x5346414F, // AFS (OpenAFS)
    0x6B414653, // AFS (kAFS)
    0x73757245, // Coda
    0x564C,     // NCP
    0x00C36400, // Ceph
    0x0BD00BD0, // Lustre
};

// FUSE drivers that reach across the network; FUSE itself does not say.
constexpr std::array<std::string_view, 8> kNetworkFuseTypes = {
    "fuse.sshfs",     "fuse.rclone",   "fuse.s3fs",      "fuse.curlftpfs",
    "fuse.glusterfs", "fuse.smbnetfs", "fuse.ceph-fuse", "fuse.davfs2",
};

template <typename List, typename Value> bool Contains(const List& list, const Value& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

int FolderUtils::GetFolderLevel(const std::wstring& path) {
    const auto separators = std::count(path.begin(), path.end(), L'/');
    return static_cast<int>(std::max<std::ptrdiff_t>(separators, 1));
}

int FolderUtils::IsNetworkFolder(const std::wstring& path) {
    const std::string native = KelmPlatform::ToNative(path);
    struct statfs fs {};
    if (KelmPlatform::Sys().statfs(native.c_str(), &fs) != 0)
        return 0;
    const auto type = static_cast<std::uint32_t>(fs.f_type);
    if (type == kFuseMagic)
        return Contains(kNetworkFuseTypes, KelmPlatform::Sys().mountType(native.c_str())) ? 1 : 0;
    return Contains(kNetworkMagics, type) ? 1 : 0;
}

int FolderUtils::CreateFolderPathExists(const std::wstring& path) {
    const std::string native = KelmPlatform::ToNative(FileUtils::GetPathRemoveBackslash(path));
    if (native.empty())
        return 0;
    for (auto slash = native.find('/', 1); slash != std::string::npos;
         slash = native.find('/', slash + 1))
        ::mkdir(native.substr(0, slash).c_str(), 0777); // parents that exist already are fine
    return ::mkdir(native.c_str(), 0777) == 0 ? 1 : 0;
}

} // namespace KelmLibraryUtils
