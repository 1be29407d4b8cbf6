// Feeds arbitrary bytes to the property set reader as one stream.
#include <KelmLibraryUtils/PropertySetReader.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace KelmLibraryUtils;
    const MemoryByteReader stream(data, size);
    PropertySetReader reader(stream);
    if (!reader.OpenSection(PropertySetReader::kSummaryInformation))
        return 0;
    PropertySetReader::Property property;
    for (std::uint32_t id : {1u, 11u, 12u, 13u, 14u, 0xFFFFFFFFu})
        reader.ReadProperty(id, property);
    return 0;
}
