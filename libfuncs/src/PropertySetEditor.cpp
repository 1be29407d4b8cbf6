#include "PropertySetEditor.h"

#include <KelmLibraryUtils/LittleEndian.h>

#include <algorithm>

namespace KelmLibraryFuncs {
namespace {

using KelmLibraryUtils::ClassId;
using KelmLibraryUtils::LittleEndian::Put32;
using KelmLibraryUtils::LittleEndian::U16;
using KelmLibraryUtils::LittleEndian::U32;

constexpr std::size_t kStreamHeaderSize = 28;
constexpr std::size_t kFormatEntrySize = 20;
constexpr std::uint32_t kMaxSectionCount = 16;
constexpr std::uint32_t kSectionHeaderSize = 8;
constexpr std::uint32_t kTableEntrySize = 8;
constexpr std::uint32_t kFileTimeValueSize = 12;
constexpr std::uint32_t kGrowth = kTableEntrySize + kFileTimeValueSize;
constexpr std::uint16_t kTypeFileTime = 64;

struct Section {
    std::size_t formatEntry; // where the section's offset is stored
    std::uint32_t offset;
    std::uint32_t size;
};

ClassId ClassIdAt(const unsigned char* p) {
    ClassId id;
    id.Data1 = U32(p);
    id.Data2 = U16(p + 4);
    id.Data3 = U16(p + 6);
    std::copy(p + 8, p + 16, id.Data4.begin());
    return id;
}

// The sections in stream order; false when one leaves the stream, overlaps
// the header or another section.
bool ReadSections(const std::vector<unsigned char>& s, std::vector<Section>& sections) {
    if (s.size() < kStreamHeaderSize || U16(s.data()) != 0xFFFE)
        return false;
    const std::uint32_t count = U32(s.data() + 24);
    const std::size_t listEnd = kStreamHeaderSize + std::size_t{count} * kFormatEntrySize;
    if (count == 0 || count > kMaxSectionCount || listEnd > s.size())
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = kStreamHeaderSize + i * kFormatEntrySize + 16;
        const std::uint32_t offset = U32(s.data() + at);
        if (offset < listEnd || offset % 4 != 0 || offset > s.size() ||
            s.size() - offset < kSectionHeaderSize)
            return false;
        const std::uint32_t size = U32(s.data() + offset);
        if (size < kSectionHeaderSize || size > s.size() - offset)
            return false;
        sections.push_back({at, offset, size});
    }
    std::sort(sections.begin(), sections.end(),
              [](const Section& a, const Section& b) { return a.offset < b.offset; });
    for (std::size_t i = 1; i < sections.size(); ++i)
        if (sections[i - 1].offset + sections[i - 1].size > sections[i].offset)
            return false;
    return true;
}

// Every value lies after the table, inside the section, on a 4-byte
// boundary; `id` is not there yet.
bool TableIsSound(const std::vector<unsigned char>& s, const Section& section, std::uint32_t id) {
    const unsigned char* p = s.data() + section.offset;
    const std::uint32_t count = U32(p + 4);
    if (section.size % 4 != 0 || count > (section.size - kSectionHeaderSize) / kTableEntrySize)
        return false;
    const std::uint32_t tableEnd = kSectionHeaderSize + count * kTableEntrySize;
    for (std::uint32_t i = 0; i < count; ++i) {
        const unsigned char* entry = p + kSectionHeaderSize + i * kTableEntrySize;
        const std::uint32_t offset = U32(entry + 4);
        if (U32(entry) == id || offset < tableEnd || offset % 4 != 0 ||
            std::uint64_t{offset} + 4 > section.size)
            return false;
    }
    return true;
}

std::vector<unsigned char> Grown(const std::vector<unsigned char>& s, const Section& section,
                                 std::uint32_t id, std::uint64_t fileTime) {
    const std::uint32_t count = U32(s.data() + section.offset + 4);
    const std::size_t tableEnd = section.offset + kSectionHeaderSize + count * kTableEntrySize;
    const std::size_t sectionEnd = section.offset + section.size;
    unsigned char entry[kTableEntrySize], value[kFileTimeValueSize] = {};
    Put32(entry, id);
    Put32(entry + 4, section.size + kTableEntrySize);
    KelmLibraryUtils::LittleEndian::Put16(value, kTypeFileTime);
    KelmLibraryUtils::LittleEndian::Put64(value + 4, fileTime);

    std::vector<unsigned char> out(s.begin(), s.begin() + tableEnd);
    out.insert(out.end(), entry, entry + sizeof entry);
    out.insert(out.end(), s.begin() + tableEnd, s.begin() + sectionEnd);
    out.insert(out.end(), value, value + sizeof value);
    out.insert(out.end(), s.begin() + sectionEnd, s.end());

    unsigned char* p = out.data() + section.offset;
    Put32(p, section.size + kGrowth);
    Put32(p + 4, count + 1);
    for (std::uint32_t i = 0; i < count; ++i) {
        unsigned char* offset = p + kSectionHeaderSize + i * kTableEntrySize + 4;
        Put32(offset, U32(offset) + kTableEntrySize);
    }
    return out;
}

} // namespace

bool PropertySetEditor::AddFileTime(std::vector<unsigned char>& stream, const ClassId& formatId,
                                    std::uint32_t id, std::uint64_t fileTime) {
    std::vector<Section> sections;
    if (!ReadSections(stream, sections))
        return false;
    // The first section of the format in the stream's own list, as readers
    // find it.
    const Section* target = nullptr;
    for (const Section& section : sections) {
        const bool matches = ClassIdAt(stream.data() + section.formatEntry - 16) == formatId &&
                             (!target || section.formatEntry < target->formatEntry);
        if (matches)
            target = &section;
    }
    if (!target || !TableIsSound(stream, *target, id) || stream.size() > 0xFFFFFFFFu - kGrowth)
        return false;
    const std::size_t used = sections.back().offset + std::size_t{sections.back().size};
    const bool padded =
        stream.size() - used >= kGrowth &&
        std::all_of(stream.end() - kGrowth, stream.end(), [](unsigned char b) { return b == 0; });
    std::vector<unsigned char> out = Grown(stream, *target, id, fileTime);
    for (const Section& section : sections)
        if (section.offset > target->offset)
            Put32(out.data() + section.formatEntry, section.offset + kGrowth);
    if (padded)
        out.resize(stream.size());
    stream = std::move(out);
    return true;
}

} // namespace KelmLibraryFuncs
