// Feeds arbitrary bytes to the shell link reader: it must never crash, read
// out of bounds or allocate without bound.
#include <KelmLibraryUtils/ShellLinkReader.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    KelmLibraryUtils::SHELLLINKITEM link;
    KelmLibraryUtils::ShellLinkReader::Parse(data, size, link);
    return 0;
}
