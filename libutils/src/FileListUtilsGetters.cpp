// The column getters that take a path. Each reads the item on its own; the
// list fills whole records with FillFileListItem instead.
#include "KelmLibraryUtils/FileListColumns.h"
#include "KelmLibraryUtils/FileListUtils.h"
#include "KelmLibraryUtils/FileUtils.h"
#include "KelmLibraryUtils/ImageUtils.h"
#include "KelmLibraryUtils/PDFUtils.h"
#include "KelmLibraryUtils/PropertyUtils.h"
#include "KelmLibraryUtils/StringUtils.h"
#include "KelmLibraryUtils/WMediaUtils.h"

#include <KelmPlatform/FileSystemItem.h>

namespace KelmLibraryUtils {
namespace {

constexpr unsigned kFirstExposureNameId = 10331;
constexpr int kExposureNameCount = 9;

EXIFITEM Exif(const std::wstring& path) {
    EXIFITEM item;
    ImageUtils::ReadExifItem(path, item);
    return item;
}

MEDIAITEM Media(const std::wstring& path) {
    MEDIAITEM item;
    WMediaUtils::ReadMediaItem(path, item);
    return item;
}

// The attribute text of a media column.
std::wstring MediaText(const std::wstring& path, FileListColumn column) {
    return Media(path).Values[static_cast<std::size_t>(column - ColumnTitle)];
}

OFFICEDATESITEM OfficeDates(const std::wstring& path, const ClassId& classId) {
    OFFICEDATESITEM item;
    PropertyUtils::ReadOfficeDates(path, classId, item);
    return item;
}

KelmPlatform::ItemTimes Times(const std::wstring& path) {
    KelmPlatform::ItemTimes times;
    KelmPlatform::ReadItemTimes(path, times);
    return times;
}

} // namespace

std::vector<EXPOSUREPROGITEM> FileListUtils::GetExposureProgNames() {
    std::vector<EXPOSUREPROGITEM> names;
    for (int value = 0; value < kExposureNameCount; ++value)
        names.push_back({value, StringUtils::GetLoadString(kFirstExposureNameId +
                                                           static_cast<unsigned>(value))});
    return names;
}

std::wstring FileListUtils::GetLastWriteDateTime(const std::wstring& path) {
    return GetFileTimeText(Times(path).modified);
}
std::wstring FileListUtils::GetCreationDateTime(const std::wstring& path) {
    return GetFileTimeText(Times(path).created);
}
std::wstring FileListUtils::GetLastAccessDateTime(const std::wstring& path) {
    return GetFileTimeText(Times(path).accessed);
}

std::wstring FileListUtils::GetExifDTOrig(const std::wstring& path) {
    return GetExifDateTimeText(Exif(path).DateTimeOriginal);
}
std::wstring FileListUtils::GetExifDTDigitized(const std::wstring& path) {
    return GetExifDateTimeText(Exif(path).DateTimeDigitized);
}
std::wstring FileListUtils::GetExifDateTime(const std::wstring& path) {
    return GetExifDateTimeText(Exif(path).DateTime);
}
std::wstring FileListUtils::GetImageSize(const std::wstring& path) {
    const EXIFITEM item = Exif(path);
    return GetImageSizeText(item.Width, item.Height);
}
std::wstring FileListUtils::GetEquipMaker(const std::wstring& path) {
    return GetTrimmedTagText(Exif(path).EquipMake);
}
std::wstring FileListUtils::GetEquipModel(const std::wstring& path) {
    return GetTrimmedTagText(Exif(path).EquipModel);
}
std::wstring FileListUtils::GetExifVer(const std::wstring& path) {
    return GetTrimmedTagText(Exif(path).ExifVersion);
}
std::wstring FileListUtils::GetSoftwareUsed(const std::wstring& path) {
    return GetTrimmedTagText(Exif(path).Software);
}
std::wstring FileListUtils::GetExifExposureProg(const std::wstring& path,
                                                const std::vector<EXPOSUREPROGITEM>& names) {
    return GetExposureProgText(Exif(path).ExposureProgram, names);
}
std::wstring FileListUtils::GetXResolution(const std::wstring& path) {
    return GetResolutionText(Exif(path).XResolution);
}
std::wstring FileListUtils::GetYResolution(const std::wstring& path) {
    return GetResolutionText(Exif(path).YResolution);
}

std::wstring FileListUtils::GetExtension(const std::wstring& path) {
    return FileUtils::GetSplitExtension(path, 1);
}
std::wstring FileListUtils::GetTargetPath(const std::wstring& path) {
    return FileUtils::GetTargetPath(path);
}

std::wstring FileListUtils::GetWMFTitle(const std::wstring& path) {
    return MediaText(path, ColumnTitle);
}
std::wstring FileListUtils::GetWMFAuthor(const std::wstring& path) {
    return MediaText(path, ColumnArtist);
}
std::wstring FileListUtils::GetWMFDescription(const std::wstring& path) {
    return MediaText(path, ColumnComment);
}
std::wstring FileListUtils::GetWMFSharedUserRating(const std::wstring& path,
                                                   const std::wstring& format,
                                                   const std::wstring& unset) {
    return GetWMFSharedUserRatingText(MediaText(path, ColumnRating), format, unset);
}
std::wstring FileListUtils::GetWMFCopyright(const std::wstring& path) {
    return MediaText(path, ColumnCopyright);
}
std::wstring FileListUtils::GetWMFAlbumTitle(const std::wstring& path) {
    return MediaText(path, ColumnAlbum);
}
std::wstring FileListUtils::GetWMFTrackNumber(const std::wstring& path) {
    return MediaText(path, ColumnTrackNumber);
}
std::wstring FileListUtils::GetWMFGenre(const std::wstring& path) {
    return MediaText(path, ColumnGenre);
}
std::wstring FileListUtils::GetWMFYear(const std::wstring& path) {
    return MediaText(path, ColumnYear);
}
std::wstring FileListUtils::GetWMFAlbumArtist(const std::wstring& path) {
    return MediaText(path, ColumnAlbumArtist);
}
std::wstring FileListUtils::GetWMFComposer(const std::wstring& path) {
    return MediaText(path, ColumnComposer);
}
std::wstring FileListUtils::GetWMFWriter(const std::wstring& path) {
    return MediaText(path, ColumnWriter);
}
std::wstring FileListUtils::GetWMFConductor(const std::wstring& path) {
    return MediaText(path, ColumnConductor);
}
std::wstring FileListUtils::GetWMFProducer(const std::wstring& path) {
    return MediaText(path, ColumnProducer);
}
std::wstring FileListUtils::GetWMFDirector(const std::wstring& path) {
    return MediaText(path, ColumnDirector);
}
std::wstring FileListUtils::GetWMFSubTitle(const std::wstring& path) {
    return MediaText(path, ColumnSubTitle);
}
std::wstring FileListUtils::GetWMFPublisher(const std::wstring& path) {
    return MediaText(path, ColumnPublisher);
}
std::wstring FileListUtils::GetWMFCategory(const std::wstring& path) {
    return MediaText(path, ColumnCategory);
}
std::wstring FileListUtils::GetWMFMood(const std::wstring& path) {
    return MediaText(path, ColumnMood);
}
std::wstring FileListUtils::GetWMFBitrate(const std::wstring& path) {
    return GetWMFBitrateText(WMediaUtils::GetBitrateValue(path));
}
std::wstring FileListUtils::GetWMFDuration(const std::wstring& path) {
    return GetWMFDurationText(WMediaUtils::GetDurationValue(path));
}

std::wstring FileListUtils::GetContentCreatedDateTime(const std::wstring& path,
                                                      const ClassId& classId) {
    return GetOfficeDateText(OfficeDates(path, classId).Created);
}
std::wstring FileListUtils::GetLastSavedDateTime(const std::wstring& path, const ClassId& classId) {
    return GetOfficeDateText(OfficeDates(path, classId).LastSaved);
}
std::wstring FileListUtils::GetLastPrintedDateTime(const std::wstring& path,
                                                   const ClassId& classId) {
    return GetOfficeDateText(OfficeDates(path, classId).LastPrinted);
}

std::wstring FileListUtils::GetPDFCreatedDateTime(const std::wstring& path) {
    return GetPDFDateText(PDFUtils::GetPDFCreatedDateTime(path));
}
std::wstring FileListUtils::GetPDFModifiedDateTime(const std::wstring& path) {
    return GetPDFDateText(PDFUtils::GetPDFModifiedDateTime(path));
}

} // namespace KelmLibraryUtils
