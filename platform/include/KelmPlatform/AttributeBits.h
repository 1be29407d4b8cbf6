#pragma once
// The Windows attribute bits, as stored by Samba, ntfs-3g and the cifs client.
#include <cstdint>

namespace KelmPlatform {

enum AttributeBit : std::uint32_t {
    kReadOnly = 0x1,
    kHidden = 0x2,
    kSystem = 0x4,
    kDirectory = 0x10,
    kArchive = 0x20,
    kNormal = 0x80,
    kTemporary = 0x100,
    kSparse = 0x200,
    kReparsePoint = 0x400,
    kCompressed = 0x800,
    kOffline = 0x1000,
    kNotContentIndexed = 0x2000,
    kEncrypted = 0x4000,
};

// The bits a caller may change; the others describe the item and are only read.
inline constexpr std::uint32_t kSettableAttributes =
    kReadOnly | kHidden | kSystem | kArchive | kTemporary | kNotContentIndexed;

} // namespace KelmPlatform
