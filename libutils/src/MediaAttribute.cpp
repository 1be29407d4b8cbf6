#include "MediaAttribute.h"

#include <QString>
#include <taglib/tstring.h>

namespace KelmLibraryUtils {

int MediaAttributeIndex(const std::wstring& name) {
    for (int i = 0; i < kMediaAttributeCount; ++i) {
        if (name == MEDIAITEM::AttributeNames[i])
            return i;
    }
    return -1;
}

std::wstring MediaText(const TagLib::String& text) {
    const std::string utf8 = text.to8Bit(true);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdWString();
}

TagLib::String MediaTagString(const std::wstring& text) {
    return TagLib::String(QString::fromStdWString(text).toStdString(), TagLib::String::UTF8);
}

} // namespace KelmLibraryUtils
