#include "KelmPlatform/SystemCalls.h"

#include <fstream>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace KelmPlatform {
namespace {

int RealStatfs(const char* path, struct statfs* buf) {
    return ::statfs(path, buf);
}

int RealLstatx(const char* path, unsigned mask, struct statx* buf) {
    return ::statx(AT_FDCWD, path, AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT, mask, buf);
}

int RealUtimensat(int dirfd, const char* path, const timespec times[2], int flags) {
    return ::utimensat(dirfd, path, times, flags);
}

int RealChmod(const char* path, mode_t mode) {
    return ::chmod(path, mode);
}

int RealOpen(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

int RealIoctl(int fd, unsigned long request, void* arg) {
    return ::ioctl(fd, request, arg);
}

// Finds the mount of `path` in /proc/self/mountinfo by its device number and
// returns the file system type field ("fuseblk", "fuse.sshfs", ...).
std::string RealMountType(const char* path) {
    struct stat st {};
    if (::stat(path, &st) != 0)
        return {};
    std::ifstream mountinfo("/proc/self/mountinfo");
    std::string line;
    const std::string device =
        std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
    while (std::getline(mountinfo, line)) {
        std::istringstream fields(line);
        std::string id, parent, majorMinor;
        fields >> id >> parent >> majorMinor;
        if (majorMinor != device)
            continue;
        const auto separator = line.find(" - ");
        if (separator == std::string::npos)
            return {};
        std::istringstream tail(line.substr(separator + 3));
        std::string type;
        tail >> type;
        return type;
    }
    return {};
}

SystemCalls RealCalls() {
    return SystemCalls{
        RealStatfs,     RealLstatx,   RealUtimensat, RealChmod, ::lgetxattr, ::lsetxattr,
        ::lremovexattr, ::llistxattr, RealOpen,      ::close,   RealIoctl,   RealMountType,
    };
}

} // namespace

SystemCalls& Sys() {
    static SystemCalls calls = RealCalls();
    return calls;
}

void ResetSystemCalls() {
    Sys() = RealCalls();
}

} // namespace KelmPlatform
