// Feeds arbitrary bytes to the compound-file reader and the summary
// property set inside: it must never crash, hang, read out of bounds or
// allocate without bound.
#include <KelmLibraryUtils/CompoundFile.h>
#include <KelmLibraryUtils/PropertyUtils.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace KelmLibraryUtils;
    const MemoryByteReader source(data, size);
    OFFICEDATESITEM item;
    PropertyUtils::ReadCompoundFileDates(source, item);
    CompoundFile file(source);
    if (!file.Open())
        return 0;
    // Every stream the directory names, as a writer would locate them.
    for (std::uint32_t entry = 0; entry < file.EntryCount() && entry < 64; ++entry) {
        CompoundFileStream layout;
        if (!file.GetStreamLayout(entry, layout))
            continue;
        const CompoundFileStreamReader stream(file, layout);
        unsigned char head[16];
        stream.ReadAt(0, head, stream.Size() < sizeof head ? stream.Size() : sizeof head);
    }
    return 0;
}
