#pragma once
// The tag readers of the media families: each fills the attribute texts it
// knows from one TagLib file and leaves the others empty.
#include "MediaAttribute.h"

#include <string>

namespace TagLib {
class File;
class PropertyMap;
namespace ASF {
class Attribute;
class Tag;
} // namespace ASF
namespace ID3v2 {
class Tag;
}
} // namespace TagLib

namespace KelmLibraryUtils {

void ReadAsfTags(TagLib::File& file, MediaValues& values);
void ReadMpegTags(TagLib::File& file, MediaValues& values);
void ReadFlacTags(TagLib::File& file, MediaValues& values);
void ReadWavTags(TagLib::File& file, MediaValues& values);
void ReadAiffTags(TagLib::File& file, MediaValues& values);
// Ogg and MP4: TagLib's property map of the file's one tag.
void ReadPropertyTags(TagLib::File& file, MediaValues& values);

// An ASF attribute by its own name, from the content description object for
// "Title", "Author", "Description", "Copyright" and "Rating", otherwise the
// first file-level (stream 0) attribute of that name.
std::wstring AsfAttributeText(const TagLib::ASF::Tag& tag, const std::wstring& name);
// DWORD, QWORD and WORD values in decimal, strings as stored, others empty.
std::wstring AsfValueText(const TagLib::ASF::Attribute& attribute);

// Fills the attributes that are still empty from a property map's keys.
void FillFromProperties(const TagLib::PropertyMap& properties, MediaValues& values);
// The POPM rating on the 1/25/50/75/99 scale; empty when unrated.
std::wstring Id3RatingText(const TagLib::ID3v2::Tag* tag);
std::wstring RatingOfPopularimeter(int rating);

} // namespace KelmLibraryUtils
