#pragma once
// The seam in front of the system calls the platform layer makes. Tests
// replace single entries to simulate a file system type, a missing xattr
// support or a failing call (EACCES, ENOSPC, EROFS); production code always
// goes through Sys().
#include <cstddef>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/types.h>

namespace KelmPlatform {

struct SystemCalls {
    int (*statfs)(const char* path, struct statfs* buf);
    int (*lstatx)(const char* path, unsigned mask, struct statx* buf);
    int (*utimensat)(int dirfd, const char* path, const timespec times[2], int flags);
    int (*chmod)(const char* path, mode_t mode);
    ssize_t (*lgetxattr)(const char* path, const char* name, void* value, size_t size);
    int (*lsetxattr)(const char* path, const char* name, const void* value, size_t size, int flags);
    int (*lremovexattr)(const char* path, const char* name);
    ssize_t (*llistxattr)(const char* path, char* list, size_t size);
    int (*open)(const char* path, int flags, mode_t mode);
    int (*close)(int fd);
    int (*ioctl)(int fd, unsigned long request, void* arg);
    // The file system type the mount table gives for the mount holding
    // `path` ("fuseblk", "ntfs-3g", "cifs", ...); empty when unknown. Used for
    // FUSE mounts, whose statfs type does not tell which driver serves them.
    std::string (*mountType)(const char* path);
};

SystemCalls& Sys();

// Restores the real system calls.
void ResetSystemCalls();

// The file system of each device is looked up once and remembered; tests that
// change what statfs or the mount table report forget it with this.
void ForgetFileSystems();

// Replaces entries of Sys() for the lifetime of the object, then restores the
// real calls. For tests.
class ScopedSystemCalls {
public:
    ScopedSystemCalls() { ForgetFileSystems(); }
    ~ScopedSystemCalls() {
        ResetSystemCalls();
        ForgetFileSystems();
    }
    ScopedSystemCalls(const ScopedSystemCalls&) = delete;
    ScopedSystemCalls& operator=(const ScopedSystemCalls&) = delete;
    SystemCalls* operator->() { return &Sys(); }
};

} // namespace KelmPlatform
