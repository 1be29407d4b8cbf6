// Where a compound-file stream's bytes lie, and reading them from there.
#include "KelmLibraryUtils/CompoundFile.h"

#include <algorithm>

namespace KelmLibraryUtils {
namespace {

// The run that holds `streamOffset`, or end().
std::vector<CompoundFileExtent>::const_iterator RunOf(const CompoundFileStream& stream,
                                                      std::uint64_t streamOffset) {
    auto it = std::upper_bound(
        stream.extents.begin(), stream.extents.end(), streamOffset,
        [](std::uint64_t at, const CompoundFileExtent& e) { return at < e.streamOffset; });
    if (it == stream.extents.begin() || streamOffset >= stream.size)
        return stream.extents.end();
    --it;
    return streamOffset - it->streamOffset < it->length ? it : stream.extents.end();
}

} // namespace

bool CompoundFileStream::FileOffsetOf(std::uint64_t streamOffset, std::uint64_t& fileOffset) const {
    const auto run = RunOf(*this, streamOffset);
    if (run == extents.end())
        return false;
    fileOffset = run->fileOffset + (streamOffset - run->streamOffset);
    return true;
}

bool CompoundFileStreamReader::ReadAt(std::uint64_t offset, void* out, std::size_t count) const {
    if (!Fits(offset, count))
        return false;
    auto* bytes = static_cast<unsigned char*>(out);
    while (count != 0) {
        const auto run = RunOf(m_stream, offset);
        if (run == m_stream.extents.end())
            return false;
        // The run may end before the request does.
        const std::uint64_t inRun = run->length - (offset - run->streamOffset);
        const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(inRun, count));
        if (!m_file.ReadFile(run->fileOffset + (offset - run->streamOffset), bytes, piece))
            return false;
        bytes += piece;
        offset += piece;
        count -= piece;
    }
    return true;
}

} // namespace KelmLibraryUtils
