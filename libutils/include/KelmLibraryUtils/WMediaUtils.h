#pragma once
// Media attributes of audio and video files, by their Windows Media names
// (MEDIAITEM::AttributeNames), read with TagLib. Only files whose extension
// names a known media family and whose first bytes carry that family's
// signature are opened as media; everything else gives empty texts without
// being parsed. Files are opened read-only and their accessed time is kept.
#include "KelmLibraryUtils/MediaItem.h"

#include <cstdint>
#include <string>

namespace KelmLibraryUtils {

class WMediaUtils {
public:
    // The attribute's value as text; empty when the file is not media or has
    // no such attribute. Numbers are decimal, "Bitrate" in bits per second,
    // "Duration" in 100-ns units.
    static std::wstring GetWMMetadataTag(const std::wstring& path, const std::wstring& name);
    static std::wstring GetTrackNumber(const std::wstring& path);
    static std::wstring GetBitrate(const std::wstring& path);
    static std::wstring GetDuration(const std::wstring& path);
    // The texts above read as numbers; 0 when empty.
    static std::int64_t GetBitrateValue(const std::wstring& path);
    static std::int64_t GetDurationValue(const std::wstring& path);

    // Fills every attribute text and the three numbers from one open of the
    // file. Returns nonzero when the file was read as media; 0 otherwise,
    // with `item` emptied.
    static int ReadMediaItem(const std::wstring& path, MEDIAITEM& item);
};

} // namespace KelmLibraryUtils
