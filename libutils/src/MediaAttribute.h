#pragma once
// Positions of the media attributes in MEDIAITEM::AttributeNames and the
// text conversion shared by the per-family tag readers.
#include "KelmLibraryUtils/MediaItem.h"

#include <string>
#include <string_view>

namespace TagLib {
class String;
}

namespace KelmLibraryUtils {

using MediaValues = decltype(MEDIAITEM::Values);

enum MediaAttribute : int {
    kMediaTitle,
    kMediaAuthor,
    kMediaDescription,
    kMediaRating,
    kMediaCopyright,
    kMediaAlbumTitle,
    kMediaTrackNumber,
    kMediaGenre,
    kMediaYear,
    kMediaAlbumArtist,
    kMediaComposer,
    kMediaWriter,
    kMediaConductor,
    kMediaProducer,
    kMediaDirector,
    kMediaSubTitle,
    kMediaPublisher,
    kMediaCategory,
    kMediaMood,
    kMediaBitrate,
    kMediaDuration,
    kMediaAttributeCount
};

static_assert(kMediaAttributeCount == MEDIAITEM::AttributeNames.size());
static_assert(std::wstring_view(MEDIAITEM::AttributeNames[kMediaRating]) == L"WM/SharedUserRating");
static_assert(std::wstring_view(MEDIAITEM::AttributeNames[kMediaTrackNumber]) == L"WM/TrackNumber");
static_assert(std::wstring_view(MEDIAITEM::AttributeNames[kMediaMood]) == L"WM/Mood");
static_assert(std::wstring_view(MEDIAITEM::AttributeNames[kMediaDuration]) == L"Duration");

// The index of `name` in MEDIAITEM::AttributeNames, -1 when it is not there.
int MediaAttributeIndex(const std::wstring& name);

// TagLib keeps UTF-16 code units; this gives whole code points.
std::wstring MediaText(const TagLib::String& text);
TagLib::String MediaTagString(const std::wstring& text);

} // namespace KelmLibraryUtils
