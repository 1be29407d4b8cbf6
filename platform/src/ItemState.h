#pragma once
// What one lstat-style query tells about an item, shared by the backends so
// each public operation asks the file system once.
#include "FileSystemKind.h"
#include "KelmPlatform/FileTime.h"

#include "KelmPlatform/DosAttrib.h"

#include <optional>
#include <string>
#include <sys/stat.h>

namespace KelmPlatform {

struct ItemState {
    std::string native;
    struct statx stx {};
    FileSystemKind kind = FileSystemKind::Generic;
    // The stored DOS attributes, read at most once per query.
    mutable bool dosInfoRead = false;
    mutable std::optional<DosInfo> dosInfo;

    bool IsDirectory() const { return S_ISDIR(stx.stx_mode); }
    bool IsLink() const { return S_ISLNK(stx.stx_mode); }
    bool IsRegular() const { return S_ISREG(stx.stx_mode); }
    bool HasDotName() const;

    FileTime Modified() const;
    FileTime Accessed() const;
    // The birth time when the file system reports one, else the earliest of
    // mtime, ctime and atime (what Samba shows for such files).
    FileTime BirthOrEarliest() const;
};

// Queries the item without following a final symbolic link. Returns false
// (and sets the last error) when it cannot be queried.
bool QueryItem(const std::string& native, ItemState& state);

} // namespace KelmPlatform
