#pragma once
// Reader of the core properties of Office Open XML documents (.docx, .xlsx,
// .pptx and their macro and template kinds): the package part
// docProps/core.xml (or wherever the package relationships place it) inside
// the zip container. Its created, modified and last-printed dates stand in
// for the summary-information dates 12, 13 and 11 of older documents.
//
// Parts are decompressed to at most kMaxPartSize bytes, so a zip bomb or a
// corrupt archive gives a failure, never unbounded memory.
#include "KelmLibraryUtils/ClassId.h"

#include <KelmPlatform/FileTime.h>

#include <cstddef>
#include <string>

namespace KelmLibraryUtils {

class OoxmlCoreProperties {
public:
    // The class id of this reader in the extension table: the property
    // handler that the table names for the Office Open XML extensions, where
    // Windows would name the one it registered. A fixed id of our own:
    // {EB756406-BDD8-4B46-8C63-5A6BF9C4074A}.
    static constexpr ClassId kHandlerClassId{
        0xEB756406, 0xBDD8, 0x4B46, {0x8C, 0x63, 0x5A, 0x6B, 0xF9, 0xC4, 0x07, 0x4A}};
    static constexpr std::size_t kMaxPartSize = 1 << 20;

    // UTC file times; 0 when the document does not give the date.
    struct Dates {
        KelmPlatform::FileTime created = 0;
        KelmPlatform::FileTime modified = 0;
        KelmPlatform::FileTime lastPrinted = 0;
    };

    // ".docx", ".xlsm", ... (any letter case): the extensions it reads.
    static int IsHandledExtension(const std::wstring& extension);

    // Reads the dates of the package open as `fd` (left open) or held in
    // `data`; 0 when it is no readable package with core properties.
    static int ReadDescriptor(int fd, Dates& dates);
    static int ReadBuffer(const void* data, std::size_t size, Dates& dates);

    // The dates of a core-properties part's XML text.
    static int ParseCoreXml(const std::string& xml, Dates& dates);
    // The core-properties part named by package relationships XML; empty
    // when none is.
    static std::string FindCorePart(const std::string& relationships);
    // A W3CDTF (ISO 8601) date-time such as 2024-03-01T08:05:00Z as a UTC
    // file time; a text without a zone is taken as UTC.
    static int ParseW3cdtf(const std::wstring& text, KelmPlatform::FileTime& utc);
};

} // namespace KelmLibraryUtils
