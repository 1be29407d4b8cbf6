#pragma once
// Exiv2's view of a photo opened through KelmPlatform::ContentReader. Reading
// goes through the descriptor, so the item's accessed time stays as it was,
// and only what the format's reader asks for is read: for a JPEG that is the
// segments before the image data, however large the file. Formats whose
// reader wants the whole file at once (TIFF) get it copied into memory, up to
// kMaxWholeRead; a larger file fails to read rather than being mapped, since
// a mapping of a file that shrinks meanwhile kills the process.
//
// The object never writes: every writing call fails.
#include <exiv2/basicio.hpp>

#include <cstddef>
#include <string>
#include <vector>

namespace KelmLibraryUtils {

class PhotoContentIo : public Exiv2::BasicIo {
public:
    static constexpr std::size_t kMaxWholeRead = 256u * 1024u * 1024u;

    // `fd` stays owned by the caller and must outlive the object.
    PhotoContentIo(int fd, long size, std::string path);
    ~PhotoContentIo() override;

    int open() override;
    int close() override;
    long write(const Exiv2::byte* data, long wcount) override;
    long write(Exiv2::BasicIo& src) override;
    int putb(Exiv2::byte data) override;
    Exiv2::DataBuf read(long rcount) override;
    long read(Exiv2::byte* buf, long rcount) override;
    int getb() override;
    void transfer(Exiv2::BasicIo& src) override;
    int seek(long offset, Position pos) override;
    Exiv2::byte* mmap(bool isWriteable = false) override;
    int munmap() override;
    long tell() const override;
    size_t size() const override;
    bool isopen() const override;
    int error() const override;
    bool eof() const override;
    std::string path() const override;

private:
    long Available() const { return m_size - m_position; }
    bool Fill(long at);
    long ReadDirect(Exiv2::byte* buf, long count);

    int m_fd;
    long m_size;
    std::string m_path;
    long m_position = 0;
    bool m_eof = false;
    int m_error = 0;
    // A read-ahead block, so that Exiv2's byte-wise marker scans do not make
    // one system call per byte.
    std::vector<Exiv2::byte> m_block;
    long m_blockStart = 0;
    long m_blockLength = 0;
    std::vector<Exiv2::byte> m_whole;
};

} // namespace KelmLibraryUtils
