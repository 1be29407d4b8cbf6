#pragma once
// Writes byte ranges of an open file in place and remembers what they held,
// so that a change that does not read back as intended can be taken back.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace KelmLibraryFuncs {

class FilePatcher {
public:
    explicit FilePatcher(int fd) : m_fd(fd) {}

    // False when the old bytes cannot be read or the new ones not written.
    bool Write(std::uint64_t offset, const unsigned char* bytes, std::size_t count);
    // Puts back every range written, last first.
    void Undo();
    // Makes the writes durable.
    bool Sync() const;

private:
    struct Saved {
        std::uint64_t offset;
        std::vector<unsigned char> bytes;
    };
    int m_fd;
    std::vector<Saved> m_saved;
};

} // namespace KelmLibraryFuncs
