#pragma once
// The display texts of an item's detail columns, one getter per column, the
// one call that fills a whole FILELISTITEM, and the filter bar's name filter.
//
// Getters that take a path read the item themselves (each one opens it
// again); FillFileListItem opens an item at most once per reader family. The
// Get...Text functions hold the display rules over plain values. A value
// that cannot be read gives the empty text; nothing reports an error.
#include "KelmLibraryUtils/ClassId.h"
#include "KelmLibraryUtils/FileListItem.h"

#include <KelmPlatform/FileTime.h>

#include <cstdint>
#include <string>
#include <vector>

namespace KelmLibraryUtils {

// One entry of the exposure program names: the tag value and its text.
struct EXPOSUREPROGITEM {
    int Value = 0;
    std::wstring Text;
};

// What the list passes to FillFileListItem.
struct FILLOPTIONS {
    int FoldersSize = 0; // nonzero: a folder's size is the sum of its contents
    int SizeUnit = 0;    // FileUtils::SizeUnit of the size text
    std::wstring FallbackWord = L"ファイル";
    std::wstring RatingFormat = L"%d つ星";
    std::wstring RatingUnset = L"未指定";
    std::vector<EXPOSUREPROGITEM> ExposureNames; // index = value
};

class FileListUtils {
public:
    // Fills every text and number of `item` for `path`. `officeClassId` is
    // the Office class id of the path's extension (null when none). Returns
    // 0 when the item cannot be queried; the record is complete either way.
    static int FillFileListItem(const std::wstring& path, const FILLOPTIONS& options,
                                const ClassId& officeClassId, FILELISTITEM& item);

    // The exposure program names of the string table (10331..10339).
    static std::vector<EXPOSUREPROGITEM> GetExposureProgNames();

    // Column getters.
    static std::wstring GetTypeName(const std::wstring& path, const std::wstring& fallback);
    static std::wstring GetLastWriteDateTime(const std::wstring& path);
    static std::wstring GetCreationDateTime(const std::wstring& path);
    static std::wstring GetLastAccessDateTime(const std::wstring& path);
    // The item's attribute letters ("RHA", "D", ...); empty when it has none
    // of them or cannot be queried.
    static std::wstring GetAttributes(const std::wstring& path);
    static std::wstring GetExifDTOrig(const std::wstring& path);
    static std::wstring GetExifDTDigitized(const std::wstring& path);
    static std::wstring GetExifDateTime(const std::wstring& path);
    static std::wstring GetImageSize(const std::wstring& path);
    static std::wstring GetEquipMaker(const std::wstring& path);
    static std::wstring GetEquipModel(const std::wstring& path);
    static std::wstring GetExifVer(const std::wstring& path);
    static std::wstring GetSoftwareUsed(const std::wstring& path);
    static std::wstring GetExifExposureProg(const std::wstring& path,
                                            const std::vector<EXPOSUREPROGITEM>& names);
    static std::wstring GetXResolution(const std::wstring& path);
    static std::wstring GetYResolution(const std::wstring& path);
    static std::wstring GetExtension(const std::wstring& path);
    static std::wstring GetTargetPath(const std::wstring& path);
    static std::wstring GetWMFTitle(const std::wstring& path);
    static std::wstring GetWMFAuthor(const std::wstring& path);
    static std::wstring GetWMFDescription(const std::wstring& path);
    static std::wstring GetWMFSharedUserRating(const std::wstring& path, const std::wstring& format,
                                               const std::wstring& unset);
    static std::wstring GetWMFCopyright(const std::wstring& path);
    static std::wstring GetWMFAlbumTitle(const std::wstring& path);
    static std::wstring GetWMFTrackNumber(const std::wstring& path);
    static std::wstring GetWMFGenre(const std::wstring& path);
    static std::wstring GetWMFYear(const std::wstring& path);
    static std::wstring GetWMFAlbumArtist(const std::wstring& path);
    static std::wstring GetWMFComposer(const std::wstring& path);
    static std::wstring GetWMFWriter(const std::wstring& path);
    static std::wstring GetWMFConductor(const std::wstring& path);
    static std::wstring GetWMFProducer(const std::wstring& path);
    static std::wstring GetWMFDirector(const std::wstring& path);
    static std::wstring GetWMFSubTitle(const std::wstring& path);
    static std::wstring GetWMFPublisher(const std::wstring& path);
    static std::wstring GetWMFCategory(const std::wstring& path);
    static std::wstring GetWMFMood(const std::wstring& path);
    static std::wstring GetWMFBitrate(const std::wstring& path);
    static std::wstring GetWMFDuration(const std::wstring& path);
    static std::wstring GetContentCreatedDateTime(const std::wstring& path, const ClassId& classId);
    static std::wstring GetLastSavedDateTime(const std::wstring& path, const ClassId& classId);
    static std::wstring GetLastPrintedDateTime(const std::wstring& path, const ClassId& classId);
    static std::wstring GetPDFCreatedDateTime(const std::wstring& path);
    static std::wstring GetPDFModifiedDateTime(const std::wstring& path);

    // The name filter: nonzero when one of the ";"-separated patterns of
    // `filter` is "*.*" or has the path's extension (ignoring case).
    static int IsFilterMatch(const std::wstring& path, const std::wstring& filter);

    // Display rules over values.
    static std::wstring GetAttributesText(std::uint32_t attributes);
    static std::wstring GetFileTimeText(KelmPlatform::FileTime utc);
    static std::wstring GetExifDateTimeText(const std::wstring& tagText);
    static std::wstring GetImageSizeText(int width, int height);
    static std::wstring GetTrimmedTagText(const std::wstring& tagText);
    static std::wstring GetExposureProgText(const std::wstring& tagText,
                                            const std::vector<EXPOSUREPROGITEM>& names);
    static std::wstring GetResolutionText(int dotsPerInch);
    static std::wstring GetWMFSharedUserRatingText(const std::wstring& ratingText,
                                                   const std::wstring& format,
                                                   const std::wstring& unset);
    static std::wstring GetWMFBitrateText(std::int64_t bitsPerSecond);
    static std::wstring GetWMFDurationText(std::int64_t units);
    static std::wstring GetOfficeDateText(const std::wstring& text);
    static std::wstring GetPDFDateText(const std::wstring& pdfDate);
};

} // namespace KelmLibraryUtils
