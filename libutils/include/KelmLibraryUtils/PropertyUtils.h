#pragma once
// The summary-information dates of Office documents: created (property
// 12), last saved (13) and last printed (11). Compound files (Office
// 97-2003) are read by our compound-file and property-set readers; Office
// Open XML packages by the core-properties reader, when the class id of the
// extension table names it. Reading never changes the file or its accessed
// time.
#include "KelmLibraryUtils/ByteReader.h"
#include "KelmLibraryUtils/ClassId.h"
#include "KelmLibraryUtils/OfficeDatesItem.h"

#include <KelmPlatform/FileTime.h>

#include <cstdint>
#include <string>

namespace KelmLibraryUtils {

class PropertyUtils {
public:
    // Not a folder, and the first 8 bytes are the compound-file signature.
    static int IsOLE2Document(const std::wstring& path);

    // One property as text: a file time as local time (the current-offset
    // rule) in the form "2024/03/01 09:05:00", an integer as its decimal
    // text; empty for any other type, a missing property or a file that
    // cannot be read.
    static std::wstring GetDumpProps(const std::wstring& path, std::uint32_t propertyId,
                                     const ClassId& classId);

    // All three dates from one open of the file. Nonzero when the document's
    // summary information (or core properties) could be read; the texts of
    // missing dates are empty.
    static int ReadOfficeDates(const std::wstring& path, const ClassId& classId,
                               OFFICEDATESITEM& item);

    // The same for a compound file's bytes.
    static int ReadCompoundFileDates(const ByteReader& file, OFFICEDATESITEM& item);

    // The display form of a UTC file time; empty for 0 ("never") and when
    // it has no local date.
    static std::wstring GetFormatedFileTime(KelmPlatform::FileTime utc);
};

} // namespace KelmLibraryUtils
