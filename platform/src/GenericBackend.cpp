// ext4, xfs, btrfs, tmpfs and the rest keep Windows metadata as Samba does:
// the read-only attribute of a file is its lack of write permission, a name
// starting with a dot is hidden, and everything else lives in the
// user.DOSATTRIB blob.
#include "GenericBackend.h"

#include "KelmPlatform/AttributeBits.h"
#include "KelmPlatform/DosAttrib.h"
#include "KelmPlatform/FileSystemItem.h"
#include "KelmPlatform/SystemCalls.h"

#include <cerrno>
#include <fstream>
#include <string>

namespace KelmPlatform {
namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

const std::optional<DosInfo>& ReadDosInfo(const ItemState& item) {
    if (!item.dosInfoRead) {
        char buffer[256];
        const ssize_t size =
            Sys().lgetxattr(item.native.c_str(), kDosAttribName, buffer, sizeof buffer);
        item.dosInfo = size > 0 ? DecodeDosAttrib(std::string_view(buffer, size)) : std::nullopt;
        item.dosInfoRead = true;
    }
    return item.dosInfo;
}

int WriteDosInfo(const ItemState& item, std::uint32_t attributes, FileTime created) {
    if (item.IsDirectory())
        attributes |= kDirectory;
    const std::string blob = EncodeDosAttrib(attributes, created);
    item.dosInfoRead = false;
    return SetXattr(item, kDosAttribName, blob.data(), blob.size());
}

// The process umask, read without changing it.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    }
    return 022;
}

int ChangeMode(const ItemState& item, mode_t mode) {
    if (Sys().chmod(item.native.c_str(), mode) != 0) {
        SetLastError(errno);
        return 0;
    }
    return 1;
}

mode_t WritableMode(mode_t mode) {
    return mode | ((0600 | ((mode & 044) >> 1)) & ~CurrentUmask());
}

// The bits as stored, with read-only of a file taken from its permissions.
std::uint32_t StoredView(const ItemState& item, const std::optional<DosInfo>& info) {
    std::uint32_t bits = 0;
    if (info && info->hasAttributes)
        bits = info->attributes & kSettableAttributes;
    else if (item.IsRegular())
        bits = kArchive;
    if (item.IsRegular()) {
        bits &= ~kReadOnly;
        if ((item.stx.stx_mode & kWriteBits) == 0)
            bits |= kReadOnly;
    }
    return bits;
}

} // namespace

FileTime GenericBackend::StoredCreated(const ItemState& item) const {
    const auto info = ReadDosInfo(item);
    return info ? info->createTime : 0;
}

int GenericBackend::WriteCreated(const ItemState& item, FileTime created) const {
    // Keep the stored attributes; with none stored yet, store what the item
    // shows now so that storing a time changes no attribute.
    return WriteDosInfo(item, StoredView(item, ReadDosInfo(item)), created);
}

bool GenericBackend::IsReadOnly(const ItemState& item) const {
    if (item.IsRegular())
        return (item.stx.stx_mode & kWriteBits) == 0;
    return Backend::IsReadOnly(item);
}

std::uint32_t GenericBackend::Attributes(const ItemState& item) const {
    std::uint32_t bits = StoredView(item, ReadDosInfo(item));
    if (item.HasDotName())
        bits |= kHidden;
    return bits;
}

int GenericBackend::WriteAttributes(const ItemState& item, std::uint32_t attributes) const {
    attributes &= kSettableAttributes;
    const auto& info = ReadDosInfo(item);
    const FileTime created = info && info->createTime ? info->createTime : item.BirthOrEarliest();
    if (!item.IsRegular())
        return WriteDosInfo(item, attributes, created);

    // Setting a user xattr needs write permission: store the bits while the
    // file is writable, that is before taking write permission away and
    // after giving it back.
    const mode_t mode = item.stx.stx_mode & 07777;
    const bool wasReadOnly = (mode & kWriteBits) == 0;
    const bool readOnly = attributes & kReadOnly;
    int ok = 1;
    if (wasReadOnly && !readOnly)
        ok = ChangeMode(item, WritableMode(mode));
    // A file system without user xattrs can still change read-only; whether
    // the rest took effect is decided by reading the item back.
    WriteDosInfo(item, attributes, created);
    if (ok && !wasReadOnly && readOnly)
        ok = ChangeMode(item, mode & ~kWriteBits);
    return ok;
}

} // namespace KelmPlatform
