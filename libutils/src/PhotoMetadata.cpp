#include "PhotoMetadata.h"

#include "ExivTypes.h"
#include "PhotoContentIo.h"

#include <KelmPlatform/ContentReader.h>
#include <KelmPlatform/NativeName.h>

#include <exiv2/error.hpp>
#include <exiv2/image.hpp>

#include <QString>

#include <exception>
#include <sys/stat.h>
#include <vector>

namespace KelmLibraryUtils {
namespace {

constexpr std::uint16_t kExifVersionTag = 0x9000;

std::string ValueBytes(const Exiv2::Value& value) {
    std::vector<Exiv2::byte> bytes(static_cast<size_t>(value.size()));
    if (!bytes.empty())
        value.copy(bytes.data(), Exiv2::invalidByteOrder);
    return std::string(bytes.begin(), bytes.end());
}

std::string UpToNul(const std::string& bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

std::wstring ShortText(const Exiv2::Value& value) {
    if (value.count() == 0)
        return {};
    return std::to_wstring(static_cast<std::uint16_t>(value.toLong(0)));
}

std::wstring RationalText(const Exiv2::Value& value) {
    const auto* rational = dynamic_cast<const Exiv2::URationalValue*>(&value);
    if (!rational || rational->value_.empty())
        return {};
    return std::to_wstring(rational->value_.front().first);
}

std::wstring VersionText(const Exiv2::Value& value) {
    const std::string bytes = ValueBytes(value).substr(0, 4);
    return ExifBytesToText(UpToNul(bytes));
}

std::wstring ValueText(const Exiv2::Value& value, std::uint16_t tag) {
    switch (value.typeId()) {
    case Exiv2::asciiString:
        return ExifBytesToText(UpToNul(ValueBytes(value)));
    case Exiv2::unsignedShort:
        return ShortText(value);
    case Exiv2::unsignedRational:
        return RationalText(value);
    case Exiv2::undefined:
        return tag == kExifVersionTag ? VersionText(value) : std::wstring();
    default:
        return {};
    }
}

} // namespace

std::wstring ExifBytesToText(const std::string& bytes) {
    const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (text.toUtf8() == QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())))
        return text.toStdWString();
    std::wstring latin;
    for (const unsigned char byte : bytes)
        latin += static_cast<wchar_t>(byte);
    return latin;
}

void PhotoMetadata::SilenceLog() {
    static const bool silenced = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        return true;
    }();
    (void)silenced;
}

PhotoMetadata::PhotoMetadata(const std::wstring& path) {
    SilenceLog();
    KelmPlatform::ContentReader reader(path);
    struct stat st;
    if (!reader.IsOpen() || fstat(reader.Descriptor(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    try {
        auto image = OpenExivImage(new PhotoContentIo(
            reader.Descriptor(), static_cast<long>(st.st_size), KelmPlatform::ToNative(path)));
        if (!image.get())
            return;
        image->readMetadata();
        m_exif = image->exifData();
        m_width = image->pixelWidth();
        m_height = image->pixelHeight();
        m_loaded = true;
    } catch (const Exiv2::AnyError&) {
        m_exif.clear();
    } catch (const std::exception&) {
        m_exif.clear();
    }
}

std::string PhotoMetadata::FindMainImageKey(const Exiv2::ExifData& exif, std::uint16_t tag) {
    for (const Exiv2::Exifdatum& datum : exif) {
        if (datum.tag() != tag)
            continue;
        const std::string group = datum.groupName();
        if (group == "Image" || group == "Photo")
            return datum.key();
    }
    return {};
}

std::wstring PhotoMetadata::TagText(std::uint16_t tag) const {
    const std::string key = FindMainImageKey(m_exif, tag);
    if (key.empty())
        return {};
    try {
        const auto datum = m_exif.findKey(Exiv2::ExifKey(key));
        return datum == m_exif.end() ? std::wstring() : ValueText(datum->value(), tag);
    } catch (const Exiv2::AnyError&) {
        return {}; // a datum without a value
    }
}

} // namespace KelmLibraryUtils
