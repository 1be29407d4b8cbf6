#pragma once
// The creation and modification dates a PDF file carries in its text, as
// the 14 digits that follow "D:" (year to second, time zone dropped). The
// file is read once, in pieces, through a reader that leaves its accessed
// time alone, and reading stops as soon as both dates are decided.
#include <cstddef>
#include <string>

namespace KelmLibraryUtils {

class PDFUtils {
public:
    // Bytes read at a time; the memory a scan needs besides a few bytes.
    static constexpr std::size_t kReadChunk = 64 * 1024;

    // Nonzero for a regular file named *.pdf (any case) that starts with
    // "%PDF-".
    static int IsPDFFile(const std::wstring& path);

    // The date text, or empty when the file is no PDF, cannot be read or has
    // no such date.
    static std::wstring GetPDFCreatedDateTime(const std::wstring& path);
    static std::wstring GetPDFModifiedDateTime(const std::wstring& path);

    // Both dates in one read. Returns nonzero when the file is a PDF that
    // was read to the end or until both dates were decided; 0 leaves both
    // texts empty.
    static int ReadPDFDates(const std::wstring& path, std::wstring& created,
                            std::wstring& modified);
};

} // namespace KelmLibraryUtils
