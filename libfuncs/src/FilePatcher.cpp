#include "FilePatcher.h"

#include <cerrno>
#include <unistd.h>

namespace KelmLibraryFuncs {
namespace {

bool ReadAll(int fd, std::uint64_t offset, unsigned char* bytes, std::size_t count) {
    while (count != 0) {
        const ssize_t n = pread(fd, bytes, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        offset += static_cast<std::uint64_t>(n);
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

bool WriteAll(int fd, std::uint64_t offset, const unsigned char* bytes, std::size_t count) {
    while (count != 0) {
        const ssize_t n = pwrite(fd, bytes, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        offset += static_cast<std::uint64_t>(n);
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool FilePatcher::Write(std::uint64_t offset, const unsigned char* bytes, std::size_t count) {
    Saved saved{offset, std::vector<unsigned char>(count)};
    if (!ReadAll(m_fd, offset, saved.bytes.data(), count))
        return false;
    m_saved.push_back(std::move(saved));
    return WriteAll(m_fd, offset, bytes, count);
}

void FilePatcher::Undo() {
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
        WriteAll(m_fd, it->offset, it->bytes.data(), it->bytes.size());
    m_saved.clear();
}

bool FilePatcher::Sync() const {
    return fsync(m_fd) == 0;
}

} // namespace KelmLibraryFuncs
