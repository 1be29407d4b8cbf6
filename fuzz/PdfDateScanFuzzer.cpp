// Feeds arbitrary bytes to the PDF date scanner, whole and in pieces whose
// size the input chooses: it must never crash or read out of bounds, and
// where the pieces split the input must not change what it finds.
#include <KelmLibraryUtils/PdfDateScanner.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using KelmLibraryUtils::PdfDateScanner;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t piece = 1 + data[0] % 61;
    ++data;
    --size;
    std::wstring created, modified;
    PdfDateScanner::Scan(data, size, created, modified);
    if (created.size() > 14 || modified.size() > 14)
        std::abort();

    PdfDateScanner scanner;
    for (std::size_t at = 0; at < size; at += piece)
        scanner.Feed(data + at, size - at < piece ? size - at : piece);
    scanner.Finish();
    if (scanner.Created() != created || scanner.Modified() != modified)
        std::abort();
    return 0;
}
