#include "KelmLibraryUtils/PropertySetReader.h"

#include "KelmLibraryUtils/LittleEndian.h"

#include <algorithm>

namespace KelmLibraryUtils {
namespace {

constexpr std::size_t kStreamHeaderSize = 28;
constexpr std::size_t kFormatEntrySize = 20; // format id and section offset
constexpr std::uint32_t kMaxSectionCount = 16;
constexpr std::uint32_t kSectionHeaderSize = 8;

enum VarType : std::uint16_t {
    VtI2 = 2,
    VtI4 = 3,
    VtBool = 11,
    VtI1 = 16,
    VtUi1 = 17,
    VtUi2 = 18,
    VtUi4 = 19,
    VtInt = 22,
    VtUint = 23,
};

ClassId ClassIdFromBytes(const unsigned char* p) {
    ClassId id;
    id.Data1 = LittleEndian::U32(p);
    id.Data2 = LittleEndian::U16(p + 4);
    id.Data3 = LittleEndian::U16(p + 6);
    std::copy(p + 8, p + 16, id.Data4.begin());
    return id;
}

// Integers show as decimal text; anything else has no text.
std::wstring IntegerText(std::uint16_t type, const unsigned char* v) {
    switch (type) {
    case VtI1:
        return std::to_wstring(static_cast<std::int8_t>(v[0]));
    case VtUi1:
        return std::to_wstring(v[0]);
    case VtI2:
    case VtBool:
        return std::to_wstring(static_cast<std::int16_t>(LittleEndian::U16(v)));
    case VtUi2:
        return std::to_wstring(LittleEndian::U16(v));
    case VtI4:
    case VtInt:
        return std::to_wstring(static_cast<std::int32_t>(LittleEndian::U32(v)));
    case VtUi4:
    case VtUint:
        return std::to_wstring(LittleEndian::U32(v));
    default:
        return {};
    }
}

} // namespace

bool PropertySetReader::FindSection(const ClassId& formatId, std::uint32_t& offset) const {
    unsigned char header[kStreamHeaderSize];
    if (!m_stream.ReadAt(0, header, sizeof header) || LittleEndian::U16(header) != 0xFFFE)
        return false;
    const std::uint32_t sections = LittleEndian::U32(header + 24);
    if (sections > kMaxSectionCount)
        return false;
    for (std::uint32_t i = 0; i < sections; ++i) {
        unsigned char entry[kFormatEntrySize];
        if (!m_stream.ReadAt(kStreamHeaderSize + i * kFormatEntrySize, entry, sizeof entry))
            return false;
        if (ClassIdFromBytes(entry) == formatId) {
            offset = LittleEndian::U32(entry + 16);
            return true;
        }
    }
    return false;
}

int PropertySetReader::OpenSection(const ClassId& formatId) {
    m_table.clear();
    std::uint32_t offset = 0;
    unsigned char header[kSectionHeaderSize];
    if (!FindSection(formatId, offset) || !m_stream.ReadAt(offset, header, sizeof header))
        return 0;
    const std::uint32_t size = LittleEndian::U32(header);
    const std::uint32_t count = LittleEndian::U32(header + 4);
    if (size < kSectionHeaderSize || !m_stream.Fits(offset, size) || count > kMaxPropertyCount ||
        count > (size - kSectionHeaderSize) / 8)
        return 0;
    std::vector<unsigned char> table(std::size_t{count} * 8);
    if (!m_stream.ReadAt(offset + kSectionHeaderSize, table.data(), table.size()))
        return 0;
    m_table.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        m_table.emplace_back(LittleEndian::U32(&table[8 * i]),
                             LittleEndian::U32(&table[8 * i + 4]));
    m_sectionOffset = offset;
    m_sectionSize = size;
    return 1;
}

bool PropertySetReader::ReadValue(std::uint32_t offsetInSection, Property& property) const {
    // The type field and the widest fixed value (a file time) must lie
    // inside the section; a short value at its very end still fits.
    const std::uint32_t room =
        offsetInSection < m_sectionSize ? m_sectionSize - offsetInSection : 0;
    if (offsetInSection < kSectionHeaderSize || room < 4)
        return false;
    unsigned char value[12] = {};
    const std::size_t want = std::min<std::size_t>(room, sizeof value);
    property.valueOffset = m_sectionOffset + offsetInSection;
    if (!m_stream.ReadAt(property.valueOffset, value, want))
        return false;
    property.type = LittleEndian::U16(value);
    if (property.type == kTypeFileTime) {
        if (want < 12)
            return false;
        property.fileTime = LittleEndian::U64(value + 4);
        return true;
    }
    if (want >= 8) // every integer type is at most 4 bytes wide
        property.text = IntegerText(property.type, value + 4);
    return true;
}

int PropertySetReader::ReadProperty(std::uint32_t id, Property& property) const {
    property = Property{};
    const auto it = std::find_if(m_table.begin(), m_table.end(),
                                 [id](const auto& entry) { return entry.first == id; });
    if (it == m_table.end() || !ReadValue(it->second, property)) {
        property = Property{};
        return 0;
    }
    return 1;
}

} // namespace KelmLibraryUtils
