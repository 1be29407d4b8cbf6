#pragma once
// Where one kind of file system keeps an item's creation time and Windows
// attributes. The common code in FileSystemItem.cpp adds what every file
// system shows the same way (directory, link, sparse, compressed, encrypted)
// and checks every write by reading the item back.
#include "ItemState.h"

#include <cstdint>

namespace KelmPlatform {

class Backend {
public:
    virtual ~Backend() = default;

    // The stored creation time, 0 when none is stored.
    virtual FileTime StoredCreated(const ItemState& item) const = 0;
    virtual int WriteCreated(const ItemState& item, FileTime created) const = 0;

    // The settable attribute bits as the item shows them.
    virtual std::uint32_t Attributes(const ItemState& item) const = 0;
    virtual bool IsReadOnly(const ItemState& item) const;
    // Stores the settable bits of `attributes`.
    virtual int WriteAttributes(const ItemState& item, std::uint32_t attributes) const = 0;

    // How far a written modified time may be rounded by the file system.
    virtual FileTime ModifiedGranularity() const { return 1; }
    virtual FileTime AccessedGranularity() const { return 1; }

    // The creation time the item shows.
    FileTime Created(const ItemState& item) const {
        const FileTime stored = StoredCreated(item);
        return stored ? stored : item.BirthOrEarliest();
    }
};

const Backend& BackendFor(FileSystemKind kind);

// Little helpers for the xattr-based backends. Both set the last error.
bool GetXattr(const ItemState& item, const char* name, void* value, size_t size);
int SetXattr(const ItemState& item, const char* name, const void* value, size_t size);

} // namespace KelmPlatform
