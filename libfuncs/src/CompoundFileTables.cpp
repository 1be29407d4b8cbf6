#include "CompoundFileTables.h"

#include <KelmLibraryUtils/LittleEndian.h>

#include <algorithm>
#include <cstring>

namespace KelmLibraryFuncs {
namespace {

using KelmLibraryUtils::LittleEndian::U16;
using KelmLibraryUtils::LittleEndian::U32;
using KelmLibraryUtils::LittleEndian::U64;

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kHeaderDifatCount = 109;
constexpr std::size_t kEntrySize = 128;
constexpr std::size_t kMaxDirectorySize = 32 << 20;
constexpr std::uint64_t kMaxSectorCount = 0xFFFFFFFA;
const unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

enum EntryType { StreamEntry = 2, RootEntry = 5 };

std::uint64_t CeilDiv(std::uint64_t value, std::uint64_t unit) {
    return value / unit + (value % unit != 0);
}

} // namespace

struct CompoundFileTables::Header {
    std::uint32_t fatSectorCount = 0;
    std::uint32_t firstDirectorySector = 0;
    std::uint32_t firstMiniFatSector = 0;
    std::uint32_t miniFatSectorCount = 0;
    std::uint32_t firstDifatSector = 0;
    std::uint32_t difatSectorCount = 0;
    std::uint32_t difat[kHeaderDifatCount] = {};
};

int CompoundFileTables::Load() {
    Header header;
    const bool ok = ReadHeader(header) && LoadFat(header) &&
                    LoadDirectory(header.firstDirectorySector) && LoadMiniStream(header) &&
                    LoadStreams();
    return ok ? 1 : 0;
}

bool CompoundFileTables::ReadHeader(Header& header) {
    unsigned char b[kHeaderSize];
    if (!m_file.ReadAt(0, b, sizeof b) || std::memcmp(b, kSignature, sizeof kSignature) != 0)
        return false;
    const std::uint16_t major = U16(b + 26);
    const std::uint16_t shift = U16(b + 30);
    if (U16(b + 28) != 0xFFFE || U16(b + 32) != 6 ||
        !((major == 3 && shift == 9) || (major == 4 && shift == 12)) ||
        U32(b + 56) != kMiniStreamCutoff)
        return false;
    m_majorVersion = major;
    m_sectorSize = 1u << shift;
    const std::uint64_t size = m_file.Size();
    if (size <= m_sectorSize)
        return false;
    m_sectorCount = static_cast<std::uint32_t>(
        std::min(CeilDiv(size - m_sectorSize, m_sectorSize), kMaxSectorCount));
    m_claimed.assign(m_sectorCount, false);
    header.fatSectorCount = U32(b + 44);
    header.firstDirectorySector = U32(b + 48);
    header.firstMiniFatSector = U32(b + 60);
    header.miniFatSectorCount = U32(b + 64);
    header.firstDifatSector = U32(b + 68);
    header.difatSectorCount = U32(b + 72);
    for (std::size_t i = 0; i < kHeaderDifatCount; ++i)
        header.difat[i] = U32(b + 76 + 4 * i);
    return true;
}

std::uint64_t CompoundFileTables::SectorOffset(std::uint32_t sector) const {
    return (std::uint64_t{sector} + 1) * m_sectorSize;
}

bool CompoundFileTables::ReadSectorWords(std::uint32_t sector,
                                         std::vector<std::uint32_t>& words) const {
    std::vector<unsigned char> bytes(m_sectorSize);
    if (sector >= m_sectorCount || !m_file.ReadAt(SectorOffset(sector), bytes.data(), bytes.size()))
        return false;
    words.resize(m_sectorSize / 4);
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = U32(bytes.data() + 4 * i);
    return true;
}

bool CompoundFileTables::Claim(std::uint32_t sector) {
    if (sector >= m_sectorCount || m_claimed[sector])
        return false;
    m_claimed[sector] = true;
    return true;
}

// The FAT sectors are listed by the header and then by the DIFAT chain. A FAT
// sector that only describes sectors past the end of the file is still
// claimed when it lies inside the file, but it is not read.
bool CompoundFileTables::LoadFat(const Header& header) {
    const std::uint32_t count = header.fatSectorCount;
    if (count == 0 || count > m_sectorCount || header.difatSectorCount > m_sectorCount)
        return false;
    std::vector<std::uint32_t> fatSectors(
        header.difat, header.difat + std::min<std::size_t>(count, kHeaderDifatCount));
    std::vector<std::uint32_t> words;
    std::uint32_t next = header.firstDifatSector;
    for (std::uint32_t d = 0; fatSectors.size() < count; ++d) {
        if (d >= header.difatSectorCount || !Claim(next) || !ReadSectorWords(next, words))
            return false;
        for (std::size_t j = 0; j + 1 < words.size() && fatSectors.size() < count; ++j)
            fatSectors.push_back(words[j]);
        next = words.back();
    }
    const std::size_t needed = CeilDiv(m_sectorCount, m_sectorSize / 4);
    if (fatSectors.size() < needed)
        return false;
    for (std::size_t i = 0; i < fatSectors.size(); ++i) {
        const std::uint32_t sector = fatSectors[i];
        if (i >= needed && sector >= m_sectorCount)
            continue;
        if (!Claim(sector))
            return false;
        if (i < needed) {
            if (!ReadSectorWords(sector, words))
                return false;
            m_fat.insert(m_fat.end(), words.begin(), words.end());
        }
    }
    return true;
}

bool CompoundFileTables::ClaimChain(std::uint32_t start, std::uint64_t count,
                                    std::vector<std::uint32_t>& chain) {
    chain.clear();
    if (count > m_sectorCount)
        return false;
    std::uint32_t current = start;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (!Claim(current))
            return false;
        chain.push_back(current);
        current = m_fat[current];
    }
    return true;
}

bool CompoundFileTables::LoadDirectory(std::uint32_t firstSector) {
    m_directoryChain.clear();
    for (std::uint32_t current = firstSector; current != kEndOfChain; current = m_fat[current]) {
        if (!Claim(current) || (m_directoryChain.size() + 1) * m_sectorSize > kMaxDirectorySize)
            return false;
        m_directoryChain.push_back(current);
    }
    if (m_directoryChain.empty())
        return false;
    m_directory.resize(m_directoryChain.size() * std::size_t{m_sectorSize});
    for (std::size_t i = 0; i < m_directoryChain.size(); ++i) {
        if (!m_file.ReadAt(SectorOffset(m_directoryChain[i]), m_directory.data() + i * m_sectorSize,
                           m_sectorSize))
            return false;
    }
    return m_directory[66] == RootEntry;
}

std::uint64_t CompoundFileTables::EntrySize(std::uint32_t entry) const {
    const std::uint64_t size = U64(m_directory.data() + entry * kEntrySize + 120);
    return m_majorVersion == 3 ? (size & 0xFFFFFFFF) : size;
}

std::uint32_t CompoundFileTables::EntryStart(std::uint32_t entry) const {
    return U32(m_directory.data() + entry * kEntrySize + 116);
}

bool CompoundFileTables::LoadMiniStream(const Header& header) {
    m_miniStreamSize = EntrySize(0);
    std::vector<std::uint32_t> miniFatChain, words;
    if (m_miniStreamSize > m_file.Size() ||
        !ClaimChain(EntryStart(0), CeilDiv(m_miniStreamSize, m_sectorSize), m_miniContainer) ||
        !ClaimChain(header.firstMiniFatSector, header.miniFatSectorCount, miniFatChain))
        return false;
    for (const std::uint32_t sector : miniFatChain) {
        if (!ReadSectorWords(sector, words))
            return false;
        m_miniFat.insert(m_miniFat.end(), words.begin(), words.end());
    }
    const std::uint64_t miniSectors = m_miniStreamSize / kMiniSectorSize;
    if (miniSectors > m_miniFat.size())
        return false;
    m_miniClaimed.assign(static_cast<std::size_t>(miniSectors), false);
    return true;
}

// Only whole mini sectors inside the mini stream can be owned.
bool CompoundFileTables::ClaimMiniChain(std::uint32_t start, std::uint64_t count,
                                        std::vector<std::uint32_t>& chain) {
    chain.clear();
    if (count > m_miniClaimed.size())
        return false;
    std::uint32_t current = start;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (current >= m_miniClaimed.size() || m_miniClaimed[current])
            return false;
        m_miniClaimed[current] = true;
        chain.push_back(current);
        current = m_miniFat[current];
    }
    return true;
}

bool CompoundFileTables::LoadStreams() {
    const std::uint32_t count = static_cast<std::uint32_t>(m_directory.size() / kEntrySize);
    m_streams.assign(count, StreamUnits{});
    std::vector<std::uint32_t> chain;
    for (std::uint32_t entry = 1; entry < count; ++entry) {
        if (m_directory[entry * kEntrySize + 66] != StreamEntry)
            continue;
        StreamUnits& units = m_streams[entry];
        units.size = EntrySize(entry);
        if (units.size > m_file.Size())
            return false;
        if (units.size == 0)
            continue;
        units.mini = units.size < kMiniStreamCutoff;
        units.unitSize = units.mini ? kMiniSectorSize : m_sectorSize;
        const std::uint64_t need = CeilDiv(units.size, units.unitSize);
        if (units.mini ? !ClaimMiniChain(EntryStart(entry), need, chain)
                       : !ClaimChain(EntryStart(entry), need, chain))
            return false;
        for (const std::uint32_t unit : chain) {
            const std::uint64_t inMini = std::uint64_t{unit} * kMiniSectorSize;
            const std::uint64_t offset =
                units.mini
                    ? SectorOffset(m_miniContainer[inMini / m_sectorSize]) + inMini % m_sectorSize
                    : SectorOffset(unit);
            if (!m_file.Fits(offset, units.unitSize))
                return false;
            units.fileOffsets.push_back(offset);
        }
    }
    return true;
}

bool CompoundFileTables::EntryOffset(std::uint32_t entry, std::uint64_t& offset) const {
    const std::uint64_t at = std::uint64_t{entry} * kEntrySize;
    if (at >= m_directory.size())
        return false;
    offset = SectorOffset(m_directoryChain[at / m_sectorSize]) + at % m_sectorSize;
    return true;
}

bool CompoundFileTables::GetStreamUnits(std::uint32_t entry, StreamUnits& units) const {
    if (entry >= m_streams.size() || m_directory[entry * kEntrySize + 66] != StreamEntry)
        return false;
    units = m_streams[entry];
    return true;
}

} // namespace KelmLibraryFuncs
