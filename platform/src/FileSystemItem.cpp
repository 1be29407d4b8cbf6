#include "KelmPlatform/FileSystemItem.h"

#include "Backend.h"
#include "KelmPlatform/AttributeBits.h"
#include "KelmPlatform/NativeName.h"
#include "KelmPlatform/SystemCalls.h"

#include <cerrno>

namespace KelmPlatform {
namespace {

thread_local int t_lastError = 0;

bool Query(const std::wstring& path, ItemState& item) {
    SetLastError(0);
    return QueryItem(ToNative(path), item);
}

const Backend& BackendOf(const ItemState& item) {
    return BackendFor(item.kind);
}

std::uint32_t AttributesOf(const ItemState& item) {
    std::uint32_t bits = BackendOf(item).Attributes(item);
    if (item.IsDirectory())
        bits |= kDirectory;
    if (item.IsLink())
        bits |= kReparsePoint;
    if (item.IsRegular() && item.stx.stx_blocks * 512 < item.stx.stx_size)
        bits |= kSparse;
    if (item.stx.stx_attributes_mask & item.stx.stx_attributes & STATX_ATTR_COMPRESSED)
        bits |= kCompressed;
    if (item.stx.stx_attributes_mask & item.stx.stx_attributes & STATX_ATTR_ENCRYPTED)
        bits |= kEncrypted;
    return bits;
}

bool Near(FileTime actual, FileTime wanted, FileTime granularity) {
    const FileTime distance = actual > wanted ? actual - wanted : wanted - actual;
    return distance < granularity;
}

int WriteModifiedAndAccessed(const ItemState& item, const ItemTimes& times) {
    if (!times.modified && !times.accessed)
        return 1;
    timespec values[2];
    values[0] = times.accessed ? TimespecFromFileTime(times.accessed) : timespec{0, UTIME_OMIT};
    values[1] = times.modified ? TimespecFromFileTime(times.modified) : timespec{0, UTIME_OMIT};
    if (Sys().utimensat(AT_FDCWD, item.native.c_str(), values, AT_SYMLINK_NOFOLLOW) != 0) {
        SetLastError(errno);
        return 0;
    }
    return 1;
}

// Reads the item back: a write counts only when the file system kept it.
int VerifyTimes(const std::string& native, const ItemTimes& wanted) {
    ItemState after;
    if (!QueryItem(native, after))
        return 0;
    const Backend& backend = BackendOf(after);
    const bool kept = (!wanted.modified ||
                       Near(after.Modified(), wanted.modified, backend.ModifiedGranularity())) &&
                      (!wanted.accessed ||
                       Near(after.Accessed(), wanted.accessed, backend.AccessedGranularity())) &&
                      (!wanted.created || backend.Created(after) == wanted.created);
    if (!kept)
        SetLastError(ENOTSUP);
    return kept;
}

} // namespace

int LastError() {
    return t_lastError;
}
void SetLastError(int error) {
    t_lastError = error;
}

int ReadItemTimes(const std::wstring& path, ItemTimes& times) {
    ItemState item;
    if (!Query(path, item))
        return 0;
    times.created = BackendOf(item).Created(item);
    times.modified = item.Modified();
    times.accessed = item.Accessed();
    return 1;
}

int ReadItemModifiedAndAccessed(const std::wstring& path, ItemTimes& times) {
    ItemState item;
    if (!Query(path, item))
        return 0;
    times.created = 0;
    times.modified = item.Modified();
    times.accessed = item.Accessed();
    return 1;
}

int ReadItemInfo(const std::wstring& path, ItemInfo& info) {
    ItemState item;
    if (!Query(path, item))
        return 0;
    info.times.created = BackendOf(item).Created(item);
    info.times.modified = item.Modified();
    info.times.accessed = item.Accessed();
    info.attributes = AttributesOf(item);
    info.size = item.stx.stx_size;
    return 1;
}

int WriteItemTimes(const std::wstring& path, const ItemTimes& times) {
    ItemState item;
    if (!Query(path, item))
        return 0;
    // Windows will not open a read-only file for the change; the attribute,
    // not the permission check (which root passes), decides.
    if (!item.IsDirectory() && BackendOf(item).IsReadOnly(item)) {
        SetLastError(EACCES);
        return 0;
    }
    // The creation time goes first, while `item` still describes the item.
    int ok = 1;
    if (times.created && BackendOf(item).Created(item) != times.created)
        ok = BackendOf(item).WriteCreated(item, times.created);
    ok = ok && WriteModifiedAndAccessed(item, times);
    return ok && VerifyTimes(item.native, times);
}

int ReadItemAttributes(const std::wstring& path, std::uint32_t& attributes) {
    ItemState item;
    if (!Query(path, item))
        return 0;
    attributes = AttributesOf(item);
    return 1;
}

int WriteItemAttributes(const std::wstring& path, std::uint32_t attributes) {
    ItemState item;
    if (!Query(path, item))
        return 0;
    const std::uint32_t wanted = attributes & kSettableAttributes;
    if ((AttributesOf(item) & kSettableAttributes) == wanted)
        return 1;
    BackendOf(item).WriteAttributes(item, wanted);
    ItemState after;
    if (!QueryItem(item.native, after))
        return 0;
    if ((AttributesOf(after) & kSettableAttributes) != wanted) {
        if (LastError() == 0)
            SetLastError(ENOTSUP);
        return 0;
    }
    return 1;
}

} // namespace KelmPlatform
