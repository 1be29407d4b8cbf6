#include "KelmLibraryUtils/PropertyUtils.h"

#include "KelmLibraryUtils/CompoundFile.h"
#include "KelmLibraryUtils/DateTimeUtils.h"
#include "KelmLibraryUtils/OoxmlCoreProperties.h"
#include "KelmLibraryUtils/PropertySetReader.h"

#include <KelmPlatform/ContentReader.h>

#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace KelmLibraryUtils {
namespace {

const std::wstring kSummaryStreamName = L"\x05SummaryInformation";

// One wanted property and where its text goes.
struct Wanted {
    std::uint32_t id;
    std::wstring* text;
};

std::wstring PropertyText(const PropertySetReader::Property& property) {
    return property.type == PropertySetReader::kTypeFileTime
               ? PropertyUtils::GetFormatedFileTime(property.fileTime)
               : property.text;
}

template <std::size_t N> int ReadSummary(const ByteReader& file, const Wanted (&wanted)[N]) {
    CompoundFile compound(file);
    std::uint32_t entry = 0;
    CompoundFileStream layout;
    if (!compound.Open() || !compound.FindRootStream(kSummaryStreamName, entry) ||
        !compound.GetStreamLayout(entry, layout))
        return 0;
    const CompoundFileStreamReader stream(compound, std::move(layout));
    PropertySetReader properties(stream);
    if (!properties.OpenSection(PropertySetReader::kSummaryInformation))
        return 0;
    PropertySetReader::Property property;
    for (const Wanted& want : wanted)
        if (properties.ReadProperty(want.id, property))
            *want.text = PropertyText(property);
    return 1;
}

int ReadOoxml(int fd, OFFICEDATESITEM& item) {
    OoxmlCoreProperties::Dates dates;
    if (!OoxmlCoreProperties::ReadDescriptor(fd, dates))
        return 0;
    item.Created = PropertyUtils::GetFormatedFileTime(dates.created);
    item.LastSaved = PropertyUtils::GetFormatedFileTime(dates.modified);
    item.LastPrinted = PropertyUtils::GetFormatedFileTime(dates.lastPrinted);
    return 1;
}

bool IsRegularFile(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

bool StartsWithSignature(int fd) {
    unsigned char head[sizeof CompoundFile::kSignature];
    return pread(fd, head, sizeof head, 0) == static_cast<ssize_t>(sizeof head) &&
           CompoundFile::HasSignature(head, sizeof head);
}

} // namespace

int PropertyUtils::IsOLE2Document(const std::wstring& path) {
    const KelmPlatform::ContentReader file(path);
    return file.IsOpen() && IsRegularFile(file.Descriptor()) &&
                   StartsWithSignature(file.Descriptor())
               ? 1
               : 0;
}

// A file time of 0 is how the documents say "never" (a document that was
// never printed); it is no date to show.
std::wstring PropertyUtils::GetFormatedFileTime(KelmPlatform::FileTime utc) {
    if (utc == 0)
        return {};
    const DateTimeValue local = DateTimeUtils::FromFileTime(utc);
    if (!local.IsValid())
        return {};
    wchar_t text[64];
    std::swprintf(text, 64, L"%02d/%02d/%02d %02d:%02d:%02d", local.GetYear(), local.GetMonth(),
                  local.GetDay(), local.GetHour(), local.GetMinute(), local.GetSecond());
    return text;
}

int PropertyUtils::ReadCompoundFileDates(const ByteReader& file, OFFICEDATESITEM& item) {
    item = OFFICEDATESITEM{};
    const Wanted wanted[] = {{PropertySetReader::kCreated, &item.Created},
                             {PropertySetReader::kLastSaved, &item.LastSaved},
                             {PropertySetReader::kLastPrinted, &item.LastPrinted}};
    return ReadSummary(file, wanted);
}

int PropertyUtils::ReadOfficeDates(const std::wstring& path, const ClassId& classId,
                                   OFFICEDATESITEM& item) {
    item = OFFICEDATESITEM{};
    const KelmPlatform::ContentReader file(path);
    if (!file.IsOpen() || !IsRegularFile(file.Descriptor()))
        return 0;
    if (StartsWithSignature(file.Descriptor()))
        return ReadCompoundFileDates(DescriptorByteReader(file.Descriptor()), item);
    if (classId == OoxmlCoreProperties::kHandlerClassId)
        return ReadOoxml(file.Descriptor(), item);
    return 0;
}

std::wstring PropertyUtils::GetDumpProps(const std::wstring& path, std::uint32_t propertyId,
                                         const ClassId& classId) {
    const KelmPlatform::ContentReader file(path);
    if (!file.IsOpen() || !IsRegularFile(file.Descriptor()))
        return {};
    std::wstring text;
    if (StartsWithSignature(file.Descriptor())) {
        const Wanted wanted[] = {{propertyId, &text}};
        ReadSummary(DescriptorByteReader(file.Descriptor()), wanted);
        return text;
    }
    OFFICEDATESITEM item;
    if (classId != OoxmlCoreProperties::kHandlerClassId || !ReadOoxml(file.Descriptor(), item))
        return {};
    switch (propertyId) {
    case PropertySetReader::kCreated:
        return item.Created;
    case PropertySetReader::kLastSaved:
        return item.LastSaved;
    case PropertySetReader::kLastPrinted:
        return item.LastPrinted;
    default:
        return {};
    }
}

} // namespace KelmLibraryUtils
