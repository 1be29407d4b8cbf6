#include "XattrBackends.h"

#include "GenericBackend.h"
#include "KelmPlatform/AttributeBits.h"
#include "KelmPlatform/FileSystemItem.h"
#include "KelmPlatform/SystemCalls.h"

#include <cerrno>
#include <sys/ioctl.h>

#include <linux/msdos_fs.h>
#include <unistd.h>

namespace KelmPlatform {

bool GetXattr(const ItemState& item, const char* name, void* value, size_t size) {
    const ssize_t got = Sys().lgetxattr(item.native.c_str(), name, value, size);
    if (got < 0)
        SetLastError(errno);
    return got == static_cast<ssize_t>(size);
}

int SetXattr(const ItemState& item, const char* name, const void* value, size_t size) {
    if (Sys().lsetxattr(item.native.c_str(), name, value, size, 0) != 0) {
        SetLastError(errno);
        return 0;
    }
    return 1;
}

bool Backend::IsReadOnly(const ItemState& item) const {
    return (Attributes(item) & kReadOnly) != 0;
}

// The xattr values are host-order integers: little-endian on the machines
// these drivers run on.
FileTime XattrBackend::StoredCreated(const ItemState& item) const {
    FileTime created = 0;
    if (m_createdName && GetXattr(item, m_createdName, &created, sizeof created))
        return created;
    return 0;
}

int XattrBackend::WriteCreated(const ItemState& item, FileTime created) const {
    if (!m_createdName) {
        SetLastError(ENOTSUP);
        return 0;
    }
    return SetXattr(item, m_createdName, &created, sizeof created);
}

std::uint32_t XattrBackend::Attributes(const ItemState& item) const {
    std::uint32_t bits = 0;
    GetXattr(item, m_attributesName, &bits, sizeof bits);
    return bits & kSettableAttributes;
}

int XattrBackend::WriteAttributes(const ItemState& item, std::uint32_t attributes) const {
    std::uint32_t bits = 0;
    GetXattr(item, m_attributesName, &bits, sizeof bits);
    bits = (bits & ~kSettableAttributes) | (attributes & kSettableAttributes);
    if (item.IsDirectory())
        bits |= kDirectory;
    return SetXattr(item, m_attributesName, &bits, sizeof bits);
}

namespace {

constexpr std::uint32_t kFatBits = kReadOnly | kHidden | kSystem | kArchive;

// Runs `request` on an open descriptor of the item.
int FatIoctl(const ItemState& item, unsigned long request, std::uint32_t& bits) {
    const int fd = Sys().open(item.native.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC, 0);
    if (fd < 0) {
        SetLastError(errno);
        return 0;
    }
    const int result = Sys().ioctl(fd, request, &bits);
    if (result != 0)
        SetLastError(errno);
    Sys().close(fd);
    return result == 0;
}

} // namespace

int FatBackend::WriteCreated(const ItemState&, FileTime) const {
    SetLastError(ENOTSUP);
    return 0;
}

std::uint32_t FatBackend::Attributes(const ItemState& item) const {
    std::uint32_t bits = 0;
    FatIoctl(item, FAT_IOCTL_GET_ATTRIBUTES, bits);
    return bits & kFatBits;
}

int FatBackend::WriteAttributes(const ItemState& item, std::uint32_t attributes) const {
    std::uint32_t bits = 0;
    if (!FatIoctl(item, FAT_IOCTL_GET_ATTRIBUTES, bits))
        return 0;
    bits = (bits & ~kFatBits) | (attributes & kFatBits);
    return FatIoctl(item, FAT_IOCTL_SET_ATTRIBUTES, bits);
}

const Backend& BackendFor(FileSystemKind kind) {
    static const GenericBackend generic;
    static const XattrBackend ntfs3g("system.ntfs_attrib", "system.ntfs_crtime");
    static const XattrBackend ntfs3("system.ntfs_attrib", nullptr);
    static const XattrBackend cifs("user.cifs.dosattrib", "user.cifs.creationtime");
    static const FatBackend fat;
    switch (kind) {
    case FileSystemKind::Ntfs3g:
        return ntfs3g;
    case FileSystemKind::Ntfs3:
        return ntfs3;
    case FileSystemKind::Cifs:
        return cifs;
    case FileSystemKind::Fat:
        return fat;
    case FileSystemKind::Generic:
        break;
    }
    return generic;
}

} // namespace KelmPlatform
