// WAV files: an ID3v2 chunk when there is one, then the RIFF INFO list for
// what it does not hold. INFO ids are mapped onto the property keys the
// other formats use.
#include "MediaTagReaders.h"

#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>

namespace KelmLibraryUtils {
namespace {

struct InfoKey {
    const char* id;
    const char* key;
};

const InfoKey kInfoKeys[] = {
    {"INAM", "TITLE"}, {"IART", "ARTIST"},      {"ICMT", "COMMENT"},     {"ICOP", "COPYRIGHT"},
    {"IPRD", "ALBUM"}, {"IPRT", "TRACKNUMBER"}, {"ITRK", "TRACKNUMBER"}, {"IGNR", "GENRE"},
    {"ICRD", "DATE"},  {"IMUS", "COMPOSER"},    {"IWRI", "LYRICIST"},    {"IPRO", "PRODUCER"},
};

TagLib::PropertyMap InfoProperties(const TagLib::RIFF::Info::Tag& info) {
    TagLib::PropertyMap properties;
    for (const auto& entry : kInfoKeys) {
        const TagLib::String text = info.fieldText(entry.id);
        if (!text.isEmpty() && !properties.contains(entry.key))
            properties.insert(entry.key, TagLib::StringList(text));
    }
    return properties;
}

} // namespace

void ReadWavTags(TagLib::File& file, MediaValues& values) {
    auto& wav = static_cast<TagLib::RIFF::WAV::File&>(file);
    if (wav.hasID3v2Tag()) {
        FillFromProperties(wav.ID3v2Tag()->properties(), values);
        values[kMediaRating] = Id3RatingText(wav.ID3v2Tag());
    }
    if (wav.hasInfoTag())
        FillFromProperties(InfoProperties(*wav.InfoTag()), values);
}

} // namespace KelmLibraryUtils
