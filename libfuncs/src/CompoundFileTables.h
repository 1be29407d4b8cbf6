#pragma once
// The allocation of a compound file as a writer needs to know it: which
// sectors and mini sectors each structure and each stream owns, and where
// each directory entry lies. Loading claims every sector of the FAT, the
// DIFAT, the directory, the mini FAT, the mini stream and of every stream,
// and fails when one is claimed twice, when a chain leaves the file or runs
// short, or when a size is impossible. After a successful load, bytes written
// inside one stream's units land in that stream and nowhere else.
#include <KelmLibraryUtils/ByteReader.h>

#include <cstdint>
#include <vector>

namespace KelmLibraryFuncs {

class CompoundFileTables {
public:
    static constexpr std::uint32_t kMiniSectorSize = 64;
    static constexpr std::uint32_t kMiniStreamCutoff = 4096;

    // The units (mini sectors or sectors) a stream owns, in stream order.
    struct StreamUnits {
        bool mini = false;
        std::uint32_t unitSize = 0;
        std::uint64_t size = 0;
        std::vector<std::uint64_t> fileOffsets;
    };

    // `file` must outlive this object.
    explicit CompoundFileTables(const KelmLibraryUtils::ByteReader& file) : m_file(file) {}

    int Load();

    int MajorVersion() const { return m_majorVersion; }
    // The file offset of directory entry `entry`.
    bool EntryOffset(std::uint32_t entry, std::uint64_t& offset) const;
    // The units of stream `entry`; false for anything but a stream.
    bool GetStreamUnits(std::uint32_t entry, StreamUnits& units) const;

private:
    struct Header;
    bool ReadHeader(Header& header);
    bool ReadSectorWords(std::uint32_t sector, std::vector<std::uint32_t>& words) const;
    bool LoadFat(const Header& header);
    bool LoadDirectory(std::uint32_t firstSector);
    bool LoadMiniStream(const Header& header);
    bool LoadStreams();
    bool ClaimChain(std::uint32_t start, std::uint64_t count, std::vector<std::uint32_t>& chain);
    bool ClaimMiniChain(std::uint32_t start, std::uint64_t count,
                        std::vector<std::uint32_t>& chain);
    bool Claim(std::uint32_t sector);
    std::uint64_t SectorOffset(std::uint32_t sector) const;
    std::uint64_t EntrySize(std::uint32_t entry) const;
    std::uint32_t EntryStart(std::uint32_t entry) const;

    const KelmLibraryUtils::ByteReader& m_file;
    int m_majorVersion = 0;
    std::uint32_t m_sectorSize = 0;
    std::uint32_t m_sectorCount = 0;
    std::vector<bool> m_claimed;
    std::vector<bool> m_miniClaimed;
    std::vector<std::uint32_t> m_fat;
    std::vector<std::uint32_t> m_miniFat;
    std::vector<std::uint32_t> m_directoryChain;
    std::vector<unsigned char> m_directory;
    std::vector<std::uint32_t> m_miniContainer;
    std::uint64_t m_miniStreamSize = 0;
    std::vector<StreamUnits> m_streams; // by entry; empty units for non-streams
};

} // namespace KelmLibraryFuncs
