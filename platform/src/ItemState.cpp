#include "ItemState.h"

#include "KelmPlatform/FileSystemItem.h"
#include "KelmPlatform/SystemCalls.h"

#include <algorithm>
#include <cerrno>
#include <sys/sysmacros.h>

namespace KelmPlatform {
namespace {

FileTime FromStatx(const struct statx_timestamp& t) {
    return FileTimeFromTimespec(timespec{static_cast<time_t>(t.tv_sec), t.tv_nsec});
}

} // namespace

bool ItemState::HasDotName() const {
    std::string_view path(native);
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    const auto slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name.size() > 1 && name[0] == '.' && name != "..";
}

FileTime ItemState::Modified() const {
    return FromStatx(stx.stx_mtime);
}

FileTime ItemState::Accessed() const {
    return FromStatx(stx.stx_atime);
}

FileTime ItemState::BirthOrEarliest() const {
    if ((stx.stx_mask & STATX_BTIME) && (stx.stx_btime.tv_sec != 0 || stx.stx_btime.tv_nsec != 0))
        return FromStatx(stx.stx_btime);
    return std::min({Modified(), Accessed(), FromStatx(stx.stx_ctime)});
}

bool QueryItem(const std::string& native, ItemState& state) {
    state.native = native;
    if (native.empty()) {
        SetLastError(ENOENT);
        return false;
    }
    if (Sys().lstatx(native.c_str(), STATX_BASIC_STATS | STATX_BTIME, &state.stx) != 0) {
        SetLastError(errno);
        return false;
    }
    // statfs follows links, so a link's file system is found through its folder.
    std::string probe = native;
    if (state.IsLink()) {
        const auto slash = native.rfind('/');
        probe = slash == std::string::npos ? "." : slash == 0 ? "/" : native.substr(0, slash);
    }
    state.kind =
        FileSystemKindOf(probe.c_str(), makedev(state.stx.stx_dev_major, state.stx.stx_dev_minor));
    return true;
}

} // namespace KelmPlatform
