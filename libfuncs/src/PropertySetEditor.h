#pragma once
// Adds a property to one section of a property set stream held in memory.
// The section gains an id/offset pair at the end of its table and the value
// at its end; its size and count, the offsets of its values and the offsets
// of the sections after it move accordingly. A stream whose sections or
// offsets do not add up is refused, so that nothing is built on guesses.
#include <KelmLibraryUtils/ClassId.h>

#include <cstdint>
#include <vector>

namespace KelmLibraryFuncs {

class PropertySetEditor {
public:
    // Adds `id` as a file time to the first section of `formatId`. When the
    // stream ends in enough zero bytes after its last section, they absorb
    // the growth and the stream keeps its size. False, with `stream`
    // unchanged, when the stream is inconsistent or already has `id`.
    static bool AddFileTime(std::vector<unsigned char>& stream,
                            const KelmLibraryUtils::ClassId& formatId, std::uint32_t id,
                            std::uint64_t fileTime);
};

} // namespace KelmLibraryFuncs
