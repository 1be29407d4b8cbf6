#include "KelmLibraryUtils/CompoundFile.h"

#include "KelmLibraryUtils/LittleEndian.h"

#include <algorithm>
#include <cstring>

namespace KelmLibraryUtils {
namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kHeaderDifatCount = 109;
constexpr std::size_t kEntrySize = 128;
constexpr std::uint32_t kMiniSectorSize = 64;
constexpr std::uint32_t kMiniStreamCutoff = 4096;
// 256 Ki entries, far more than any document has.
constexpr std::size_t kMaxDirectorySize = 32 << 20;
constexpr std::uint64_t kMaxSectorCount = 0xFFFFFFFA; // the highest regular sector + 1

enum EntryType { StreamEntry = 2, RootEntry = 5 };

enum EntryOffset : std::size_t {
    NameAt = 0,
    NameLengthAt = 64,
    TypeAt = 66,
    LeftAt = 68,
    RightAt = 72,
    ChildAt = 76,
    StartSectorAt = 116,
    StreamSizeAt = 120,
};

std::uint64_t CeilDiv(std::uint64_t value, std::uint64_t unit) {
    return value / unit + (value % unit != 0);
}

void Append(CompoundFileStream& stream, std::uint64_t fileOffset, std::uint64_t length) {
    if (!stream.extents.empty()) {
        CompoundFileExtent& last = stream.extents.back();
        if (last.fileOffset + last.length == fileOffset) {
            last.length += length;
            return;
        }
    }
    const std::uint64_t streamOffset =
        stream.extents.empty() ? 0
                               : stream.extents.back().streamOffset + stream.extents.back().length;
    stream.extents.push_back({streamOffset, fileOffset, length});
}

wchar_t FoldAscii(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool EqualIgnoringAsciiCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

} // namespace

struct CompoundFile::Header {
    std::uint32_t fatSectorCount = 0;
    std::uint32_t firstDirectorySector = 0;
    std::uint32_t firstDifatSector = 0;
    std::uint32_t difatSectorCount = 0;
    std::uint32_t difat[kHeaderDifatCount] = {};
};

bool CompoundFile::HasSignature(const void* data, std::size_t size) {
    return data && size >= sizeof kSignature &&
           std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

int CompoundFile::Open() {
    m_budget = m_file.Size();
    m_fat.clear();
    m_directory.clear();
    m_miniLoaded = m_miniValid = false;
    m_miniFat.clear();
    m_miniContainer.clear();
    Header header;
    const bool ok =
        ReadHeader(header) && ReadFat(header) && ReadDirectory(header.firstDirectorySector);
    if (!ok) {
        m_fat.clear();
        m_directory.clear();
    }
    return ok ? 1 : 0;
}

std::uint32_t CompoundFile::EntryCount() const {
    return static_cast<std::uint32_t>(m_directory.size() / kEntrySize);
}

bool CompoundFile::ReadFile(std::uint64_t offset, void* out, std::size_t count) const {
    if (count > m_budget)
        return false;
    m_budget -= count;
    return m_file.ReadAt(offset, out, count);
}

bool CompoundFile::ReadHeader(Header& header) {
    unsigned char b[kHeaderSize];
    if (!ReadFile(0, b, sizeof b) || !HasSignature(b, sizeof b))
        return false;
    const std::uint16_t major = LittleEndian::U16(b + 26);
    const std::uint16_t shift = LittleEndian::U16(b + 30);
    if (LittleEndian::U16(b + 28) != 0xFFFE || LittleEndian::U16(b + 32) != 6 ||
        !((major == 3 && shift == 9) || (major == 4 && shift == 12)) ||
        LittleEndian::U32(b + 56) != kMiniStreamCutoff)
        return false;
    m_majorVersion = major;
    m_sectorSize = 1u << shift;
    const std::uint64_t size = m_file.Size();
    if (size <= m_sectorSize)
        return false;
    m_sectorCount = static_cast<std::uint32_t>(
        std::min(CeilDiv(size - m_sectorSize, m_sectorSize), kMaxSectorCount));
    header.fatSectorCount = LittleEndian::U32(b + 44);
    header.firstDirectorySector = LittleEndian::U32(b + 48);
    m_firstMiniFatSector = LittleEndian::U32(b + 60);
    m_miniFatSectorCount = LittleEndian::U32(b + 64);
    header.firstDifatSector = LittleEndian::U32(b + 68);
    header.difatSectorCount = LittleEndian::U32(b + 72);
    for (std::size_t i = 0; i < kHeaderDifatCount; ++i)
        header.difat[i] = LittleEndian::U32(b + 76 + 4 * i);
    return true;
}

bool CompoundFile::ReadSector(std::uint32_t sector, std::vector<std::uint32_t>& entries) const {
    if (sector >= m_sectorCount)
        return false;
    std::vector<unsigned char> bytes(m_sectorSize);
    if (!ReadFile((std::uint64_t{sector} + 1) * m_sectorSize, bytes.data(), bytes.size()))
        return false;
    entries.resize(m_sectorSize / 4);
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i] = LittleEndian::U32(bytes.data() + 4 * i);
    return true;
}

// The FAT's own sectors are listed by the header and then by the DIFAT
// chain, each of whose sectors ends with the number of the next one.
bool CompoundFile::ReadFat(const Header& header) {
    const std::uint32_t count = header.fatSectorCount;
    if (count == 0 || count > m_sectorCount || header.difatSectorCount > m_sectorCount)
        return false;
    std::vector<std::uint32_t> fatSectors(
        header.difat, header.difat + std::min<std::size_t>(count, kHeaderDifatCount));
    std::vector<bool> seen(m_sectorCount);
    std::vector<std::uint32_t> entries;
    std::uint32_t next = header.firstDifatSector;
    for (std::uint32_t d = 0; fatSectors.size() < count; ++d) {
        if (d >= header.difatSectorCount || next >= m_sectorCount || seen[next] ||
            !ReadSector(next, entries))
            return false;
        seen[next] = true;
        for (std::size_t j = 0; j + 1 < entries.size() && fatSectors.size() < count; ++j)
            fatSectors.push_back(entries[j]);
        next = entries.back();
    }
    // Entries for sectors past the end of the file are never followed; the
    // FAT sectors that only hold such entries are not read.
    const std::size_t needed = CeilDiv(m_sectorCount, m_sectorSize / 4);
    if (fatSectors.size() > needed)
        fatSectors.resize(needed);
    std::fill(seen.begin(), seen.end(), false);
    for (const std::uint32_t sector : fatSectors) {
        if (sector >= m_sectorCount || seen[sector] || !ReadSector(sector, entries))
            return false;
        seen[sector] = true;
        m_fat.insert(m_fat.end(), entries.begin(), entries.end());
    }
    return true;
}

// `count` links of a chain from `start`; every link must be a fresh index
// below `limit`, so a cycle or a stray number fails instead of looping.
bool CompoundFile::Chain(const std::vector<std::uint32_t>& table, std::uint32_t limit,
                         std::uint32_t start, std::uint64_t count,
                         std::vector<std::uint32_t>& chain) const {
    chain.clear();
    limit = static_cast<std::uint32_t>(std::min<std::size_t>(limit, table.size()));
    if (count > limit)
        return false;
    chain.reserve(static_cast<std::size_t>(count));
    std::vector<bool> seen(limit);
    std::uint32_t current = start;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (current >= limit || seen[current])
            return false;
        seen[current] = true;
        chain.push_back(current);
        current = table[current];
    }
    return true;
}

bool CompoundFile::ChainToEnd(std::uint32_t start, std::vector<std::uint32_t>& chain) const {
    chain.clear();
    const std::uint32_t limit =
        static_cast<std::uint32_t>(std::min<std::size_t>(m_sectorCount, m_fat.size()));
    std::vector<bool> seen(limit);
    for (std::uint32_t current = start; current != kEndOfChain; current = m_fat[current]) {
        if (current >= limit || seen[current])
            return false;
        seen[current] = true;
        chain.push_back(current);
    }
    return !chain.empty();
}

bool CompoundFile::ReadDirectory(std::uint32_t firstSector) {
    std::vector<std::uint32_t> chain;
    if (!ChainToEnd(firstSector, chain) ||
        chain.size() * std::size_t{m_sectorSize} > kMaxDirectorySize)
        return false;
    m_directory.resize(chain.size() * std::size_t{m_sectorSize});
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (!ReadFile((std::uint64_t{chain[i]} + 1) * m_sectorSize,
                      m_directory.data() + i * m_sectorSize, m_sectorSize))
            return false;
    }
    std::uint8_t rootType = 0;
    return EntryField(0, TypeAt, 1, &rootType) && rootType == RootEntry;
}

bool CompoundFile::EntryField(std::uint32_t entry, std::size_t at, std::size_t size,
                              void* out) const {
    if (entry >= EntryCount())
        return false;
    std::memcpy(out, m_directory.data() + entry * kEntrySize + at, size);
    return true;
}

namespace {

// The size field of an entry; version 3 files may leave garbage in the high
// half, which the format tells readers to ignore.
std::uint64_t StreamSizeOf(const unsigned char* entry, int majorVersion) {
    const std::uint64_t size = LittleEndian::U64(entry + StreamSizeAt);
    return majorVersion == 3 ? (size & 0xFFFFFFFF) : size;
}

} // namespace

int CompoundFile::GetEntry(std::uint32_t entry, std::wstring& name, int& type) const {
    name.clear();
    unsigned char raw[kEntrySize];
    if (!EntryField(entry, 0, kEntrySize, raw))
        return 0;
    type = raw[TypeAt];
    const std::uint16_t length = LittleEndian::U16(raw + NameLengthAt);
    if (length > 64 || length % 2 != 0)
        return 0;
    const std::size_t units = length == 0 ? 0 : length / 2 - 1;
    name = LittleEndian::Utf16(raw + NameAt, units);
    return 1;
}

bool CompoundFile::Matches(std::uint32_t entry, const std::wstring& name) const {
    std::wstring entryName;
    int type = 0;
    return GetEntry(entry, entryName, type) && type == StreamEntry &&
           EqualIgnoringAsciiCase(entryName, name);
}

// The root's children form a tree through their sibling links. The whole
// tree is walked rather than descended by name order, so that a file whose
// writer ordered the names differently still finds its streams.
int CompoundFile::FindRootStream(const std::wstring& name, std::uint32_t& entry) const {
    std::uint32_t child = kNoEntry;
    unsigned char links[12];
    if (!EntryField(0, ChildAt, 4, links))
        return 0;
    child = LittleEndian::U32(links);
    std::vector<bool> seen(EntryCount());
    std::vector<std::uint32_t> pending;
    if (child != kNoEntry)
        pending.push_back(child);
    while (!pending.empty()) {
        const std::uint32_t id = pending.back();
        pending.pop_back();
        if (id >= EntryCount() || seen[id] || !EntryField(id, LeftAt, sizeof links, links))
            return 0;
        seen[id] = true;
        if (Matches(id, name)) {
            entry = id;
            return 1;
        }
        for (const std::uint32_t sibling : {LittleEndian::U32(links), LittleEndian::U32(links + 4)})
            if (sibling != kNoEntry)
                pending.push_back(sibling);
    }
    return 0;
}

int CompoundFile::GetStreamLayout(std::uint32_t entry, CompoundFileStream& stream) const {
    stream = CompoundFileStream{};
    unsigned char raw[kEntrySize];
    if (!EntryField(entry, 0, kEntrySize, raw) || raw[TypeAt] != StreamEntry)
        return 0;
    const std::uint64_t size = StreamSizeOf(raw, m_majorVersion);
    if (size > m_file.Size())
        return 0;
    stream.size = size;
    if (size == 0)
        return 1;
    const std::uint32_t start = LittleEndian::U32(raw + StartSectorAt);
    stream.inMiniStream = size < m_miniCutoff;
    const bool ok = stream.inMiniStream ? MiniLayout(start, stream) : RegularLayout(start, stream);
    if (!ok)
        stream = CompoundFileStream{};
    return ok ? 1 : 0;
}

bool CompoundFile::RegularLayout(std::uint32_t start, CompoundFileStream& stream) const {
    std::vector<std::uint32_t> chain;
    if (!Chain(m_fat, m_sectorCount, start, CeilDiv(stream.size, m_sectorSize), chain))
        return false;
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const std::uint64_t fileOffset = (std::uint64_t{chain[i]} + 1) * m_sectorSize;
        const std::uint64_t length =
            std::min<std::uint64_t>(m_sectorSize, stream.size - i * m_sectorSize);
        if (!m_file.Fits(fileOffset, length))
            return false;
        Append(stream, fileOffset, length);
    }
    return true;
}

// The mini FAT and the mini stream (the root entry's stream, in regular
// sectors) are located once, on the first small stream asked for.
bool CompoundFile::ReadMiniFat() const {
    if (m_miniLoaded)
        return m_miniValid;
    m_miniLoaded = true;
    unsigned char raw[kEntrySize];
    if (!EntryField(0, 0, kEntrySize, raw))
        return false;
    m_miniStreamSize = StreamSizeOf(raw, m_majorVersion);
    std::vector<std::uint32_t> chain, entries;
    if (m_miniStreamSize > m_file.Size() ||
        !Chain(m_fat, m_sectorCount, m_firstMiniFatSector, m_miniFatSectorCount, chain))
        return false;
    // As with the FAT, only the sectors with entries inside the mini stream.
    const std::size_t needed =
        CeilDiv(CeilDiv(m_miniStreamSize, kMiniSectorSize), m_sectorSize / 4);
    if (chain.size() > needed)
        chain.resize(needed);
    for (const std::uint32_t sector : chain) {
        if (!ReadSector(sector, entries))
            return false;
        m_miniFat.insert(m_miniFat.end(), entries.begin(), entries.end());
    }
    m_miniValid = Chain(m_fat, m_sectorCount, LittleEndian::U32(raw + StartSectorAt),
                        CeilDiv(m_miniStreamSize, m_sectorSize), m_miniContainer);
    return m_miniValid;
}

bool CompoundFile::MiniLayout(std::uint32_t start, CompoundFileStream& stream) const {
    if (!ReadMiniFat())
        return false;
    std::vector<std::uint32_t> chain;
    const std::uint64_t miniSectors = CeilDiv(m_miniStreamSize, kMiniSectorSize);
    if (!Chain(m_miniFat,
               static_cast<std::uint32_t>(std::min<std::uint64_t>(miniSectors, kMaxSectorCount)),
               start, CeilDiv(stream.size, kMiniSectorSize), chain))
        return false;
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const std::uint64_t inMini = std::uint64_t{chain[i]} * kMiniSectorSize;
        const std::uint64_t length =
            std::min<std::uint64_t>(kMiniSectorSize, stream.size - i * kMiniSectorSize);
        const std::uint64_t sectorIndex = inMini / m_sectorSize;
        if (inMini + length > m_miniStreamSize || sectorIndex >= m_miniContainer.size())
            return false;
        const std::uint64_t fileOffset =
            (std::uint64_t{m_miniContainer[sectorIndex]} + 1) * m_sectorSize +
            inMini % m_sectorSize;
        if (!m_file.Fits(fileOffset, length))
            return false;
        Append(stream, fileOffset, length);
    }
    return true;
}

} // namespace KelmLibraryUtils
