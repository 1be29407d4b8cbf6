#include "KelmLibraryUtils/ImageUtils.h"

#include "PhotoMetadata.h"

#include "KelmLibraryUtils/FileUtils.h"
#include "KelmLibraryUtils/StringUtils.h"

#include <QString>

#include <algorithm>

namespace KelmLibraryUtils {
namespace {

enum Tag : unsigned {
    kBitsPerSample = 0x0102,
    kMake = 0x010F,
    kModel = 0x0110,
    kOrientation = 0x0112,
    kXResolution = 0x011A,
    kYResolution = 0x011B,
    kSoftware = 0x0131,
    kDateTime = 0x0132,
    kExposureProgram = 0x8822,
    kExifVersion = 0x9000,
    kDateTimeOriginal = 0x9003,
    kDateTimeDigitized = 0x9004,
};

int TagNumber(const std::wstring& path, unsigned tag) {
    const PhotoMetadata photo(path);
    return StringUtils::StringToIntNumber(photo.TagText(static_cast<std::uint16_t>(tag)));
}

} // namespace

std::wstring ImageUtils::GetPropertyTagExifValue(const std::wstring& path, unsigned tag) {
    return PhotoMetadata(path).TagText(static_cast<std::uint16_t>(tag));
}

std::wstring ImageUtils::GetPropertyTagDateTime(const std::wstring& path) {
    return GetPropertyTagExifValue(path, kDateTime);
}

std::wstring ImageUtils::GetPropertyTagExifDTOrig(const std::wstring& path) {
    return GetPropertyTagExifValue(path, kDateTimeOriginal);
}

std::wstring ImageUtils::GetPropertyTagExifDTDigitized(const std::wstring& path) {
    return GetPropertyTagExifValue(path, kDateTimeDigitized);
}

std::wstring ImageUtils::GetEquipMake(const std::wstring& path) {
    return GetPropertyTagExifValue(path, kMake);
}

std::wstring ImageUtils::GetEquipModel(const std::wstring& path) {
    return GetPropertyTagExifValue(path, kModel);
}

std::wstring ImageUtils::GetExifVer(const std::wstring& path) {
    return GetPropertyTagExifValue(path, kExifVersion);
}

std::wstring ImageUtils::GetSoftwareUsed(const std::wstring& path) {
    return GetPropertyTagExifValue(path, kSoftware);
}

std::wstring ImageUtils::GetExifExposureProg(const std::wstring& path) {
    return GetPropertyTagExifValue(path, kExposureProgram);
}

std::wstring ImageUtils::GetBitsPerSample(const std::wstring& path) {
    return GetPropertyTagExifValue(path, kBitsPerSample);
}

int ImageUtils::GetXResolution(const std::wstring& path) {
    return TagNumber(path, kXResolution);
}

int ImageUtils::GetYResolution(const std::wstring& path) {
    return TagNumber(path, kYResolution);
}

int ImageUtils::GetOrientation(const std::wstring& path) {
    return TagNumber(path, kOrientation);
}

int ImageUtils::ReadExifItem(const std::wstring& path, EXIFITEM& item) {
    item = EXIFITEM();
    const PhotoMetadata photo(path);
    if (!photo.Loaded())
        return 0;
    item.DateTimeOriginal = photo.TagText(kDateTimeOriginal);
    item.DateTimeDigitized = photo.TagText(kDateTimeDigitized);
    item.DateTime = photo.TagText(kDateTime);
    item.EquipMake = photo.TagText(kMake);
    item.EquipModel = photo.TagText(kModel);
    item.ExifVersion = photo.TagText(kExifVersion);
    item.Software = photo.TagText(kSoftware);
    item.ExposureProgram = photo.TagText(kExposureProgram);
    item.XResolution = StringUtils::StringToIntNumber(photo.TagText(kXResolution));
    item.YResolution = StringUtils::StringToIntNumber(photo.TagText(kYResolution));
    item.Width = photo.Width();
    item.Height = photo.Height();
    return 1;
}

int ImageUtils::GetImageWidth(const std::wstring& path) {
    return GetImageSize(path).Width;
}

int ImageUtils::GetImageHeight(const std::wstring& path) {
    return GetImageSize(path).Height;
}

ImageUtils::Size ImageUtils::GetImageSize(const std::wstring& path) {
    const PhotoMetadata photo(path);
    return {photo.Width(), photo.Height()};
}

ImageUtils::Size ImageUtils::GetThumbnailSize(const std::wstring& path, int box) {
    const Size image = GetImageSize(path);
    const int w = image.Width;
    const int h = image.Height;
    if (w <= 0 || h <= 0)
        return {box, box};
    const int d = std::max(std::max(w, h), box);
    const double scale = static_cast<double>(box) / d;
    return {d == w ? box : static_cast<int>(w * scale), d == h ? box : static_cast<int>(h * scale)};
}

std::wstring ImageUtils::GetEncoderFormat(const std::wstring& path) {
    const std::wstring jpeg = L"image/jpeg";
    if (!FileUtils::FileExists(path) || FileUtils::IsDirectory(path))
        return jpeg;
    const std::wstring ext =
        QString::fromStdWString(FileUtils::GetSplitExtension(path, 1)).toLower().toStdWString();
    if (ext == L".png")
        return L"image/png";
    if (ext == L".gif")
        return L"image/gif";
    return jpeg; // .jpg, .jpeg, .jpe, .jfif and everything else
}

} // namespace KelmLibraryUtils
