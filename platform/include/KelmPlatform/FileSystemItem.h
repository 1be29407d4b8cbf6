#pragma once
// The one interface through which the libraries read and change a file or
// folder: its created, modified and accessed times, its attributes and its
// block mark. Which storage serves an item (Samba's stored DOS attributes,
// ntfs-3g, ntfs3, the cifs client, FAT) is chosen per item from its file
// system; callers never see xattr names.
//
// Every write reports success (nonzero) only when reading the item back shows
// what was asked. On failure, LastError() tells why (an errno value).
#include "KelmPlatform/FileTime.h"

#include <cstdint>
#include <string>

namespace KelmPlatform {

struct ItemTimes {
    FileTime created = 0;
    FileTime modified = 0;
    FileTime accessed = 0;
};

// Reads the three times. Returns 0 when the item cannot be queried.
int ReadItemTimes(const std::wstring& path, ItemTimes& times);

// Reads only the modified and accessed times (created is left 0): one query
// and no metadata lookup, for callers that do not need the created time.
int ReadItemModifiedAndAccessed(const std::wstring& path, ItemTimes& times);

// Writes the times that are nonzero and leaves the others, nanoseconds
// included. A file whose read-only attribute is set is refused (EACCES), as
// Windows refuses to open it for the change; clear the attribute first.
int WriteItemTimes(const std::wstring& path, const ItemTimes& times);

// Times and attributes from one query of the item, for readers that want both.
struct ItemInfo {
    ItemTimes times;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
};
int ReadItemInfo(const std::wstring& path, ItemInfo& info);

// Reads the attribute bits (AttributeBits.h). Returns 0 when the item cannot
// be queried.
int ReadItemAttributes(const std::wstring& path, std::uint32_t& attributes);

// Makes the settable bits of the item equal to those of `attributes`; the
// other bits are ignored.
int WriteItemAttributes(const std::wstring& path, std::uint32_t attributes);

// Nonzero when the item carries a download block mark.
int BlockMarkExists(const std::wstring& path);

// Removes every kind of block mark present. Nothing present is success.
int RemoveBlockMark(const std::wstring& path);

// The errno of the last failure on this thread, 0 when none.
int LastError();
void SetLastError(int error);

} // namespace KelmPlatform
