// MP3 and AIFF files: ID3v2 first, then the older APE and ID3v1 tags for
// whatever ID3v2 does not hold. The rating comes from a popularimeter
// (POPM) frame, which the property map leaves out.
#include "MediaTagReaders.h"

#include <taglib/aifffile.h>
#include <taglib/apetag.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/popularimeterframe.h>
#include <taglib/tpropertymap.h>

namespace KelmLibraryUtils {
namespace {

// The popularimeter Windows Media Player writes and reads.
const char kPlayerEmail[] = "Windows Media Player 9 Series";

} // namespace

// POPM keeps 1 (worst) to 255 (best), 0 meaning unrated; Windows Media
// Player writes 1, 64, 128, 196 and 255 for one to five stars. Each star
// takes the band around its value.
std::wstring RatingOfPopularimeter(int rating) {
    if (rating <= 0)
        return {};
    if (rating < 32)
        return L"1";
    if (rating < 96)
        return L"25";
    if (rating < 160)
        return L"50";
    if (rating < 224)
        return L"75";
    return L"99";
}

std::wstring Id3RatingText(const TagLib::ID3v2::Tag* tag) {
    if (!tag)
        return {};
    const auto& frames = tag->frameListMap();
    const auto found = frames.find("POPM");
    if (found == frames.end())
        return {};
    const TagLib::ID3v2::PopularimeterFrame* chosen = nullptr;
    for (auto* frame : found->second) {
        const auto* popm = dynamic_cast<const TagLib::ID3v2::PopularimeterFrame*>(frame);
        if (!popm)
            continue;
        if (!chosen || popm->email() == kPlayerEmail)
            chosen = popm;
        if (popm->email() == kPlayerEmail)
            break;
    }
    return chosen ? RatingOfPopularimeter(chosen->rating()) : std::wstring();
}

void ReadMpegTags(TagLib::File& file, MediaValues& values) {
    auto& mpeg = static_cast<TagLib::MPEG::File&>(file);
    if (mpeg.hasID3v2Tag()) {
        FillFromProperties(mpeg.ID3v2Tag()->properties(), values);
        values[kMediaRating] = Id3RatingText(mpeg.ID3v2Tag());
    }
    if (mpeg.hasAPETag())
        FillFromProperties(mpeg.APETag()->properties(), values);
    if (mpeg.hasID3v1Tag())
        FillFromProperties(mpeg.ID3v1Tag()->properties(), values);
}

void ReadAiffTags(TagLib::File& file, MediaValues& values) {
    auto& aiff = static_cast<TagLib::RIFF::AIFF::File&>(file);
    if (!aiff.hasID3v2Tag())
        return;
    FillFromProperties(aiff.tag()->properties(), values);
    values[kMediaRating] = Id3RatingText(aiff.tag());
}

} // namespace KelmLibraryUtils
