#pragma once
// The catalogue of the list's 47 detail columns: each column's number, the
// string id of its header text (10001 + number) and how its rows sort. The
// view, the header menu, sorting and the column settings all read this one
// table; a column is found by its header text, never by a fixed position.
#include <array>
#include <string>

namespace KelmLibraryUtils {

enum FileListColumn : int {
    ColumnName = 0,
    ColumnFolder = 1,
    ColumnSize = 2,
    ColumnType = 3,
    ColumnModified = 4,
    ColumnCreated = 5,
    ColumnAccessed = 6,
    ColumnAttributes = 7,
    ColumnExifTaken = 8,
    ColumnImageSize = 9,
    ColumnExifDigitized = 10,
    ColumnExifModified = 11,
    ColumnContentCreated = 12,
    ColumnLastSaved = 13,
    ColumnLastPrinted = 14,
    ColumnTarget = 15,
    ColumnMaker = 16,
    ColumnModel = 17,
    ColumnExifVersion = 18,
    ColumnSoftware = 19,
    ColumnExposureProgram = 20,
    ColumnXResolution = 21,
    ColumnYResolution = 22,
    ColumnExtension = 23,
    // The media columns 24..44 follow MEDIAITEM::AttributeNames.
    ColumnTitle = 24,
    ColumnArtist = 25,
    ColumnComment = 26,
    ColumnRating = 27,
    ColumnCopyright = 28,
    ColumnAlbum = 29,
    ColumnTrackNumber = 30,
    ColumnGenre = 31,
    ColumnYear = 32,
    ColumnAlbumArtist = 33,
    ColumnComposer = 34,
    ColumnWriter = 35,
    ColumnConductor = 36,
    ColumnProducer = 37,
    ColumnDirector = 38,
    ColumnSubTitle = 39,
    ColumnPublisher = 40,
    ColumnCategory = 41,
    ColumnMood = 42,
    ColumnBitrate = 43,
    ColumnDuration = 44,
    ColumnPDFCreated = 45,
    ColumnPDFModified = 46,
    ColumnCount = 47,
};

// How a column's rows compare.
enum class ColumnSort {
    Name,         // file names
    PathThenName, // folders by path, then name
    Text,         // display texts
    Date,         // display date-times
    Size,         // FILELISTITEM::Size
    ImageSize,    // ImageWidth, then ImageHeight
    XResolution,  // HorizontalResolution
    YResolution,  // VerticalResolution
    TrackNumber,  // TrackNumber
    Bitrate,      // Bitrate
    Duration,     // Duration
};

struct FileListColumnInfo {
    int Column;
    unsigned StringId;
    ColumnSort FileSort;
    ColumnSort FolderSort;
};

class FileListColumns {
public:
    static constexpr unsigned kFirstStringId = 10001;

    // Row n describes column n.
    static const std::array<FileListColumnInfo, ColumnCount>& Catalogue();

    // The header text of a column, empty for a number out of range.
    static std::wstring GetHeaderText(int column);
    // The column whose header text equals `text` ignoring case; -1 when none.
    static int FindColumn(const std::wstring& text);
};

} // namespace KelmLibraryUtils
