#include "SummaryDateWriter.h"

#include "PropertySetEditor.h"
#include <KelmLibraryUtils/LittleEndian.h>

#include <KelmLibraryUtils/PropertySetReader.h>

#include <algorithm>

namespace KelmLibraryFuncs {
namespace {

using KelmLibraryUtils::CompoundFile;
using KelmLibraryUtils::CompoundFileStream;
using KelmLibraryUtils::CompoundFileStreamReader;
using KelmLibraryUtils::DescriptorByteReader;
using KelmLibraryUtils::PropertySetReader;

const std::wstring kSummaryStreamName = L"\x05SummaryInformation";
constexpr std::size_t kEntrySizeField = 120;

bool IsSummaryDate(std::uint32_t id) {
    return id == PropertySetReader::kCreated || id == PropertySetReader::kLastSaved ||
           id == PropertySetReader::kLastPrinted;
}

// Reads `id` from a fresh load of the whole file, as any reader would.
bool ReadsBack(int fd, std::uint32_t id, std::uint64_t fileTime) {
    const DescriptorByteReader bytes(fd);
    CompoundFile file(bytes);
    CompoundFileTables tables(bytes);
    std::uint32_t entry = 0;
    CompoundFileStream layout;
    if (!file.Open() || !tables.Load() || !file.FindRootStream(kSummaryStreamName, entry) ||
        !file.GetStreamLayout(entry, layout))
        return false;
    const CompoundFileStreamReader stream(file, std::move(layout));
    PropertySetReader properties(stream);
    PropertySetReader::Property property;
    return properties.OpenSection(PropertySetReader::kSummaryInformation) &&
           properties.ReadProperty(id, property) &&
           property.type == PropertySetReader::kTypeFileTime && property.fileTime == fileTime;
}

} // namespace

SummaryDateWriter::SummaryDateWriter(int fd)
    : m_fd(fd), m_bytes(fd), m_file(m_bytes), m_tables(m_bytes), m_patcher(fd) {}

int SummaryDateWriter::OpenSummary() {
    if (!m_file.Open() || !m_tables.Load() || !m_file.FindRootStream(kSummaryStreamName, m_entry) ||
        !m_file.GetStreamLayout(m_entry, m_layout) || !LayoutsAgree())
        return 0;
    const CompoundFileStreamReader stream(m_file, m_layout);
    PropertySetReader properties(stream);
    return properties.OpenSection(PropertySetReader::kSummaryInformation);
}

// The reader and the allocation check must see the stream in the same
// sectors, or one of them was misled by the file.
bool SummaryDateWriter::LayoutsAgree() const {
    CompoundFileTables::StreamUnits units;
    if (!m_tables.GetStreamUnits(m_entry, units) || units.size != m_layout.size ||
        units.mini != m_layout.inMiniStream)
        return false;
    for (std::size_t i = 0; i < units.fileOffsets.size(); ++i) {
        std::uint64_t offset = 0;
        if (!m_layout.FileOffsetOf(i * std::uint64_t{units.unitSize}, offset) ||
            offset != units.fileOffsets[i])
            return false;
    }
    return true;
}

int SummaryDateWriter::WriteFileTime(std::uint32_t id, std::uint64_t fileTime,
                                     std::uint32_t& error) {
    error = kInvalidParameter;
    if (!IsSummaryDate(id))
        return 0;
    const CompoundFileStreamReader stream(m_file, m_layout);
    PropertySetReader properties(stream);
    PropertySetReader::Property property;
    if (!properties.OpenSection(PropertySetReader::kSummaryInformation))
        error = kDocfileCorrupt;
    else if (properties.ReadProperty(id, property))
        // A value of another type may be shorter than a file time, and
        // nothing says its bytes are not shared: it is left alone.
        error = property.type == PropertySetReader::kTypeFileTime
                    ? Overwrite(property.valueOffset + 4, fileTime)
                    : kInvalidParameter;
    else
        error = Add(id, fileTime);
    if (error == 0)
        error = Finish(id, fileTime);
    else
        Abandon();
    return error == 0 ? 1 : 0;
}

std::uint32_t SummaryDateWriter::Overwrite(std::uint64_t streamOffset, std::uint64_t fileTime) {
    unsigned char value[8];
    KelmLibraryUtils::LittleEndian::Put64(value, fileTime);
    // The eight bytes may straddle two mini sectors that lie apart.
    for (std::size_t i = 0; i < sizeof value;) {
        std::uint64_t at = 0, next = 0;
        if (!m_layout.FileOffsetOf(streamOffset + i, at))
            return kDocfileCorrupt;
        std::size_t run = 1;
        while (i + run < sizeof value && m_layout.FileOffsetOf(streamOffset + i + run, next) &&
               next == at + run)
            ++run;
        if (!m_patcher.Write(at, value + i, run))
            return kWriteFault;
        i += run;
    }
    return 0;
}

bool SummaryDateWriter::ReadStream(const CompoundFileTables::StreamUnits& units,
                                   std::vector<unsigned char>& stream) const {
    stream.resize(static_cast<std::size_t>(units.size));
    for (std::size_t i = 0; i < units.fileOffsets.size(); ++i) {
        const std::size_t from = i * units.unitSize;
        const std::size_t count = std::min<std::size_t>(units.unitSize, stream.size() - from);
        if (!m_bytes.ReadAt(units.fileOffsets[i], stream.data() + from, count))
            return false;
    }
    return true;
}

std::uint32_t SummaryDateWriter::Add(std::uint32_t id, std::uint64_t fileTime) {
    CompoundFileTables::StreamUnits units;
    std::vector<unsigned char> stream;
    if (!m_tables.GetStreamUnits(m_entry, units) || !ReadStream(units, stream))
        return kDocfileCorrupt;
    if (!PropertySetEditor::AddFileTime(stream, PropertySetReader::kSummaryInformation, id,
                                        fileTime))
        return kDocfileCorrupt;
    return Rewrite(stream);
}

// The new bytes go into the units the stream owns, the tail of its last unit
// included; a stream in the mini stream must also stay below the cutoff.
std::uint32_t SummaryDateWriter::Rewrite(const std::vector<unsigned char>& stream) {
    CompoundFileTables::StreamUnits units;
    std::uint64_t entryOffset = 0;
    if (!m_tables.GetStreamUnits(m_entry, units) || !m_tables.EntryOffset(m_entry, entryOffset))
        return kDocfileCorrupt;
    const std::uint64_t capacity = units.fileOffsets.size() * std::uint64_t{units.unitSize};
    if (stream.size() > capacity ||
        (units.mini && stream.size() >= CompoundFileTables::kMiniStreamCutoff))
        return kMediumFull;
    for (std::size_t i = 0; i * units.unitSize < stream.size(); ++i) {
        const std::size_t from = i * units.unitSize;
        const std::size_t count = std::min<std::size_t>(units.unitSize, stream.size() - from);
        if (!m_patcher.Write(units.fileOffsets[i], stream.data() + from, count))
            return kWriteFault;
    }
    if (stream.size() != units.size) {
        // Version 3 keeps the size in the low half; the high half is zero.
        unsigned char size[8];
        KelmLibraryUtils::LittleEndian::Put64(size, stream.size());
        if (!m_patcher.Write(entryOffset + kEntrySizeField, size, sizeof size))
            return kWriteFault;
    }
    return 0;
}

std::uint32_t SummaryDateWriter::Finish(std::uint32_t id, std::uint64_t fileTime) {
    if (m_patcher.Sync() && ReadsBack(m_fd, id, fileTime))
        return 0;
    Abandon();
    return kDocfileCorrupt;
}

void SummaryDateWriter::Abandon() {
    m_patcher.Undo();
    m_patcher.Sync();
}

} // namespace KelmLibraryFuncs
