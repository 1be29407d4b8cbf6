#pragma once
// Builds small compound files and summary-information property sets for
// the tests, in the published formats: version 3 (512-byte sectors) or 4
// (4096-byte sectors), streams below 4096 bytes in the mini stream, larger
// ones in regular sectors, a DIFAT chain when the FAT outgrows the header.
// It records where it put everything, so a test can corrupt one field.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace kelmtest {

inline void Put16(std::string& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}
inline void Put32(std::string& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}
inline void Put64(std::string& b, std::size_t at, std::uint64_t v) {
    Put32(b, at, static_cast<std::uint32_t>(v));
    Put32(b, at + 4, static_cast<std::uint32_t>(v >> 32));
}

// A property set stream with one section, the summary information.
class PropertySetBuilder {
public:
    static constexpr std::size_t kSectionOffset = 48;

    PropertySetBuilder& FileTime(std::uint32_t id, std::uint64_t ft) {
        std::string v(12, '\0');
        Put16(v, 0, 64);
        Put64(v, 4, ft);
        return Raw(id, v);
    }
    PropertySetBuilder& Int32(std::uint32_t id, std::int32_t n) {
        std::string v(8, '\0');
        Put16(v, 0, 3);
        Put32(v, 4, static_cast<std::uint32_t>(n));
        return Raw(id, v);
    }
    PropertySetBuilder& Int16(std::uint32_t id, std::int16_t n) {
        std::string v(8, '\0');
        Put16(v, 0, 2);
        Put16(v, 4, static_cast<std::uint16_t>(n));
        return Raw(id, v);
    }
    PropertySetBuilder& Text(std::uint32_t id, const std::string& text) {
        std::string v(8, '\0');
        Put16(v, 0, 30); // VT_LPSTR
        Put32(v, 4, static_cast<std::uint32_t>(text.size() + 1));
        v += text;
        v.push_back('\0');
        return Raw(id, v);
    }
    // A blob of `size` bytes, e.g. a thumbnail that makes the set large.
    PropertySetBuilder& Blob(std::uint32_t id, std::size_t size) {
        std::string v(8, '\0');
        Put16(v, 0, 65);
        Put32(v, 4, static_cast<std::uint32_t>(size));
        v.append(size, 'b');
        return Raw(id, v);
    }
    PropertySetBuilder& Raw(std::uint32_t id, std::string typedValue) {
        while (typedValue.size() % 4)
            typedValue.push_back('\0');
        m_properties.push_back({id, std::move(typedValue)});
        return *this;
    }

    std::string Build() const {
        std::string s(kSectionOffset, '\0');
        Put16(s, 0, 0xFFFE);
        Put32(s, 4, 0x00020006);
        Put32(s, 24, 1);
        const unsigned char fmtid[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                         0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
        s.replace(28, 16, reinterpret_cast<const char*>(fmtid), 16);
        Put32(s, 44, kSectionOffset);
        std::string section(8 + 8 * m_properties.size(), '\0');
        Put32(section, 4, static_cast<std::uint32_t>(m_properties.size()));
        for (std::size_t i = 0; i < m_properties.size(); ++i) {
            Put32(section, 8 + 8 * i, m_properties[i].id);
            Put32(section, 12 + 8 * i, static_cast<std::uint32_t>(section.size()));
            section += m_properties[i].value;
        }
        Put32(section, 0, static_cast<std::uint32_t>(section.size()));
        return s + section;
    }

private:
    struct Property {
        std::uint32_t id;
        std::string value;
    };
    std::vector<Property> m_properties;
};

class CompoundFileBuilder {
public:
    static constexpr std::uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kNoStream = 0xFFFFFFFF;
    static constexpr std::uint32_t kFatSect = 0xFFFFFFFD, kDifSect = 0xFFFFFFFC;

    explicit CompoundFileBuilder(int version = 3)
        : sectorSize(version == 4 ? 4096 : 512), m_version(version) {}

    // Directory entry ids are 1, 2, ... in the order of the calls.
    CompoundFileBuilder& AddStream(std::u16string name, std::string bytes) {
        m_streams.push_back({std::move(name), std::move(bytes), 0, false});
        return *this;
    }

    std::string Build() {
        const std::uint32_t perSector = sectorSize / 4;
        std::uint32_t next = 0, miniNext = 0;
        for (Stream& s : m_streams) { // regular streams first, then the mini ones
            if (s.bytes.size() >= 4096) {
                s.start = next;
                next += Ceil(s.bytes.size(), sectorSize);
            }
        }
        for (Stream& s : m_streams) {
            if (!s.bytes.empty() && s.bytes.size() < 4096) {
                s.mini = true;
                s.start = miniNext;
                miniNext += Ceil(s.bytes.size(), 64);
            }
        }
        const std::uint32_t miniSize = miniNext * 64;
        containerStart = miniSize ? next : kEnd;
        next += Ceil(miniSize, sectorSize);
        const std::uint32_t miniFatSectors = Ceil(miniNext * 4, sectorSize);
        miniFatStart = miniFatSectors ? next : kEnd;
        next += miniFatSectors;
        directoryStart = next;
        const std::uint32_t dirSectors = Ceil((m_streams.size() + 1) * 128, sectorSize);
        next += dirSectors;
        std::uint32_t fatCount = 1, difatCount = 0;
        for (;;) {
            difatCount = fatCount > 109 ? Ceil(fatCount - 109, perSector - 1) : 0;
            if (next + fatCount + difatCount <= fatCount * perSector)
                break;
            ++fatCount;
        }
        fatSectors.clear();
        for (std::uint32_t i = 0; i < fatCount; ++i)
            fatSectors.push_back(next + i);
        const std::uint32_t difatStart = next + fatCount;
        const std::uint32_t total = difatStart + difatCount;

        std::vector<std::uint32_t> fat(fatCount * perSector, kFree), miniFat;
        for (const Stream& s : m_streams) {
            if (!s.mini && !s.bytes.empty())
                Link(fat, s.start, Ceil(s.bytes.size(), sectorSize));
        }
        Link(fat, containerStart, Ceil(miniSize, sectorSize));
        Link(fat, miniFatStart, miniFatSectors);
        Link(fat, directoryStart, dirSectors);
        for (std::uint32_t f : fatSectors)
            fat[f] = kFatSect;
        for (std::uint32_t d = 0; d < difatCount; ++d)
            fat[difatStart + d] = kDifSect;
        miniFat.assign(miniFatSectors * perSector, kFree);
        for (const Stream& s : m_streams) {
            if (s.mini)
                Link(miniFat, s.start, Ceil(s.bytes.size(), 64));
        }

        std::string file((std::size_t{total} + 1) * sectorSize, '\0');
        WriteHeader(file, dirSectors, miniFatSectors, difatStart, difatCount);
        for (const Stream& s : m_streams) {
            if (!s.mini && !s.bytes.empty())
                file.replace(SectorOffset(s.start), s.bytes.size(), s.bytes);
            if (s.mini)
                file.replace(MiniOffset(s.start), s.bytes.size(), s.bytes);
        }
        WriteTable(file, miniFat, miniFatStart);
        WriteDirectory(file, miniSize);
        WriteFat(file, fat);
        WriteDifat(file, difatStart, difatCount);
        return file;
    }

    // File offsets of fields, valid after Build.
    std::size_t SectorOffset(std::uint32_t sector) const {
        return (std::size_t{sector} + 1) * sectorSize;
    }
    std::size_t FatEntryOffset(std::uint32_t sector) const {
        return SectorOffset(fatSectors[sector / (sectorSize / 4)]) +
               4 * (sector % (sectorSize / 4));
    }
    std::size_t MiniFatEntryOffset(std::uint32_t miniSector) const {
        return SectorOffset(miniFatStart + miniSector / (sectorSize / 4)) +
               4 * (miniSector % (sectorSize / 4));
    }
    std::size_t DirEntryOffset(std::uint32_t entry) const {
        return SectorOffset(directoryStart + entry * 128 / sectorSize) + entry * 128 % sectorSize;
    }
    std::size_t MiniOffset(std::uint32_t miniSector) const {
        const std::size_t inMini = std::size_t{miniSector} * 64;
        return SectorOffset(containerStart + static_cast<std::uint32_t>(inMini / sectorSize)) +
               inMini % sectorSize;
    }
    // The first sector (mini sector for small streams) of stream `entry`.
    std::uint32_t StartOf(std::uint32_t entry) const { return m_streams[entry - 1].start; }

    std::uint32_t sectorSize;
    std::vector<std::uint32_t> fatSectors;
    std::uint32_t directoryStart = 0, miniFatStart = kEnd, containerStart = kEnd;

private:
    struct Stream {
        std::u16string name;
        std::string bytes;
        std::uint32_t start;
        bool mini;
    };

    static std::uint32_t Ceil(std::size_t value, std::size_t unit) {
        return static_cast<std::uint32_t>((value + unit - 1) / unit);
    }
    static void Link(std::vector<std::uint32_t>& table, std::uint32_t start, std::uint32_t count) {
        for (std::uint32_t i = 0; i < count; ++i)
            table[start + i] = i + 1 < count ? start + i + 1 : kEnd;
    }
    void WriteTable(std::string& file, const std::vector<std::uint32_t>& table,
                    std::uint32_t firstSector) const {
        for (std::size_t i = 0; i < table.size(); ++i)
            Put32(file,
                  SectorOffset(firstSector + static_cast<std::uint32_t>(i / (sectorSize / 4))) +
                      4 * (i % (sectorSize / 4)),
                  table[i]);
    }
    void WriteFat(std::string& file, const std::vector<std::uint32_t>& fat) const {
        for (std::size_t i = 0; i < fat.size(); ++i)
            Put32(file, FatEntryOffset(static_cast<std::uint32_t>(i)), fat[i]);
    }
    void WriteHeader(std::string& file, std::uint32_t dirSectors, std::uint32_t miniFatSectors,
                     std::uint32_t difatStart, std::uint32_t difatCount) const {
        const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
        file.replace(0, 8, reinterpret_cast<const char*>(signature), 8);
        Put16(file, 24, 0x3E);
        Put16(file, 26, static_cast<std::uint16_t>(m_version));
        Put16(file, 28, 0xFFFE);
        Put16(file, 30, m_version == 4 ? 12 : 9);
        Put16(file, 32, 6);
        Put32(file, 40, m_version == 4 ? dirSectors : 0);
        Put32(file, 44, static_cast<std::uint32_t>(fatSectors.size()));
        Put32(file, 48, directoryStart);
        Put32(file, 56, 4096);
        Put32(file, 60, miniFatStart);
        Put32(file, 64, miniFatSectors);
        Put32(file, 68, difatCount ? difatStart : kEnd);
        Put32(file, 72, difatCount);
        for (std::size_t i = 0; i < 109; ++i)
            Put32(file, 76 + 4 * i, i < fatSectors.size() ? fatSectors[i] : kFree);
    }
    void WriteDifat(std::string& file, std::uint32_t difatStart, std::uint32_t difatCount) const {
        const std::uint32_t perSector = sectorSize / 4 - 1;
        for (std::uint32_t d = 0; d < difatCount; ++d) {
            const std::size_t at = SectorOffset(difatStart + d);
            for (std::uint32_t j = 0; j < perSector; ++j) {
                const std::size_t k = 109 + std::size_t{d} * perSector + j;
                Put32(file, at + 4 * j, k < fatSectors.size() ? fatSectors[k] : kFree);
            }
            Put32(file, at + 4 * perSector, d + 1 < difatCount ? difatStart + d + 1 : kEnd);
        }
    }
    static bool NameLess(const std::u16string& a, const std::u16string& b) {
        if (a.size() != b.size())
            return a.size() < b.size();
        auto up = [](char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; };
        for (std::size_t i = 0; i < a.size(); ++i)
            if (up(a[i]) != up(b[i]))
                return up(a[i]) < up(b[i]);
        return false;
    }
    // A balanced tree over the sorted children; its root's id.
    std::uint32_t Tree(std::string& file, const std::vector<std::uint32_t>& ids, std::size_t from,
                       std::size_t to) const {
        if (from >= to)
            return kNoStream;
        const std::size_t mid = (from + to) / 2;
        const std::size_t at = DirEntryOffset(ids[mid]);
        Put32(file, at + 68, Tree(file, ids, from, mid));
        Put32(file, at + 72, Tree(file, ids, mid + 1, to));
        return ids[mid];
    }
    void WriteEntry(std::string& file, std::uint32_t id, const std::u16string& name, int type,
                    std::uint32_t start, std::uint64_t size) const {
        const std::size_t at = DirEntryOffset(id);
        for (std::size_t i = 0; i < name.size(); ++i)
            Put16(file, at + 2 * i, name[i]);
        Put16(file, at + 64, static_cast<std::uint16_t>(2 * (name.size() + 1)));
        file[at + 66] = static_cast<char>(type);
        file[at + 67] = 1; // black
        Put32(file, at + 68, kNoStream);
        Put32(file, at + 72, kNoStream);
        Put32(file, at + 76, kNoStream);
        Put32(file, at + 116, start);
        Put64(file, at + 120, size);
    }
    void WriteDirectory(std::string& file, std::uint32_t miniSize) const {
        const std::uint32_t entries = static_cast<std::uint32_t>(
            Ceil((m_streams.size() + 1) * 128, sectorSize) * (sectorSize / 128));
        for (std::uint32_t id = 0; id < entries; ++id) // unused entries link nowhere
            WriteEntry(file, id, u"", 0, 0, 0);
        WriteEntry(file, 0, u"Root Entry", 5, containerStart, miniSize);
        std::vector<std::uint32_t> ids;
        for (std::uint32_t i = 0; i < m_streams.size(); ++i) {
            const Stream& s = m_streams[i];
            WriteEntry(file, i + 1, s.name, 2, s.bytes.empty() ? kEnd : s.start, s.bytes.size());
            ids.push_back(i + 1);
        }
        std::sort(ids.begin(), ids.end(), [&](std::uint32_t a, std::uint32_t b) {
            return NameLess(m_streams[a - 1].name, m_streams[b - 1].name);
        });
        Put32(file, DirEntryOffset(0) + 76, Tree(file, ids, 0, ids.size()));
    }

    int m_version;
    std::vector<Stream> m_streams;
};

} // namespace kelmtest
