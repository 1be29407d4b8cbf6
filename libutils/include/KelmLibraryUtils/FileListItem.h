#pragma once
// One item of the list: its path, one display text per detail column
// (indexed by column number, FileListColumns.h) and the numbers some columns
// sort by. A new record has all texts empty and all numbers 0.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace KelmLibraryUtils {

struct FILELISTITEM {
    static constexpr std::size_t ColumnCount = 47;

    std::wstring Path;
    std::array<std::wstring, ColumnCount> Texts;
    std::uint64_t Size = 0;                // bytes; column 2
    std::int32_t ImageWidth = 0;           // pixels; column 9
    std::uint32_t ImageHeight = 0;         // pixels; second key of column 9
    std::int32_t HorizontalResolution = 0; // column 21
    std::int32_t VerticalResolution = 0;   // column 22
    std::uint64_t TrackNumber = 0;         // column 30
    std::uint64_t Bitrate = 0;             // bits per second; column 43
    std::uint64_t Duration = 0;            // 100-ns units; column 44
};

} // namespace KelmLibraryUtils
