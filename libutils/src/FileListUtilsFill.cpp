// Filling a whole FILELISTITEM with one query of the item and at most one
// reader of its contents.
//
// Every item costs one ReadItemInfo (times, attributes and size together)
// and a type name looked up by extension. The contents are read only when
// the item belongs to a reader family, chosen by extension (and, for
// shortcuts, by the link attribute) without opening the file; the family's
// reader then checks the file's signature on its one open. A plain file thus
// costs little more than a stat. Choosing by extension means a compound
// document named *.txt shows no Office dates in the list, as reading the
// first bytes of every file would double the cost of plain files.
#include "FileListTypeNames.h"

#include "KelmLibraryUtils/FileListColumns.h"
#include "KelmLibraryUtils/FileListUtils.h"
#include "KelmLibraryUtils/FileUtils.h"
#include "KelmLibraryUtils/ImageUtils.h"
#include "KelmLibraryUtils/PDFUtils.h"
#include "KelmLibraryUtils/PropertyUtils.h"
#include "KelmLibraryUtils/WMediaUtils.h"

#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>

#include <algorithm>
#include <limits>
#include <string_view>

namespace KelmLibraryUtils {
namespace {

// What the family choice knows of an item without opening it.
struct ItemFacts {
    const std::wstring& path;
    std::wstring extension; // lower case (ASCII), with the dot
    std::uint32_t attributes;
    const ClassId& officeClassId;
};

constexpr std::wstring_view kPhotoExtensions[] = {
    L".jpg", L".jpeg", L".jpe", L".jfif", L".tif", L".tiff", L".png", L".gif", L".bmp",
    L".dib", L".webp", L".dng", L".cr2",  L".nef", L".arw",  L".orf", L".rw2", L".pef",
};
constexpr std::wstring_view kMediaExtensions[] = {
    L".wma", L".wmv", L".asf", L".mp3", L".mp2", L".flac", L".ogg", L".oga", L".opus", L".spx",
    L".m4a", L".m4b", L".m4v", L".mp4", L".3gp", L".3g2",  L".wav", L".aif", L".aiff", L".aifc",
};
// The extensions of the Office class-id table; others reach the Office
// reader when the caller's table gives their extension a class id.
constexpr std::wstring_view kOfficeExtensions[] = {
    L".doc",  L".dot",  L".xls",  L".xlt",  L".ppt",  L".pot",  L".docx",
    L".docm", L".dotx", L".dotm", L".xlsx", L".xlsm", L".xlsb", L".xltx",
    L".xltm", L".pptx", L".pptm", L".potx", L".potm",
};

template <std::size_t N>
bool IsOneOf(const std::wstring& extension, const std::wstring_view (&list)[N]) {
    return std::find(std::begin(list), std::end(list), extension) != std::end(list);
}

std::wstring LowerAscii(std::wstring text) {
    for (auto& c : text) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

std::int64_t AsSigned(std::uint64_t n) {
    return static_cast<std::int64_t>(
        std::min<std::uint64_t>(n, std::numeric_limits<std::int64_t>::max()));
}

void FillPhoto(const ItemFacts& facts, const FILLOPTIONS& options, FILELISTITEM& item) {
    EXIFITEM exif;
    if (!ImageUtils::ReadExifItem(facts.path, exif))
        return;
    auto& t = item.Texts;
    t[ColumnExifTaken] = FileListUtils::GetExifDateTimeText(exif.DateTimeOriginal);
    t[ColumnImageSize] = FileListUtils::GetImageSizeText(exif.Width, exif.Height);
    t[ColumnExifDigitized] = FileListUtils::GetExifDateTimeText(exif.DateTimeDigitized);
    t[ColumnExifModified] = FileListUtils::GetExifDateTimeText(exif.DateTime);
    item.ImageWidth = exif.Width;
    item.ImageHeight = static_cast<std::uint32_t>(std::max(exif.Height, 0));
    t[ColumnMaker] = FileListUtils::GetTrimmedTagText(exif.EquipMake);
    t[ColumnModel] = FileListUtils::GetTrimmedTagText(exif.EquipModel);
    t[ColumnExifVersion] = FileListUtils::GetTrimmedTagText(exif.ExifVersion);
    t[ColumnSoftware] = FileListUtils::GetTrimmedTagText(exif.Software);
    t[ColumnExposureProgram] =
        FileListUtils::GetExposureProgText(exif.ExposureProgram, options.ExposureNames);
    t[ColumnXResolution] = FileListUtils::GetResolutionText(exif.XResolution);
    item.HorizontalResolution = exif.XResolution;
    t[ColumnYResolution] = FileListUtils::GetResolutionText(exif.YResolution);
    item.VerticalResolution = exif.YResolution;
}

void FillMedia(const ItemFacts& facts, const FILLOPTIONS& options, FILELISTITEM& item) {
    MEDIAITEM media;
    if (!WMediaUtils::ReadMediaItem(facts.path, media))
        return;
    for (std::size_t i = 0; i < media.Values.size(); ++i)
        item.Texts[ColumnTitle + i] = media.Values[i];
    item.Texts[ColumnRating] = FileListUtils::GetWMFSharedUserRatingText(
        media.Values[ColumnRating - ColumnTitle], options.RatingFormat, options.RatingUnset);
    item.Texts[ColumnBitrate] = FileListUtils::GetWMFBitrateText(AsSigned(media.Bitrate));
    item.Texts[ColumnDuration] = FileListUtils::GetWMFDurationText(AsSigned(media.Duration));
    item.TrackNumber = media.TrackNumber;
    item.Bitrate = media.Bitrate;
    item.Duration = media.Duration;
}

void FillOffice(const ItemFacts& facts, const FILLOPTIONS&, FILELISTITEM& item) {
    OFFICEDATESITEM dates;
    if (!PropertyUtils::ReadOfficeDates(facts.path, facts.officeClassId, dates))
        return;
    item.Texts[ColumnContentCreated] = FileListUtils::GetOfficeDateText(dates.Created);
    item.Texts[ColumnLastSaved] = FileListUtils::GetOfficeDateText(dates.LastSaved);
    item.Texts[ColumnLastPrinted] = FileListUtils::GetOfficeDateText(dates.LastPrinted);
}

void FillPdf(const ItemFacts& facts, const FILLOPTIONS&, FILELISTITEM& item) {
    std::wstring created, modified;
    if (!PDFUtils::ReadPDFDates(facts.path, created, modified))
        return;
    item.Texts[ColumnPDFCreated] = FileListUtils::GetPDFDateText(created);
    item.Texts[ColumnPDFModified] = FileListUtils::GetPDFDateText(modified);
}

void FillShortcut(const ItemFacts& facts, const FILLOPTIONS&, FILELISTITEM& item) {
    item.Texts[ColumnTarget] = FileUtils::GetTargetPath(facts.path);
}

// One row per reader family: which items it reads and what it fills. The
// first row whose test passes reads the item; the others never open it.
struct ReaderFamily {
    const char* name;
    bool (*canRead)(const ItemFacts& facts);
    void (*fill)(const ItemFacts& facts, const FILLOPTIONS& options, FILELISTITEM& item);
};

const ReaderFamily kFamilies[] = {
    {"shortcut",
     [](const ItemFacts& f) {
         return (f.attributes & KelmPlatform::kReparsePoint) != 0 || f.extension == L".lnk";
     },
     FillShortcut},
    {"photo", [](const ItemFacts& f) { return IsOneOf(f.extension, kPhotoExtensions); }, FillPhoto},
    {"media", [](const ItemFacts& f) { return IsOneOf(f.extension, kMediaExtensions); }, FillMedia},
    {"pdf", [](const ItemFacts& f) { return f.extension == L".pdf"; }, FillPdf},
    {"office",
     [](const ItemFacts& f) {
         return !f.officeClassId.IsNull() || IsOneOf(f.extension, kOfficeExtensions);
     },
     FillOffice},
};

const ReaderFamily* FamilyOf(const ItemFacts& facts) {
    if (facts.attributes & KelmPlatform::kDirectory)
        return nullptr;
    for (const auto& family : kFamilies) {
        if (family.canRead(facts))
            return &family;
    }
    return nullptr;
}

void FillSize(const std::wstring& path, const KelmPlatform::ItemInfo& info,
              const FILLOPTIONS& options, FILELISTITEM& item) {
    std::int64_t size = AsSigned(info.size);
    if (info.attributes & KelmPlatform::kDirectory) {
        if (!options.FoldersSize)
            return;
        size = FileUtils::GetFileSize(path);
        if (size < 0)
            return;
    }
    item.Size = static_cast<std::uint64_t>(size);
    item.Texts[ColumnSize] = FileUtils::GetFileSize(size, options.SizeUnit);
}

} // namespace

int FileListUtils::FillFileListItem(const std::wstring& path, const FILLOPTIONS& options,
                                    const ClassId& officeClassId, FILELISTITEM& item) {
    item = FILELISTITEM();
    item.Path = path;
    auto& t = item.Texts;
    const std::wstring folderPart = FileUtils::GetSplitDirPath(path);
    t[ColumnName] = path.substr(folderPart.size());
    t[ColumnFolder] = FileUtils::GetPathRemoveBackslash(folderPart);
    t[ColumnExtension] = FileUtils::GetSplitExtension(t[ColumnName], 1);
    t[ColumnRating] = options.RatingUnset;

    KelmPlatform::ItemInfo info;
    if (!KelmPlatform::ReadItemInfo(path, info))
        return 0;
    const bool folder = (info.attributes & KelmPlatform::kDirectory) != 0;
    FillSize(path, info, options, item);
    t[ColumnType] = FileListTypeNames::Of(path, t[ColumnName], folder, options.FallbackWord);
    t[ColumnModified] = GetFileTimeText(info.times.modified);
    t[ColumnCreated] = GetFileTimeText(info.times.created);
    t[ColumnAccessed] = GetFileTimeText(info.times.accessed);
    t[ColumnAttributes] = GetAttributesText(info.attributes);

    const ItemFacts facts{path, LowerAscii(t[ColumnExtension]), info.attributes, officeClassId};
    if (const ReaderFamily* family = FamilyOf(facts))
        family->fill(facts, options, item);
    return 1;
}

} // namespace KelmLibraryUtils
