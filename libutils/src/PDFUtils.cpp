#include "KelmLibraryUtils/PDFUtils.h"

#include "KelmLibraryUtils/FileUtils.h"
#include "KelmLibraryUtils/PdfDateScanner.h"

#include <KelmPlatform/ContentReader.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace KelmLibraryUtils {
namespace {

constexpr char kSignature[] = "%PDF-";
constexpr std::size_t kSignatureLength = sizeof kSignature - 1;

bool HasPdfExtension(const std::wstring& path) {
    const std::wstring ext = FileUtils::GetSplitExtension(path, 1);
    if (ext.size() != 4 || ext[0] != L'.')
        return false;
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c; };
    return lower(ext[1]) == L'p' && lower(ext[2]) == L'd' && lower(ext[3]) == L'f';
}

// Fills as much of `buffer` as the file still has; -1 on a read error.
ssize_t ReadSome(int fd, std::uint8_t* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, buffer + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

// An opened PDF: a regular file with the right name and first bytes.
class PdfFile {
public:
    explicit PdfFile(const std::wstring& path) : m_reader(path) {}

    // Reads the first piece into `buffer` and checks the signature.
    bool Open(std::uint8_t* buffer, std::size_t size, std::size_t& got) {
        struct stat st {};
        if (!m_reader.IsOpen() || ::fstat(m_reader.Descriptor(), &st) != 0 || !S_ISREG(st.st_mode))
            return false;
        const ssize_t n = ReadSome(m_reader.Descriptor(), buffer, size);
        if (n < static_cast<ssize_t>(kSignatureLength) ||
            std::memcmp(buffer, kSignature, kSignatureLength) != 0)
            return false;
        got = static_cast<std::size_t>(n);
        return true;
    }

    ssize_t Next(std::uint8_t* buffer, std::size_t size) {
        return ReadSome(m_reader.Descriptor(), buffer, size);
    }

private:
    KelmPlatform::ContentReader m_reader;
};

} // namespace

int PDFUtils::IsPDFFile(const std::wstring& path) {
    if (!HasPdfExtension(path))
        return 0;
    std::uint8_t head[kSignatureLength];
    std::size_t got = 0;
    return PdfFile(path).Open(head, sizeof head, got) ? 1 : 0;
}

int PDFUtils::ReadPDFDates(const std::wstring& path, std::wstring& created,
                           std::wstring& modified) {
    created.clear();
    modified.clear();
    if (!HasPdfExtension(path))
        return 0;
    const auto buffer = std::make_unique<std::uint8_t[]>(kReadChunk);
    PdfFile file(path);
    std::size_t got = 0;
    if (!file.Open(buffer.get(), kReadChunk, got))
        return 0;
    PdfDateScanner scanner;
    while (got > 0) {
        scanner.Feed(buffer.get(), got);
        if (scanner.IsDone())
            break;
        const ssize_t n = file.Next(buffer.get(), kReadChunk);
        if (n < 0)
            return 0;
        got = static_cast<std::size_t>(n);
    }
    scanner.Finish();
    created = scanner.Created();
    modified = scanner.Modified();
    return 1;
}

std::wstring PDFUtils::GetPDFCreatedDateTime(const std::wstring& path) {
    std::wstring created, modified;
    ReadPDFDates(path, created, modified);
    return created;
}

std::wstring PDFUtils::GetPDFModifiedDateTime(const std::wstring& path) {
    std::wstring created, modified;
    ReadPDFDates(path, created, modified);
    return modified;
}

} // namespace KelmLibraryUtils
