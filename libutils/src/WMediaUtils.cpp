#include "KelmLibraryUtils/WMediaUtils.h"

#include "KelmLibraryUtils/StringUtils.h"
#include "MediaFile.h"
#include "MediaTagReaders.h"

#include <taglib/asffile.h>
#include <taglib/audioproperties.h>
#include <taglib/tfile.h>

#include <limits>

namespace KelmLibraryUtils {
namespace {

// "3/12" (track of total) gives "3"; a text without leading digits stays.
std::wstring TrackText(const std::wstring& text) {
    std::size_t end = 0;
    while (end < text.size() && text[end] >= L'0' && text[end] <= L'9')
        ++end;
    return end ? text.substr(0, end) : text;
}

// Decimal digits only; 0 for anything else or a value out of range.
std::uint64_t DigitsValue(const std::wstring& text) {
    if (text.empty())
        return 0;
    std::uint64_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return 0;
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
            return 0;
        value = value * 10 + digit;
    }
    return value;
}

// Bit rate in bits per second and length in 100-ns units; a value the
// properties do not know stays empty.
void ReadAudio(const TagLib::File& file, MEDIAITEM& item) {
    const TagLib::AudioProperties* audio = file.audioProperties();
    if (!audio)
        return;
    if (audio->bitrate() > 0)
        item.Bitrate = static_cast<std::uint64_t>(audio->bitrate()) * 1000;
    if (audio->lengthInMilliseconds() > 0)
        item.Duration = static_cast<std::uint64_t>(audio->lengthInMilliseconds()) * 10000;
    if (item.Bitrate)
        item.Values[kMediaBitrate] = std::to_wstring(item.Bitrate);
    if (item.Duration)
        item.Values[kMediaDuration] = std::to_wstring(item.Duration);
}

int Read(const MediaFile& media, MEDIAITEM& item) {
    item = MEDIAITEM();
    if (!media.File())
        return 0;
    media.ReadTags(item.Values);
    auto& track = item.Values[kMediaTrackNumber];
    track = TrackText(track);
    item.TrackNumber = DigitsValue(track);
    ReadAudio(*media.File(), item);
    return 1;
}

std::wstring ReadValue(const std::wstring& path, const std::wstring& name) {
    const MediaFile media(path);
    if (!media.File())
        return {};
    const int index = MediaAttributeIndex(name);
    if (index < 0) {
        // Other attributes are only known by name in ASF files.
        if (media.Family() != MediaFamily::Asf)
            return {};
        const auto* tag = static_cast<TagLib::ASF::File*>(media.File())->tag();
        return tag ? AsfAttributeText(*tag, name) : std::wstring();
    }
    MEDIAITEM item;
    Read(media, item);
    return item.Values[index];
}

} // namespace

std::wstring WMediaUtils::GetWMMetadataTag(const std::wstring& path, const std::wstring& name) {
    try {
        return ReadValue(path, name);
    } catch (...) {
        return {};
    }
}

std::wstring WMediaUtils::GetTrackNumber(const std::wstring& path) {
    return GetWMMetadataTag(path, MEDIAITEM::AttributeNames[kMediaTrackNumber]);
}

std::wstring WMediaUtils::GetBitrate(const std::wstring& path) {
    return GetWMMetadataTag(path, MEDIAITEM::AttributeNames[kMediaBitrate]);
}

std::wstring WMediaUtils::GetDuration(const std::wstring& path) {
    return GetWMMetadataTag(path, MEDIAITEM::AttributeNames[kMediaDuration]);
}

std::int64_t WMediaUtils::GetBitrateValue(const std::wstring& path) {
    return StringUtils::StringToInt64Number(GetBitrate(path));
}

std::int64_t WMediaUtils::GetDurationValue(const std::wstring& path) {
    return StringUtils::StringToInt64Number(GetDuration(path));
}

int WMediaUtils::ReadMediaItem(const std::wstring& path, MEDIAITEM& item) {
    try {
        const MediaFile media(path);
        return Read(media, item);
    } catch (...) {
        item = MEDIAITEM();
        return 0;
    }
}

} // namespace KelmLibraryUtils
