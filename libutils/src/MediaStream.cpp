#include "MediaStream.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace KelmLibraryUtils {

MediaStream::MediaStream(int descriptor, std::string nativeName)
    : m_fd(descriptor), m_name(std::move(nativeName)) {
    struct stat st {};
    if (m_fd >= 0 && ::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode))
        m_length = static_cast<long>(st.st_size);
    else
        m_fd = -1;
}

TagLib::ByteVector MediaStream::readBlock(unsigned long length) {
    if (m_fd < 0 || m_position >= m_length)
        return {};
    const auto left = static_cast<unsigned long>(m_length - m_position);
    const unsigned long wanted = std::min({length, left, kMaxBlock});
    TagLib::ByteVector block(static_cast<unsigned int>(wanted), '\0');
    unsigned long done = 0;
    while (done < wanted) {
        const ssize_t got = ::pread(m_fd, block.data() + done, wanted - done, m_position + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<unsigned long>(got);
    }
    block.resize(static_cast<unsigned int>(done));
    m_position += static_cast<long>(done);
    return block;
}

void MediaStream::seek(long offset, Position p) {
    long base = 0;
    if (p == Current)
        base = m_position;
    else if (p == End)
        base = m_length;
    // Offsets come from file contents: a seek before the start stays at the
    // start, and one far past the end stops where later additions cannot
    // overflow.
    constexpr long kFar = std::numeric_limits<long>::max() / 2;
    if (offset < 0 && base < -offset)
        m_position = 0;
    else if (offset > kFar - base)
        m_position = kFar;
    else
        m_position = base + offset;
}

} // namespace KelmLibraryUtils
