#include "PhotoContentIo.h"

#include <exiv2/error.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace KelmLibraryUtils {
namespace {

constexpr long kBlockSize = 64 * 1024;

// Reads exactly `count` bytes at `offset`; false on an error or when the file
// ended early (it shrank since it was opened).
bool ReadAt(int fd, Exiv2::byte* buf, long count, long offset) {
    while (count > 0) {
        const ssize_t n = pread(fd, buf, static_cast<size_t>(count), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        buf += n;
        count -= n;
        offset += n;
    }
    return true;
}

} // namespace

PhotoContentIo::PhotoContentIo(int fd, long size, std::string path)
    : m_fd(fd), m_size(size), m_path(std::move(path)) {}

PhotoContentIo::~PhotoContentIo() = default;

int PhotoContentIo::open() {
    m_position = 0;
    m_eof = false;
    m_error = 0;
    return 0;
}

int PhotoContentIo::close() {
    return munmap();
}

long PhotoContentIo::write(const Exiv2::byte*, long) {
    return 0;
}

long PhotoContentIo::write(Exiv2::BasicIo&) {
    return 0;
}

int PhotoContentIo::putb(Exiv2::byte) {
    return EOF;
}

void PhotoContentIo::transfer(Exiv2::BasicIo&) {
    throw Exiv2::Error(Exiv2::kerTransferFailed);
}

bool PhotoContentIo::Fill(long at) {
    m_block.resize(kBlockSize);
    m_blockStart = at;
    m_blockLength = std::min(kBlockSize, m_size - at);
    if (ReadAt(m_fd, m_block.data(), m_blockLength, at))
        return true;
    m_blockLength = 0;
    m_error = EIO;
    return false;
}

long PhotoContentIo::ReadDirect(Exiv2::byte* buf, long count) {
    long done = 0;
    while (done < count) {
        const long at = m_position + done;
        if (at >= m_blockStart && at < m_blockStart + m_blockLength) {
            const long part = std::min(count - done, m_blockStart + m_blockLength - at);
            std::memcpy(buf + done, m_block.data() + (at - m_blockStart),
                        static_cast<size_t>(part));
            done += part;
        } else if (count - done >= kBlockSize) {
            if (!ReadAt(m_fd, buf + done, count - done, at)) {
                m_error = EIO;
                break;
            }
            done = count;
        } else if (!Fill(at)) {
            break;
        }
    }
    return done;
}

long PhotoContentIo::read(Exiv2::byte* buf, long rcount) {
    if (rcount <= 0)
        return 0;
    const long allowed = std::max(0L, std::min(rcount, Available()));
    if (rcount > allowed)
        m_eof = true;
    const long done = allowed > 0 ? ReadDirect(buf, allowed) : 0;
    m_position += done;
    return done;
}

Exiv2::DataBuf PhotoContentIo::read(long rcount) {
    // Sized by what the file holds, not by a count read from the file.
    const long allowed = std::max(0L, std::min(rcount, Available()));
    Exiv2::DataBuf buf(allowed);
    const long done = read(buf.pData_, allowed);
    if (rcount > allowed)
        m_eof = true;
    buf.size_ = done;
    return buf;
}

int PhotoContentIo::getb() {
    Exiv2::byte value = 0;
    if (Available() <= 0) {
        m_eof = true;
        return EOF;
    }
    return read(&value, 1) == 1 ? value : EOF;
}

int PhotoContentIo::seek(long offset, Position pos) {
    long base = 0;
    if (pos == cur)
        base = m_position;
    else if (pos == end)
        base = m_size;
    // Offsets come from the file: keep the sum from overflowing.
    if (offset < -m_size || base + offset < 0)
        return 1;
    if (offset > m_size || base + offset > m_size) {
        m_eof = true;
        return 1;
    }
    const long target = base + offset;
    m_position = target;
    m_eof = false;
    return 0;
}

Exiv2::byte* PhotoContentIo::mmap(bool isWriteable) {
    if (isWriteable || m_size > static_cast<long>(kMaxWholeRead))
        throw Exiv2::Error(Exiv2::kerFailedToReadImageData);
    if (m_whole.empty()) {
        m_whole.resize(static_cast<size_t>(std::max(1L, m_size)));
        if (!ReadAt(m_fd, m_whole.data(), m_size, 0)) {
            m_whole.clear();
            m_error = EIO;
            throw Exiv2::Error(Exiv2::kerFailedToReadImageData);
        }
    }
    bigBlock_ = m_whole.data();
    return m_whole.data();
}

int PhotoContentIo::munmap() {
    m_whole.clear();
    m_whole.shrink_to_fit();
    bigBlock_ = nullptr;
    return 0;
}

long PhotoContentIo::tell() const {
    return m_position;
}

size_t PhotoContentIo::size() const {
    return static_cast<size_t>(m_size);
}

bool PhotoContentIo::isopen() const {
    return true;
}

int PhotoContentIo::error() const {
    return m_error;
}

bool PhotoContentIo::eof() const {
    return m_eof;
}

std::string PhotoContentIo::path() const {
    return m_path;
}

} // namespace KelmLibraryUtils
