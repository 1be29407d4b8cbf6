#include "KelmLibraryUtils/FileContents.h"

#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KelmLibraryUtils {
namespace {

constexpr FileContents::Calls kRealCalls{::write, ::fsync, ::rename};

FileContents::Calls g_calls = kRealCalls;

int Fail(int error) {
    KelmPlatform::SetLastError(error);
    return 0;
}

// A symbolic link stands for the file it points to.
std::string ResolveTarget(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string target = resolved;
    free(resolved);
    return target;
}

// Windows refuses to replace a read-only file; so do we, whatever the
// process may do as root.
bool IsReadOnly(const std::string& path) {
    std::uint32_t attributes = 0;
    return KelmPlatform::ReadItemAttributes(KelmPlatform::FromNative(path), attributes) &&
           (attributes & KelmPlatform::kReadOnly);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A hidden name beside the target; a long name is shortened so that the
// pattern stays within the file system's name limit.
std::string TemporaryPattern(const std::string& folder, const std::string& target) {
    std::string name = target.substr(target.rfind('/') + 1);
    if (name.size() > 200)
        name.resize(200);
    return folder + "/." + name + ".XXXXXX";
}

// Whoever owned the file keeps owning it; only root can do this, and a
// failure leaves the file to the writer, as a new file would be.
void KeepOwner(int fd, const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
        (void)!fchown(fd, st.st_uid, st.st_gid);
}

mode_t NewFileMode(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = umask(022);
    umask(mask);
    return 0666 & ~mask;
}

int WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = g_calls.write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return 0;
        done += static_cast<size_t>(n);
    }
    return 1;
}

// The rename itself is durable only once the folder is flushed; a failure
// here no longer endangers the contents, so it is not reported.
void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

FileContents::ReadResult FileContents::Read(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    const int fd = open(KelmPlatform::ToNative(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return (errno == ENOENT || errno == ENOTDIR) ? ReadMissing : ReadFailed;
    struct stat st;
    ReadResult result = ReadDone;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<size_t>(st.st_size) > kMaxReadSize) {
        result = ReadFailed;
    }
    char buffer[65536];
    while (result == ReadDone) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || bytes.size() + static_cast<size_t>(n) > kMaxReadSize)
            result = ReadFailed;
        else if (n == 0)
            break;
        else
            bytes.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    if (result == ReadFailed)
        bytes.clear();
    return result;
}

int FileContents::ReplaceAtomically(const std::wstring& path, const std::string& bytes) {
    const std::string target = ResolveTarget(KelmPlatform::ToNative(path));
    struct stat st;
    if (stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return Fail(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    if (IsReadOnly(target))
        return Fail(EACCES);
    const std::string folder = FolderOf(target);
    std::string temporary = TemporaryPattern(folder, target);
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return Fail(errno);
    KeepOwner(fd, target);
    int ok = fchmod(fd, NewFileMode(target)) == 0 && WriteAll(fd, bytes) && g_calls.fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (close(fd) != 0 && ok) {
        ok = 0;
        error = errno;
    }
    if (ok && g_calls.rename(temporary.c_str(), target.c_str()) != 0) {
        ok = 0;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return Fail(error ? error : EIO);
    }
    SyncFolder(folder);
    return 1;
}

FileContents::Calls& FileContents::SystemCalls() {
    return g_calls;
}

void FileContents::ResetSystemCalls() {
    g_calls = kRealCalls;
}

} // namespace KelmLibraryUtils
