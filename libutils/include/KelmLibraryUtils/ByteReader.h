#pragma once
// Random access to a bounded run of bytes: a buffer in memory, an open file
// or a stream inside a container. The binary readers work against this
// interface, so the same parser reads a file from the disk and a buffer that
// a test or a fuzzer hands it.
#include <cstddef>
#include <cstdint>

namespace KelmLibraryUtils {

class ByteReader {
public:
    virtual ~ByteReader() = default;
    virtual std::uint64_t Size() const = 0;
    // Copies `count` bytes from `offset`; false when they do not all lie
    // inside the source or cannot be read.
    virtual bool ReadAt(std::uint64_t offset, void* out, std::size_t count) const = 0;

    bool Fits(std::uint64_t offset, std::uint64_t count) const {
        return offset <= Size() && count <= Size() - offset;
    }
};

// Bytes owned by the caller, who keeps them alive while the reader is used.
class MemoryByteReader : public ByteReader {
public:
    MemoryByteReader(const void* data, std::size_t size)
        : m_data(static_cast<const unsigned char*>(data)), m_size(data ? size : 0) {}
    std::uint64_t Size() const override { return m_size; }
    bool ReadAt(std::uint64_t offset, void* out, std::size_t count) const override;

private:
    const unsigned char* m_data;
    std::size_t m_size;
};

// A regular file open for reading; the caller keeps the descriptor open.
// The size is taken once, when the reader is made (0 for anything that is
// not a regular file, so nothing can be read from it).
class DescriptorByteReader : public ByteReader {
public:
    explicit DescriptorByteReader(int fd);
    std::uint64_t Size() const override { return m_size; }
    bool ReadAt(std::uint64_t offset, void* out, std::size_t count) const override;

private:
    int m_fd;
    std::uint64_t m_size = 0;
};

} // namespace KelmLibraryUtils
