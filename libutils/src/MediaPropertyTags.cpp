// Formats other than ASF are read through TagLib's property map, whose keys
// TagLib translates from each format's own names (ID3v2 frames, MP4 atoms,
// Vorbis comment fields, APE items). Each attribute takes the first value of
// the first key present; later keys are the names other writers use.
#include "MediaTagReaders.h"

#include <taglib/flacfile.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/tpropertymap.h>
#include <taglib/xiphcomment.h>

#include <algorithm>
#include <array>
#include <cwctype>

namespace KelmLibraryUtils {
namespace {

struct KeyRow {
    MediaAttribute attribute;
    std::array<const char*, 3> keys;
};

const KeyRow kKeys[] = {
    {kMediaTitle, {"TITLE"}},
    {kMediaAuthor, {"ARTIST"}},
    {kMediaDescription, {"COMMENT", "DESCRIPTION"}},
    {kMediaCopyright, {"COPYRIGHT"}},
    {kMediaAlbumTitle, {"ALBUM"}},
    {kMediaTrackNumber, {"TRACKNUMBER"}},
    {kMediaGenre, {"GENRE"}},
    {kMediaYear, {"DATE", "YEAR"}},
    {kMediaAlbumArtist, {"ALBUMARTIST", "ALBUM ARTIST"}},
    {kMediaComposer, {"COMPOSER"}},
    {kMediaWriter, {"LYRICIST", "WRITER"}},
    {kMediaConductor, {"CONDUCTOR"}},
    {kMediaProducer, {"PRODUCER"}},
    {kMediaDirector, {"DIRECTOR"}},
    {kMediaSubTitle, {"SUBTITLE"}},
    {kMediaPublisher, {"LABEL", "PUBLISHER", "ORGANIZATION"}},
    {kMediaCategory, {"CATEGORY", "PODCASTCATEGORY"}},
    {kMediaMood, {"MOOD"}},
};

std::wstring FirstValue(const TagLib::PropertyMap& properties, const char* key) {
    const auto found = properties.find(TagLib::String(key));
    if (found == properties.end())
        return {};
    for (const auto& value : found->second) {
        if (!value.isEmpty())
            return MediaText(value);
    }
    return {};
}

// Dates are full dates ("2021-05-01") in most formats; the year attribute
// is the year alone, as a year frame holds it.
std::wstring YearOfDate(const std::wstring& date) {
    if (date.size() > 4 && std::all_of(date.begin(), date.begin() + 4, iswdigit) &&
        !iswdigit(date[4]))
        return date.substr(0, 4);
    return date;
}

} // namespace

void FillFromProperties(const TagLib::PropertyMap& properties, MediaValues& values) {
    for (const auto& row : kKeys) {
        auto& value = values[row.attribute];
        for (const char* key : row.keys) {
            if (!value.empty() || !key)
                break;
            value = FirstValue(properties, key);
        }
    }
    values[kMediaYear] = YearOfDate(values[kMediaYear]);
}

void ReadPropertyTags(TagLib::File& file, MediaValues& values) {
    FillFromProperties(file.properties(), values);
}

void ReadFlacTags(TagLib::File& file, MediaValues& values) {
    auto& flac = static_cast<TagLib::FLAC::File&>(file);
    if (flac.hasXiphComment())
        FillFromProperties(flac.xiphComment()->properties(), values);
    if (flac.hasID3v2Tag()) {
        FillFromProperties(flac.ID3v2Tag()->properties(), values);
        values[kMediaRating] = Id3RatingText(flac.ID3v2Tag());
    }
    if (flac.hasID3v1Tag())
        FillFromProperties(flac.ID3v1Tag()->properties(), values);
}

} // namespace KelmLibraryUtils
