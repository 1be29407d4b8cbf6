#pragma once
// Which storage serves an item's Windows metadata, decided per file system.
#include <sys/types.h>

namespace KelmPlatform {

enum class FileSystemKind {
    Generic, // ext4, xfs, btrfs, tmpfs, ...: Samba's user.DOSATTRIB
    Ntfs3g,  // FUSE ntfs-3g: system.ntfs_crtime / system.ntfs_attrib
    Ntfs3,   // kernel ntfs3: system.ntfs_attrib, creation time read-only
    Cifs,    // the cifs/smb3 client: user.cifs.creationtime / user.cifs.dosattrib
    Fat,     // vfat / exfat: FAT attribute ioctl, creation time read-only
};

// `native` is the item's path; `device` its st_dev, the key of the cache.
FileSystemKind FileSystemKindOf(const char* native, dev_t device);

} // namespace KelmPlatform
