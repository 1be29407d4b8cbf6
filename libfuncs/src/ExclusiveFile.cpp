#include "ExclusiveFile.h"

#include <KelmPlatform/NativeName.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KelmLibraryFuncs {
namespace {

// O_NONBLOCK: an open that would wait for another process's lease to break
// fails instead, and a FIFO put in place of the document does not block.
constexpr int kOpenFlags = O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;

// A read lease is granted only while nobody has the file open for writing.
// The probe holds it for a moment; should another process open the file
// meanwhile, the break notice comes as SIGURG, which is ignored unless the
// program asks for it, instead of the default SIGIO that would end it.
bool OpenForWritingElsewhere(const std::string& native) {
    const int fd = ::open(native.c_str(), O_RDONLY | kOpenFlags);
    if (fd < 0)
        return false;
    bool busy = false;
    if (fcntl(fd, F_SETSIG, SIGURG) == 0) {
        if (fcntl(fd, F_SETLEASE, F_RDLCK) == 0)
            fcntl(fd, F_SETLEASE, F_UNLCK);
        else
            busy = errno == EAGAIN;
    }
    ::close(fd);
    return busy;
}

// Lock kinds a file system does not support are no conflict.
bool Unsupported(int error) {
    return error == EINVAL || error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS;
}

bool LockWholeFile(int fd, int& error) {
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 && !Unsupported(errno)) {
        error = errno;
        return false;
    }
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (fcntl(fd, F_OFD_SETLK, &lock) == 0)
        return true;
    if (errno == EINVAL && fcntl(fd, F_SETLK, &lock) == 0)
        return true;
    error = errno;
    return Unsupported(errno);
}

} // namespace

ExclusiveFile::ExclusiveFile(const std::wstring& path) {
    const std::string native = KelmPlatform::ToNative(path);
    if (OpenForWritingElsewhere(native) && Fail(EBUSY))
        return;
    m_fd = ::open(native.c_str(), O_RDWR | kOpenFlags);
    if (m_fd < 0) {
        m_error = errno;
        return;
    }
    struct stat st;
    if (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Fail(EINVAL);
        return;
    }
    int error = 0;
    if (!LockWholeFile(m_fd, error))
        Fail(error == EWOULDBLOCK || error == EACCES || error == EAGAIN ? EBUSY : error);
}

ExclusiveFile::~ExclusiveFile() {
    if (m_fd >= 0)
        ::close(m_fd); // releases both locks
}

bool ExclusiveFile::Fail(int error) {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_error = error;
    return true;
}

} // namespace KelmLibraryFuncs
