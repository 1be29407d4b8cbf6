#include "KelmLibraryUtils/ByteReader.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace KelmLibraryUtils {

bool MemoryByteReader::ReadAt(std::uint64_t offset, void* out, std::size_t count) const {
    if (!Fits(offset, count))
        return false;
    if (count != 0)
        std::memcpy(out, m_data + offset, count);
    return true;
}

DescriptorByteReader::DescriptorByteReader(int fd) : m_fd(fd) {
    struct stat st;
    if (fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        m_size = static_cast<std::uint64_t>(st.st_size);
}

bool DescriptorByteReader::ReadAt(std::uint64_t offset, void* out, std::size_t count) const {
    if (!Fits(offset, count))
        return false;
    auto* bytes = static_cast<unsigned char*>(out);
    while (count != 0) {
        const ssize_t n = pread(m_fd, bytes, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false; // an error, or the file shrank under us
        bytes += n;
        offset += static_cast<std::uint64_t>(n);
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace KelmLibraryUtils
