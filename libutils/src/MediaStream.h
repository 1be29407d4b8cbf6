#pragma once
// A read-only TagLib stream over an open descriptor. TagLib's own file
// stream opens by name with fopen, which updates the accessed time and may
// open for writing; this one reads only what it is given. Reads are bounded
// by the file's size and by kMaxBlock, so a corrupt size field in a tag
// cannot make TagLib allocate without bound.
#include <taglib/tiostream.h>

#include <string>

namespace KelmLibraryUtils {

class MediaStream : public TagLib::IOStream {
public:
    static constexpr unsigned long kMaxBlock = 64ul * 1024 * 1024;

    MediaStream(int descriptor, std::string nativeName);

    TagLib::FileName name() const override { return m_name.c_str(); }
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return m_fd >= 0; }
    void seek(long offset, Position p = Beginning) override;
    long tell() const override { return m_position; }
    long length() override { return m_length; }
    void truncate(long) override {}

private:
    int m_fd;
    std::string m_name;
    long m_length = 0;
    long m_position = 0;
};

} // namespace KelmLibraryUtils
