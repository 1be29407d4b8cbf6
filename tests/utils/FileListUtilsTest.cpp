#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmLibraryUtils/FileListColumns.h>
#include <KelmLibraryUtils/FileListUtils.h>
#include <KelmLibraryUtils/FileUtils.h>
#include <KelmLibraryUtils/ImageUtils.h>
#include <KelmLibraryUtils/StringUtils.h>
#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include "CompoundFileBuilder.h"
#include "MediaFixtures.h"
#include "PhotoFixtures.h"
#include "TempDir.h"

#include <QLocale>
#include <QMimeDatabase>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace KelmLibraryUtils;

namespace {

std::wstring Display(int year, int month, int day, int hour, int minute, int second) {
    return DateTimeUtils::GetFormatedDateTime(
        DateTimeUtils::MakeDateTime(year, month, day, hour, minute, second));
}

const std::set<int> kMediaColumns = [] {
    std::set<int> columns;
    for (int n = ColumnTitle; n <= ColumnDuration; ++n)
        columns.insert(n);
    return columns;
}();

// The columns every existing item fills, whatever its kind.
const std::set<int> kItemColumns = {ColumnName,     ColumnFolder,    ColumnSize,
                                    ColumnType,     ColumnModified,  ColumnCreated,
                                    ColumnAccessed, ColumnAttributes};

// Every column outside `filled` is empty, except the rating's unset text.
void ExpectOnlyFilled(const FILELISTITEM& item, std::set<int> filled) {
    for (int n = 0; n < ColumnCount; ++n) {
        const std::wstring& text = item.Texts[static_cast<std::size_t>(n)];
        if (filled.count(n))
            EXPECT_FALSE(text.empty()) << "column " << n;
        else if (n == ColumnRating && !filled.count(n))
            EXPECT_TRUE(text == L"未指定" || !text.empty()) << "column " << n;
        else
            EXPECT_TRUE(text.empty()) << "column " << n << ": " << KelmPlatform::ToNative(text);
    }
}

} // namespace

TEST(TheColumnCatalogue, numbersItsRowsAndHeaderTextsLikeTheStringTable) {
    const auto& catalogue = FileListColumns::Catalogue();
    for (int n = 0; n < ColumnCount; ++n) {
        const auto& row = catalogue[static_cast<std::size_t>(n)];
        EXPECT_EQ(row.Column, n);
        EXPECT_EQ(row.StringId, 10001u + static_cast<unsigned>(n));
        const std::wstring header = FileListColumns::GetHeaderText(n);
        ASSERT_FALSE(header.empty()) << n;
        EXPECT_EQ(FileListColumns::FindColumn(header), n);
    }
    EXPECT_EQ(FileListColumns::GetHeaderText(ColumnName), L"名前");
    EXPECT_EQ(FileListColumns::GetHeaderText(ColumnImageSize), L"大きさ");
    EXPECT_EQ(FileListColumns::GetHeaderText(ColumnTarget), L"リンク先");
    EXPECT_EQ(FileListColumns::GetHeaderText(ColumnTitle), L"タイトル");
    EXPECT_EQ(FileListColumns::GetHeaderText(ColumnRating), L"評価");
    EXPECT_EQ(FileListColumns::GetHeaderText(ColumnMood), L"雰囲気");
    EXPECT_EQ(FileListColumns::GetHeaderText(ColumnBitrate), L"ビット レート");
    EXPECT_EQ(FileListColumns::GetHeaderText(ColumnPDFModified), L"PDF 更新日時");
    EXPECT_EQ(FileListColumns::FindColumn(L"exif バージョン"), ColumnExifVersion);
    EXPECT_EQ(FileListColumns::FindColumn(L"no such column"), -1);
    EXPECT_EQ(FileListColumns::GetHeaderText(ColumnCount), L"");
    EXPECT_EQ(catalogue[ColumnName].FolderSort, ColumnSort::PathThenName);
    EXPECT_EQ(catalogue[ColumnImageSize].FileSort, ColumnSort::ImageSize);
    EXPECT_EQ(catalogue[ColumnDuration].FileSort, ColumnSort::Duration);
    EXPECT_EQ(catalogue[ColumnPDFCreated].FolderSort, ColumnSort::Text);
}

TEST(TheMediaTexts, followTheRatingBitRateAndDurationRules) {
    const struct {
        std::wstring rating, expected;
    } ratings[] = {{L"", L"未指定"},   {L"50", L"3 つ星"}, {L"0", L"0 つ星"},  {L"1", L"1 つ星"},
                   {L"25", L"2 つ星"}, {L"75", L"4 つ星"}, {L"99", L"5 つ星"}, {L"42", L"42 つ星"}};
    for (const auto& r : ratings)
        EXPECT_EQ(FileListUtils::GetWMFSharedUserRatingText(r.rating, L"%d つ星", L"未指定"),
                  r.expected);
    // A format is filled, never handed to printf.
    EXPECT_EQ(FileListUtils::GetWMFSharedUserRatingText(L"50", L"%s%d%% %d", L""), L"%s3% %d");

    EXPECT_EQ(FileListUtils::GetWMFBitrateText(128000), L"128kbps");
    EXPECT_EQ(FileListUtils::GetWMFBitrateText(999), L"0kbps");
    EXPECT_EQ(FileListUtils::GetWMFBitrateText(0), L"");
    EXPECT_EQ(FileListUtils::GetWMFBitrateText(-1), L"");

    EXPECT_EQ(FileListUtils::GetWMFDurationText(36'610'000'000), L"01:01:01");
    EXPECT_EQ(FileListUtils::GetWMFDurationText(25LL * 3600 * 10'000'000), L"01:00:00");
    EXPECT_EQ(FileListUtils::GetWMFDurationText(9'999'999), L"00:00:00");
    EXPECT_EQ(FileListUtils::GetWMFDurationText(0), L"");
    EXPECT_EQ(FileListUtils::GetWMFDurationText(-10'000'000), L"");
}

TEST(ThePhotoTexts, followTheSizeResolutionTagAndExposureRules) {
    EXPECT_EQ(FileListUtils::GetImageSizeText(640, 480), L"640 x 480");
    EXPECT_EQ(FileListUtils::GetImageSizeText(0, 480), L"");
    EXPECT_EQ(FileListUtils::GetImageSizeText(640, 0), L"");
    EXPECT_EQ(FileListUtils::GetResolutionText(72), L"72 dpi");
    EXPECT_EQ(FileListUtils::GetResolutionText(0), L"");
    EXPECT_EQ(FileListUtils::GetResolutionText(-72), L"");
    EXPECT_EQ(FileListUtils::GetTrimmedTagText(L"Kelm Camera \t\r\n"), L"Kelm Camera");
    EXPECT_EQ(FileListUtils::GetTrimmedTagText(L"  "), L"");

    const auto names = FileListUtils::GetExposureProgNames();
    ASSERT_EQ(names.size(), 9u);
    EXPECT_EQ(FileListUtils::GetExposureProgText(L"0", names), L"未定義");
    EXPECT_EQ(FileListUtils::GetExposureProgText(L"2", names), L"標準");
    EXPECT_EQ(FileListUtils::GetExposureProgText(L"8", names), L"横長");
    EXPECT_EQ(FileListUtils::GetExposureProgText(L"9", names), L"");
    EXPECT_EQ(FileListUtils::GetExposureProgText(L"-1", names), L"");
    EXPECT_EQ(FileListUtils::GetExposureProgText(L"", names), L"");
    const std::vector<EXPOSUREPROGITEM> shifted = {{1, L"a"}, {2, L"b"}};
    EXPECT_EQ(FileListUtils::GetExposureProgText(L"1", shifted), L"");
}

TEST(TheDateTexts, areInDisplayFormOnlyWhenTheyReadBackAsDates) {
    const std::wstring shown = Display(2020, 1, 2, 3, 4, 5);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(FileListUtils::GetExifDateTimeText(L"2020:01:02 03:04:05"), shown);
    EXPECT_EQ(FileListUtils::GetExifDateTimeText(L""), L"");
    EXPECT_EQ(FileListUtils::GetExifDateTimeText(L"2020:02:30 00:00:00"), L"");
    EXPECT_EQ(FileListUtils::GetExifDateTimeText(L"    :  :     :  :  "), L"");
    EXPECT_EQ(FileListUtils::GetPDFDateText(L"20200102030405"), shown);
    EXPECT_EQ(FileListUtils::GetPDFDateText(L"2020"), L"");
    EXPECT_EQ(FileListUtils::GetPDFDateText(L""), L"");
    EXPECT_EQ(FileListUtils::GetOfficeDateText(L"2024/03/01 09:05:00"), L"2024/03/01 09:05:00");
    EXPECT_EQ(FileListUtils::GetOfficeDateText(L"not a date"), L"");
    EXPECT_EQ(FileListUtils::GetFileTimeText(0), L"");
}

TEST(TheFileTimeTexts, equalTheDisplayFormOfDateTimeUtils) {
    using KelmPlatform::FileTime;
    const FileTime second = KelmPlatform::kTicksPerSecond;
    const FileTime midnight1900 = DateTimeUtils::LocalComponentsToFileTime(1899, 12, 30, 0, 0, 0);
    const FileTime times[] = {
        1,
        midnight1900,
        midnight1900 + second,
        midnight1900 + second - 1,
        DateTimeUtils::LocalComponentsToFileTime(1970, 1, 1, 0, 0, 0),
        DateTimeUtils::LocalComponentsToFileTime(2024, 3, 31, 2, 30, 0) + 1234567,
        DateTimeUtils::LocalComponentsToFileTime(2024, 10, 27, 2, 30, 59),
        DateTimeUtils::LocalComponentsToFileTime(2024, 12, 31, 23, 59, 59) + second - 1,
        DateTimeUtils::LocalComponentsToFileTime(9999, 12, 31, 23, 59, 59),
        DateTimeUtils::LocalComponentsToFileTime(9999, 12, 31, 23, 59, 59) + second,
        ~FileTime{0},
    };
    for (const char* zone : {"Europe/Berlin", "Asia/Tokyo", "America/St_Johns"}) {
        setenv("TZ", zone, 1);
        for (const FileTime ft : times)
            EXPECT_EQ(FileListUtils::GetFileTimeText(ft), DateTimeUtils::GetFormatedDateTime(ft))
                << zone << " " << ft;
    }
    setenv("TZ", "Europe/Berlin", 1);
    EXPECT_EQ(FileListUtils::GetFileTimeText(0), L"");
}

TEST(TheNameFilter, comparesExtensionsOnly) {
    const struct {
        const wchar_t* path;
        const wchar_t* filter;
        int expected;
    } cases[] = {
        {L"/p/photo.jpg", L"*.JPG;*.png", 1},
        {L"/p/a.PNG", L"*.JPG;*.png", 1},
        {L"/p/photos", L"*.JPG;*.png", 0},
        {L"/p/a.gif", L"*.JPG;*.png", 0},
        {L"/p/photos", L"*.*", 1},
        {L"/p/a.txt", L"*.*", 1},
        {L"/p/a.txt", L";;*.*;", 1},
        {L"/p/a.txt", L"", 0},
        {L"/p/a.txt", L";;", 0},
        {L"/p/b.jpg", L"a.jpg", 1},
        {L"/p/b.JPG", L".jpg", 1},
        {L"/p/photos", L"*", 1},
        {L"/p/a.txt", L"*", 0},
        {L"/p/b.jpg", L" *.jpg", 1},
        {L"/p/b.jpg", L"*.jpg ", 0},
        {L"/p/ÄRGER.ÜBER", L"*.über", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileListUtils::IsFilterMatch(c.path, c.filter), c.expected)
            << KelmPlatform::ToNative(c.path) << " / " << KelmPlatform::ToNative(c.filter);
}

class FileListItems : public testing::Test {
protected:
    kelmtest::TempDir dir{"filelist"};
    FILLOPTIONS options;

    void SetUp() override { options.ExposureNames = FileListUtils::GetExposureProgNames(); }

    FILELISTITEM Fill(const std::wstring& path, int expected = 1,
                      const ClassId& classId = ClassId{}) {
        FILELISTITEM item;
        item.Texts[ColumnTitle] = L"stale";
        EXPECT_EQ(FileListUtils::FillFileListItem(path, options, classId, item), expected);
        EXPECT_EQ(item.Path, path);
        return item;
    }
};

TEST_F(FileListItems, nameTypesByExtensionWithTheFallbackForUnknownOnes) {
    EXPECT_EQ(FileListUtils::GetTypeName(dir.MakeFile("x.abc"), L"ファイル"), L"ABC ファイル");
    EXPECT_EQ(FileListUtils::GetTypeName(dir.MakeFile("noextension"), L"ファイル"), L"ファイル");
    EXPECT_EQ(FileListUtils::GetTypeName(dir.Child(L"missing.txt"), L"ファイル"), L"");
    const QMimeDatabase mime;
    const std::wstring text = FileListUtils::GetTypeName(dir.MakeFile("a.txt"), L"ファイル");
    EXPECT_EQ(text, mime.mimeTypeForName("text/plain").comment().trimmed().toStdWString());
    const std::wstring jpeg = FileListUtils::GetTypeName(dir.MakeFile("b.JPG"), L"ファイル");
    EXPECT_EQ(jpeg, mime.mimeTypeForName("image/jpeg").comment().trimmed().toStdWString());
    EXPECT_EQ(
        FileListUtils::GetTypeName(dir.MakeFile("c.tar.gz"), L"ファイル"),
        mime.mimeTypeForName("application/x-compressed-tar").comment().trimmed().toStdWString());
    const std::wstring folder = FileListUtils::GetTypeName(dir.MakeFolder("sub.d"), L"ファイル");
    EXPECT_EQ(folder, mime.mimeTypeForName("inode/directory").comment().toStdWString());
    if (QLocale().language() == QLocale::Japanese) {
        EXPECT_EQ(folder, L"フォルダー");
        EXPECT_EQ(jpeg, L"JPEG 画像");
        EXPECT_EQ(text, L"平文テキストドキュメント");
    }
}

TEST_F(FileListItems, ofPlainFilesHaveNoDetailsButTheUnsetRating) {
    const std::wstring path = dir.MakeFile("notes.txt", std::string(1500, 'n'));
    ASSERT_NE(KelmPlatform::WriteItemAttributes(
                  path, KelmPlatform::kReadOnly | KelmPlatform::kHidden | KelmPlatform::kArchive),
              0);
    options.SizeUnit = FileUtils::Bytes;
    const FILELISTITEM item = Fill(path);
    EXPECT_EQ(item.Texts[ColumnName], L"notes.txt");
    EXPECT_EQ(item.Texts[ColumnFolder], dir.Path());
    EXPECT_EQ(item.Size, 1500u);
    EXPECT_EQ(item.Texts[ColumnSize], FileUtils::GetFileSize(1500, FileUtils::Bytes));
    EXPECT_EQ(item.Texts[ColumnType], FileListUtils::GetTypeName(path, L"ファイル"));
    EXPECT_EQ(item.Texts[ColumnModified], FileListUtils::GetLastWriteDateTime(path));
    EXPECT_EQ(item.Texts[ColumnCreated], FileListUtils::GetCreationDateTime(path));
    EXPECT_EQ(item.Texts[ColumnAccessed], FileListUtils::GetLastAccessDateTime(path));
    EXPECT_EQ(item.Texts[ColumnAttributes], L"RHA");
    EXPECT_EQ(item.Texts[ColumnAttributes], FileListUtils::GetAttributes(path));
    EXPECT_EQ(item.Texts[ColumnExtension], L".txt");
    EXPECT_EQ(item.Texts[ColumnRating], L"未指定");
    EXPECT_EQ(FileListUtils::GetWMFSharedUserRating(path, L"%d つ星", L"未指定"), L"未指定");
    auto filled = kItemColumns;
    filled.insert({ColumnExtension, ColumnRating});
    ExpectOnlyFilled(item, filled);
    EXPECT_EQ(item.ImageWidth, 0);
    EXPECT_EQ(item.Duration, 0u);
    KelmPlatform::WriteItemAttributes(path, 0);
}

TEST_F(FileListItems, ofFoldersHaveTheFolderTypeAndASizeOnlyWhenAsked) {
    const std::wstring folder = dir.MakeFolder("photos");
    kelmtest::TempDir unused;
    const std::string inside = dir.NativeChild("photos/a.bin");
    photofixtures::WriteBytes(inside, std::string(300, 'a'));
    FILELISTITEM item = Fill(folder);
    EXPECT_EQ(item.Texts[ColumnType], FileListUtils::GetTypeName(folder, L"ファイル"));
    EXPECT_NE(item.Texts[ColumnAttributes].find(L'D'), std::wstring::npos);
    EXPECT_EQ(item.Texts[ColumnSize], L"");
    EXPECT_EQ(item.Size, 0u);
    EXPECT_EQ(item.Texts[ColumnExtension], L"");
    options.FoldersSize = 1;
    item = Fill(folder);
    EXPECT_EQ(item.Size, 300u);
    EXPECT_EQ(item.Texts[ColumnSize], FileUtils::GetFileSize(300, options.SizeUnit));
}

TEST_F(FileListItems, ofMissingPathsKeepOnlyTheNameParts) {
    const FILELISTITEM item = Fill(dir.Child(L"gone.pdf"), 0);
    ExpectOnlyFilled(item, {ColumnName, ColumnFolder, ColumnExtension, ColumnRating});
}

TEST_F(FileListItems, ofPdfsShowTheirDatesInDisplayForm) {
    const std::wstring path =
        dir.MakeFile("doc.pdf", "%PDF-1.4\n1 0 obj << /CreationDate (D:20200102030405+09'00') "
                                "/ModDate (D:20210304050607Z) >> endobj\n");
    const std::string native = KelmPlatform::ToNative(path);
    const timespec old[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, native.c_str(), old, 0), 0);
    const FILELISTITEM item = Fill(path);
    EXPECT_EQ(item.Texts[ColumnPDFCreated], Display(2020, 1, 2, 3, 4, 5));
    EXPECT_EQ(item.Texts[ColumnPDFModified], Display(2021, 3, 4, 5, 6, 7));
    EXPECT_EQ(FileListUtils::GetPDFCreatedDateTime(path), item.Texts[ColumnPDFCreated]);
    auto filled = kItemColumns;
    filled.insert({ColumnExtension, ColumnRating, ColumnPDFCreated, ColumnPDFModified});
    ExpectOnlyFilled(item, filled);
    struct stat st {};
    ASSERT_EQ(stat(native.c_str(), &st), 0);
    EXPECT_EQ(st.st_atim.tv_sec, 1'000'000'000);
}

TEST_F(FileListItems, ofLinksShowTheirTargets) {
    const std::wstring target = dir.MakeFile("target.txt");
    ASSERT_EQ(symlink(KelmPlatform::ToNative(target).c_str(), dir.NativeChild("link.jpg").c_str()),
              0);
    const FILELISTITEM item = Fill(dir.Child(L"link.jpg"));
    EXPECT_EQ(item.Texts[ColumnTarget], target);
    EXPECT_EQ(item.Texts[ColumnImageSize], L"");
}

TEST_F(FileListItems, ofPhotosShowTheirExif) {
    using namespace photofixtures;
    const std::string tiff = Tiff(
        {Ascii(0x010F, "Kelm  "), Ascii(0x0110, "Model 1"), Rational(0x011A, 72, 1),
         Rational(0x011B, 300, 1), Ascii(0x0131, "Horalux"), Ascii(0x0132, "2019:05:06 07:08:09")},
        {Short(0x8822, 3), Undefined(0x9000, "0230"), Ascii(0x9003, "2020:01:02 03:04:05"),
         Ascii(0x9004, "2021:11:12 13:14:15")});
    WriteBytes(dir.NativeChild("photo.JPG"), WithExif(PlainJpeg(64, 48), tiff));
    const FILELISTITEM item = Fill(dir.Child(L"photo.JPG"));
    EXPECT_EQ(item.Texts[ColumnExifTaken], Display(2020, 1, 2, 3, 4, 5));
    EXPECT_EQ(item.Texts[ColumnExifDigitized], Display(2021, 11, 12, 13, 14, 15));
    EXPECT_EQ(item.Texts[ColumnExifModified], Display(2019, 5, 6, 7, 8, 9));
    EXPECT_EQ(item.Texts[ColumnImageSize], L"64 x 48");
    EXPECT_EQ(item.ImageWidth, 64);
    EXPECT_EQ(item.ImageHeight, 48u);
    EXPECT_EQ(item.Texts[ColumnMaker], L"Kelm");
    EXPECT_EQ(item.Texts[ColumnModel], L"Model 1");
    EXPECT_EQ(item.Texts[ColumnExifVersion], L"0230");
    EXPECT_EQ(item.Texts[ColumnSoftware], L"Horalux");
    EXPECT_EQ(item.Texts[ColumnExposureProgram], L"絞り優先");
    EXPECT_EQ(item.Texts[ColumnXResolution], L"72 dpi");
    EXPECT_EQ(item.Texts[ColumnYResolution], L"300 dpi");
    EXPECT_EQ(item.HorizontalResolution, 72);
    EXPECT_EQ(item.VerticalResolution, 300);
    EXPECT_EQ(item.Texts[ColumnRating], L"未指定");
    EXPECT_EQ(FileListUtils::GetExifDTOrig(dir.Child(L"photo.JPG")), item.Texts[ColumnExifTaken]);
}

TEST_F(FileListItems, ofMediaShowTheirAttributesAndNumbers) {
    using namespace mediafixtures;
    const Bytes tag = Id3Tag(Id3Text("TIT2", L"Song") + Id3Text("TRCK", L"7") +
                             Id3Popularimeter("Windows Media Player 9 Series", 128));
    photofixtures::WriteBytes(dir.NativeChild("song.mp3"), tag + SilentMpegFrames(200));
    const FILELISTITEM item = Fill(dir.Child(L"song.mp3"));
    EXPECT_EQ(item.Texts[ColumnTitle], L"Song");
    EXPECT_EQ(item.Texts[ColumnTrackNumber], L"7");
    EXPECT_EQ(item.TrackNumber, 7u);
    EXPECT_EQ(item.Texts[ColumnRating], L"3 つ星");
    EXPECT_EQ(item.Texts[ColumnBitrate], L"128kbps");
    EXPECT_EQ(item.Bitrate, 128000u);
    EXPECT_GT(item.Duration, 0u);
    EXPECT_EQ(item.Texts[ColumnDuration],
              FileListUtils::GetWMFDurationText(static_cast<std::int64_t>(item.Duration)));
    EXPECT_EQ(item.Texts[ColumnExifTaken], L"");
}

TEST_F(FileListItems, ofOfficeDocumentsShowTheirSummaryDates) {
    // 2024-03-01 08:05:00 UTC, 09:05:00 in Berlin (winter time).
    const std::uint64_t created = DateTimeUtils::LocalComponentsToFileTime(2024, 3, 1, 9, 5, 0);
    const std::string summary = kelmtest::PropertySetBuilder().FileTime(12, created).Build();
    const std::string file =
        kelmtest::CompoundFileBuilder().AddStream(u"\x05SummaryInformation", summary).Build();
    photofixtures::WriteBytes(dir.NativeChild("report.doc"), file);
    const FILELISTITEM item = Fill(dir.Child(L"report.doc"));
    EXPECT_EQ(item.Texts[ColumnContentCreated],
              FileListUtils::GetOfficeDateText(L"2024/03/01 09:05:00"));
    EXPECT_EQ(item.Texts[ColumnLastSaved], L"");
    EXPECT_EQ(FileListUtils::GetContentCreatedDateTime(dir.Child(L"report.doc"), ClassId{}),
              item.Texts[ColumnContentCreated]);
}
