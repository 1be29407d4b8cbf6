// The download block mark: Samba's Zone.Identifier stream, the same stream
// as ntfs-3g exposes it, and the origin attributes that browsers, curl and
// wget write on Linux. Any one of them marks the item.
#include "ItemState.h"
#include "KelmPlatform/FileSystemItem.h"
#include "KelmPlatform/NativeName.h"
#include "KelmPlatform/SystemCalls.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

namespace KelmPlatform {
namespace {

constexpr const char* kMarkNames[] = {
    "user.DosStream.Zone.Identifier:$DATA",
    "user.Zone.Identifier",
    "user.xdg.origin.url",
    "user.xdg.referrer.url",
};

bool IsMarkName(std::string_view name) {
    for (const char* mark : kMarkNames) {
        if (name == mark)
            return true;
    }
    return false;
}

// The mark names present on the item; false when they cannot be listed.
bool ListMarks(const std::string& native, std::vector<std::string>& marks) {
    marks.clear();
    std::vector<char> names(1024);
    for (;;) {
        const ssize_t size = Sys().llistxattr(native.c_str(), names.data(), names.size());
        if (size >= 0) {
            names.resize(static_cast<size_t>(size));
            break;
        }
        if (errno == ENOTSUP)
            return true; // no xattrs, so no mark
        if (errno != ERANGE || names.size() >= (1u << 20)) {
            SetLastError(errno);
            return false;
        }
        names.resize(names.size() * 4);
    }
    for (size_t i = 0; i < names.size();) {
        const size_t length = strnlen(names.data() + i, names.size() - i);
        const std::string_view name(names.data() + i, length);
        if (IsMarkName(name))
            marks.emplace_back(name);
        i += length + 1;
    }
    return true;
}

} // namespace

int BlockMarkExists(const std::wstring& path) {
    std::vector<std::string> marks;
    return ListMarks(ToNative(path), marks) && !marks.empty();
}

int RemoveBlockMark(const std::wstring& path) {
    const std::string native = ToNative(path);
    std::vector<std::string> marks;
    if (!ListMarks(native, marks))
        return 0;
    for (const auto& mark : marks) {
        if (Sys().lremovexattr(native.c_str(), mark.c_str()) != 0 && errno != ENODATA)
            SetLastError(errno);
    }
    if (!ListMarks(native, marks))
        return 0;
    if (!marks.empty()) {
        if (LastError() == 0)
            SetLastError(EACCES);
        return 0;
    }
    return 1;
}

} // namespace KelmPlatform
