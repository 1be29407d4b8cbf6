#pragma once
// Reader of compound files (OLE structured storage) in the published
// format: the header, the sector allocation tables (DIFAT, FAT, mini FAT)
// and the directory. It finds streams and tells where their bytes lie in
// the file, so that a value can be read, or later overwritten in place,
// without copying the file.
//
// Every sector number, chain and size read from the file is checked before
// use: a cyclic chain, a sector or a size past the end of the file, an
// out-of-range directory id or an impossible count makes the operation fail.
// The reader never reads more bytes in total than the file holds (a sound
// file stores every byte in at most one structure), which bounds its work
// and memory on any input.
#include "KelmLibraryUtils/ByteReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace KelmLibraryUtils {

// One run of a stream's bytes: `length` bytes of the stream from
// `streamOffset` lie in the file at `fileOffset`.
struct CompoundFileExtent {
    std::uint64_t streamOffset = 0;
    std::uint64_t fileOffset = 0;
    std::uint64_t length = 0;
};

// Where a stream's bytes lie: runs in stream order covering the whole size.
struct CompoundFileStream {
    std::uint64_t size = 0;
    bool inMiniStream = false; // small streams live in 64-byte mini sectors
    std::vector<CompoundFileExtent> extents;

    // The file offset of a stream offset; false at or past the end.
    bool FileOffsetOf(std::uint64_t streamOffset, std::uint64_t& fileOffset) const;
};

class CompoundFile {
public:
    static constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    static constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;

    // True when `data` starts with the compound-file signature.
    static bool HasSignature(const void* data, std::size_t size);

    // `file` must outlive this object.
    explicit CompoundFile(const ByteReader& file) : m_file(file) {}

    // Reads the header, the allocation tables and the directory. 0 when the
    // bytes are not a well-formed compound file.
    int Open();

    int MajorVersion() const { return m_majorVersion; }
    std::uint32_t SectorSize() const { return m_sectorSize; }
    std::uint32_t EntryCount() const;

    // The stream named `name` (compared ignoring the case of A-Z) among the
    // children of the root storage.
    int FindRootStream(const std::wstring& name, std::uint32_t& entry) const;
    // The name and object type (1 storage, 2 stream, 5 root) of an entry.
    int GetEntry(std::uint32_t entry, std::wstring& name, int& type) const;
    // Where the bytes of stream `entry` lie.
    int GetStreamLayout(std::uint32_t entry, CompoundFileStream& stream) const;

    // Reads from the file within the reader's overall budget.
    bool ReadFile(std::uint64_t offset, void* out, std::size_t count) const;

private:
    struct Header;
    bool ReadHeader(Header& header);
    bool ReadFat(const Header& header);
    bool ReadDirectory(std::uint32_t firstSector);
    bool ReadMiniFat() const;
    bool ReadSector(std::uint32_t sector, std::vector<std::uint32_t>& entries) const;
    bool Chain(const std::vector<std::uint32_t>& table, std::uint32_t limit, std::uint32_t start,
               std::uint64_t count, std::vector<std::uint32_t>& chain) const;
    bool ChainToEnd(std::uint32_t start, std::vector<std::uint32_t>& chain) const;
    bool EntryField(std::uint32_t entry, std::size_t at, std::size_t size, void* out) const;
    bool RegularLayout(std::uint32_t start, CompoundFileStream& stream) const;
    bool MiniLayout(std::uint32_t start, CompoundFileStream& stream) const;
    bool Matches(std::uint32_t entry, const std::wstring& name) const;

    const ByteReader& m_file;
    mutable std::uint64_t m_budget = 0;
    int m_majorVersion = 0;
    std::uint32_t m_sectorSize = 0;
    std::uint32_t m_sectorCount = 0; // sectors that start inside the file
    std::uint32_t m_miniCutoff = 4096;
    std::uint32_t m_firstMiniFatSector = 0;
    std::uint32_t m_miniFatSectorCount = 0;
    std::vector<std::uint32_t> m_fat;
    std::vector<unsigned char> m_directory;
    // Loaded on first use: most lookups never touch the mini stream.
    mutable bool m_miniLoaded = false;
    mutable bool m_miniValid = false;
    mutable std::vector<std::uint32_t> m_miniFat;
    mutable std::vector<std::uint32_t> m_miniContainer; // sectors of the mini stream
    mutable std::uint64_t m_miniStreamSize = 0;
};

// The bytes of one stream, read through the file's layout.
class CompoundFileStreamReader : public ByteReader {
public:
    CompoundFileStreamReader(const CompoundFile& file, CompoundFileStream stream)
        : m_file(file), m_stream(std::move(stream)) {}
    std::uint64_t Size() const override { return m_stream.size; }
    bool ReadAt(std::uint64_t offset, void* out, std::size_t count) const override;
    const CompoundFileStream& Layout() const { return m_stream; }

private:
    const CompoundFile& m_file;
    CompoundFileStream m_stream;
};

} // namespace KelmLibraryUtils
