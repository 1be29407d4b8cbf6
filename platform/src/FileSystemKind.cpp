#include "FileSystemKind.h"

#include "KelmPlatform/SystemCalls.h"

#include <map>
#include <mutex>
#include <string>
#include <sys/xattr.h>

namespace KelmPlatform {
namespace {

constexpr long kFuseMagic = 0x65735546;
constexpr long kNtfs3Magic = 0x7366746e;
constexpr long kNtfsLegacyMagic = 0x5346544e;
constexpr long kCifsMagic = 0xFF534D42;
constexpr long kSmb2Magic = 0xFE534D42;
constexpr long kMsdosMagic = 0x4d44;
constexpr long kExfatMagic = 0x2011BAB0;

std::mutex g_mutex;
std::map<dev_t, FileSystemKind> g_kinds;

// A FUSE mount's type does not always name its driver ("fuseblk"); ntfs-3g
// is recognised by the attribute xattr only it offers.
FileSystemKind FuseKind(const char* native) {
    const std::string type = Sys().mountType(native);
    if (type.find("ntfs") != std::string::npos)
        return FileSystemKind::Ntfs3g;
    std::uint32_t bits = 0;
    if (type == "fuseblk" &&
        Sys().lgetxattr(native, "system.ntfs_attrib", &bits, sizeof bits) == sizeof bits)
        return FileSystemKind::Ntfs3g;
    return FileSystemKind::Generic;
}

FileSystemKind Detect(const char* native) {
    struct statfs fs {};
    if (Sys().statfs(native, &fs) != 0)
        return FileSystemKind::Generic;
    switch (static_cast<long>(static_cast<unsigned long>(fs.f_type) & 0xFFFFFFFFul)) {
    case kFuseMagic:
        return FuseKind(native);
    case kNtfs3Magic:
    case kNtfsLegacyMagic:
        return FileSystemKind::Ntfs3;
    case kCifsMagic:
    case kSmb2Magic:
        return FileSystemKind::Cifs;
    case kMsdosMagic:
    case kExfatMagic:
        return FileSystemKind::Fat;
    default:
        return FileSystemKind::Generic;
    }
}

} // namespace

FileSystemKind FileSystemKindOf(const char* native, dev_t device) {
    {
        std::lock_guard lock(g_mutex);
        if (auto it = g_kinds.find(device); it != g_kinds.end())
            return it->second;
    }
    const FileSystemKind kind = Detect(native);
    std::lock_guard lock(g_mutex);
    g_kinds[device] = kind;
    return kind;
}

void ForgetFileSystems() {
    std::lock_guard lock(g_mutex);
    g_kinds.clear();
}

} // namespace KelmPlatform
