#pragma once
// Writes the summary-information dates of a compound file (an Office
// 97-2003 document) in place, through a descriptor the caller has opened
// for reading and writing and locked.
//
// A date that is there is changed by overwriting its eight bytes and nothing
// else. A date that is missing is added to the set; the rebuilt stream is
// written back only where it fits the sectors (or mini sectors) the stream
// already owns, with the stream's size in its directory entry updated. A
// stream that would have to grow into new sectors is refused: the file is
// never reallocated. Every write is read back through an independent load of
// the file and taken back when it does not show the new date.
#include "CompoundFileTables.h"
#include "FilePatcher.h"

#include <KelmLibraryUtils/ByteReader.h>
#include <KelmLibraryUtils/CompoundFile.h>

#include <cstdint>
#include <vector>

namespace KelmLibraryFuncs {

class SummaryDateWriter {
public:
    // Failure codes, as the structured-storage services report them.
    static constexpr std::uint32_t kInvalidParameter = 0x80030057; // not a date property
    static constexpr std::uint32_t kWriteFault = 0x8003001D;
    static constexpr std::uint32_t kMediumFull = 0x80030070; // the stream would need new sectors
    static constexpr std::uint32_t kDocfileCorrupt = 0x80030109;

    explicit SummaryDateWriter(int fd);

    // Nonzero when the file's allocation and directory are sound and it has
    // a readable summary-information set.
    int OpenSummary();

    // Writes `id` (11, 12 or 13) as a file time. On failure `error` tells why
    // and the file holds what it held before.
    int WriteFileTime(std::uint32_t id, std::uint64_t fileTime, std::uint32_t& error);

private:
    bool LayoutsAgree() const;
    std::uint32_t Overwrite(std::uint64_t streamOffset, std::uint64_t fileTime);
    std::uint32_t Add(std::uint32_t id, std::uint64_t fileTime);
    std::uint32_t Rewrite(const std::vector<unsigned char>& stream);
    std::uint32_t Finish(std::uint32_t id, std::uint64_t fileTime);
    void Abandon();
    bool ReadStream(const CompoundFileTables::StreamUnits& units,
                    std::vector<unsigned char>& stream) const;

    int m_fd;
    KelmLibraryUtils::DescriptorByteReader m_bytes;
    KelmLibraryUtils::CompoundFile m_file;
    CompoundFileTables m_tables;
    std::uint32_t m_entry = 0;
    KelmLibraryUtils::CompoundFileStream m_layout;
    FilePatcher m_patcher;
};

} // namespace KelmLibraryFuncs
