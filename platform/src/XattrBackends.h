#pragma once
// File systems that keep the Windows attributes and creation time
// themselves and expose them as xattrs: ntfs-3g, the kernel's ntfs3 and the
// cifs client. They differ only in the names and in whether the creation
// time can be set.
#include "Backend.h"

namespace KelmPlatform {

class XattrBackend : public Backend {
public:
    // `createdName` null: the creation time is the statx birth time and
    // cannot be set.
    XattrBackend(const char* attributesName, const char* createdName)
        : m_attributesName(attributesName), m_createdName(createdName) {}

    FileTime StoredCreated(const ItemState& item) const override;
    int WriteCreated(const ItemState& item, FileTime created) const override;
    std::uint32_t Attributes(const ItemState& item) const override;
    int WriteAttributes(const ItemState& item, std::uint32_t attributes) const override;

private:
    const char* m_attributesName;
    const char* m_createdName;
};

// vfat and exfat: the FAT attribute byte through its ioctl; no temporary or
// not-indexed bit, creation time not settable, times rounded by FAT.
class FatBackend : public Backend {
public:
    FileTime StoredCreated(const ItemState&) const override { return 0; }
    int WriteCreated(const ItemState& item, FileTime created) const override;
    std::uint32_t Attributes(const ItemState& item) const override;
    int WriteAttributes(const ItemState& item, std::uint32_t attributes) const override;
    FileTime ModifiedGranularity() const override { return 2 * kTicksPerSecond; }
    FileTime AccessedGranularity() const override { return 24 * 3600 * kTicksPerSecond; }
};

} // namespace KelmPlatform
