#include "PhotoFileReplacement.h"

#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace KelmLibraryUtils {
namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A hidden name beside the original, short enough for any name limit.
std::string TemporaryPattern(const std::string& path) {
    std::string name = path.substr(path.rfind('/') + 1);
    if (name.size() > 200)
        name.resize(200);
    return FolderOf(path) + "/." + name + ".XXXXXX";
}

int WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return 0;
        done += static_cast<size_t>(n);
    }
    return 1;
}

std::vector<char> ReadList(const std::string& path) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = llistxattr(path.c_str(), nullptr, 0);
        if (size <= 0)
            return {};
        std::vector<char> list(static_cast<size_t>(size));
        const ssize_t got = llistxattr(path.c_str(), list.data(), list.size());
        if (got >= 0) {
            list.resize(static_cast<size_t>(got));
            return list;
        }
        if (errno != ERANGE)
            return {};
    }
    return {};
}

int CopyAttribute(const std::string& path, const char* name, int fd) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = lgetxattr(path.c_str(), name, nullptr, 0);
        if (size < 0)
            return 0;
        std::vector<char> value(static_cast<size_t>(size) + 1);
        const ssize_t got = lgetxattr(path.c_str(), name, value.data(), value.size());
        if (got >= 0)
            return fsetxattr(fd, name, value.data(), static_cast<size_t>(got), 0) == 0;
        if (errno != ERANGE)
            return 0;
    }
    return 0;
}

// Every user attribute must come along; the others (ACLs, security labels)
// are kept where the process may set them, as a copy by the user would.
int CopyAttributes(const std::string& path, int fd) {
    const std::vector<char> list = ReadList(path);
    for (size_t at = 0; at < list.size();) {
        const std::string name(list.data() + at);
        at += name.size() + 1;
        if (!CopyAttribute(path, name.c_str(), fd) && name.rfind("user.", 0) == 0)
            return 0;
    }
    return 1;
}

// Created time and attributes live in xattrs only on some file systems; on
// others (ntfs-3g, cifs) they belong to the file, so put them on the new one.
// The contents are safe either way, so a failure here is not one of the write.
void KeepItemInfo(const std::string& path, const std::string& temporary) {
    const std::wstring from = KelmPlatform::FromNative(path);
    const std::wstring to = KelmPlatform::FromNative(temporary);
    KelmPlatform::ItemInfo before, after;
    if (!KelmPlatform::ReadItemInfo(from, before) || !KelmPlatform::ReadItemInfo(to, after))
        return;
    if (before.times.created != after.times.created) {
        KelmPlatform::ItemTimes created;
        created.created = before.times.created;
        KelmPlatform::WriteItemTimes(to, created);
    }
    const std::uint32_t settable = KelmPlatform::kSettableAttributes;
    if ((before.attributes & settable) != (after.attributes & settable))
        KelmPlatform::WriteItemAttributes(to, before.attributes);
}

int FillTemporary(int fd, const std::string& path, const struct stat& original,
                  const std::string& contents) {
    return WriteAll(fd, contents) && CopyAttributes(path, fd) &&
           fchown(fd, original.st_uid, original.st_gid) == 0 &&
           fchmod(fd, original.st_mode & 07777) == 0;
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

int Fail(int error) {
    KelmPlatform::SetLastError(error ? error : EIO);
    return 0;
}

} // namespace

int PhotoFileReplacement::Replace(const std::string& path, const struct stat& original,
                                  const std::string& contents) {
    std::string temporary = TemporaryPattern(path);
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return Fail(errno);
    int ok = FillTemporary(fd, path, original, contents);
    int error = ok ? 0 : errno;
    if (ok)
        KeepItemInfo(path, temporary);
    if (ok && fsync(fd) != 0) {
        ok = 0;
        error = errno;
    }
    if (close(fd) != 0 && ok) {
        ok = 0;
        error = errno;
    }
    if (ok && rename(temporary.c_str(), path.c_str()) != 0) {
        ok = 0;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return Fail(error);
    }
    SyncFolder(FolderOf(path));
    return 1;
}

} // namespace KelmLibraryUtils
