#pragma once
// Reader of a property set stream in the published format (the stream
// "\x05SummaryInformation" of a compound file, for one): the stream header,
// the section of one format id, its property id/offset table and typed
// values. Only the header, the table and the values asked for are read,
// so a large thumbnail in the same set costs nothing. Every offset and
// count is checked against the section and the stream.
#include "KelmLibraryUtils/ByteReader.h"
#include "KelmLibraryUtils/ClassId.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace KelmLibraryUtils {

class PropertySetReader {
public:
    // F29F85E0-4FF9-1068-AB91-08002B27B3D9, the summary information.
    static constexpr ClassId kSummaryInformation{
        0xF29F85E0, 0x4FF9, 0x1068, {0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9}};
    static constexpr std::uint32_t kCreated = 12;     // PIDSI_CREATE_DTM
    static constexpr std::uint32_t kLastSaved = 13;   // PIDSI_LASTSAVE_DTM
    static constexpr std::uint32_t kLastPrinted = 11; // PIDSI_LASTPRINTED
    static constexpr std::uint16_t kTypeFileTime = 64;
    // More properties than this in one section is a corrupt table.
    static constexpr std::uint32_t kMaxPropertyCount = 1 << 16;

    struct Property {
        std::uint16_t type = 0;
        // Offset of the typed value (its type field) in the stream.
        std::uint64_t valueOffset = 0;
        std::uint64_t fileTime = 0; // for kTypeFileTime
        std::wstring text;          // integers as decimal text; empty otherwise
    };

    // `stream` must outlive this object.
    explicit PropertySetReader(const ByteReader& stream) : m_stream(stream) {}

    // Finds the section of `formatId` and reads its property table.
    int OpenSection(const ClassId& formatId);
    // The property `id` of the open section; 0 when absent or malformed.
    int ReadProperty(std::uint32_t id, Property& property) const;

private:
    bool FindSection(const ClassId& formatId, std::uint32_t& offset) const;
    bool ReadValue(std::uint32_t offsetInSection, Property& property) const;

    const ByteReader& m_stream;
    std::uint64_t m_sectionOffset = 0;
    std::uint32_t m_sectionSize = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_table; // id, offset
};

} // namespace KelmLibraryUtils
