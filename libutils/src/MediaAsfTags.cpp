// ASF (WMA, WMV) files carry the Windows Media attributes under their own
// names: the five content-description fields and the extended attributes.
#include "MediaTagReaders.h"

#include <taglib/asffile.h>
#include <taglib/asftag.h>

namespace KelmLibraryUtils {
namespace {

// Fields of the content description object, which TagLib keeps apart from
// the attribute list.
const TagLib::String* ContentDescription(const TagLib::ASF::Tag& tag, const std::wstring& name,
                                         TagLib::String& field) {
    if (name == L"Title")
        field = tag.title();
    else if (name == L"Author")
        field = tag.artist();
    else if (name == L"Description")
        field = tag.comment();
    else if (name == L"Copyright")
        field = tag.copyright();
    else if (name == L"Rating")
        field = tag.rating();
    else
        return nullptr;
    return &field;
}

} // namespace

std::wstring AsfValueText(const TagLib::ASF::Attribute& attribute) {
    switch (attribute.type()) {
    case TagLib::ASF::Attribute::UnicodeType:
        return MediaText(attribute.toString());
    case TagLib::ASF::Attribute::DWordType:
        return std::to_wstring(attribute.toUInt());
    case TagLib::ASF::Attribute::QWordType:
        return std::to_wstring(attribute.toULongLong());
    case TagLib::ASF::Attribute::WordType:
        return std::to_wstring(attribute.toUShort());
    default:
        return {};
    }
}

std::wstring AsfAttributeText(const TagLib::ASF::Tag& tag, const std::wstring& name) {
    TagLib::String field;
    if (const TagLib::String* text = ContentDescription(tag, name, field))
        return MediaText(*text);
    const auto& attributes = tag.attributeListMap();
    const auto found = attributes.find(MediaTagString(name));
    if (found == attributes.end())
        return {};
    for (const auto& attribute : found->second) {
        if (attribute.stream() == 0)
            return AsfValueText(attribute);
    }
    return {};
}

void ReadAsfTags(TagLib::File& file, MediaValues& values) {
    const auto* tag = static_cast<TagLib::ASF::File&>(file).tag();
    if (!tag)
        return;
    for (int i = 0; i < kMediaBitrate; ++i)
        values[i] = AsfAttributeText(*tag, MEDIAITEM::AttributeNames[i]);
}

} // namespace KelmLibraryUtils
