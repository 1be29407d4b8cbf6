#include <KelmLibraryUtils/ExifItem.h>
#include <KelmLibraryUtils/ImageUtils.h>
#include <KelmPlatform/NativeName.h>

#include "PhotoFixtures.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

using KelmLibraryUtils::EXIFITEM;
using KelmLibraryUtils::ImageUtils;
using namespace photofixtures;

namespace {

// A photo as a camera tags it, with the odd cases of the value rules: a NUL
// inside an ASCII value, a rational whose denominator is not 1, a version
// without terminator, and a text tag stored with a number type.
std::string CameraExif() {
    return Tiff({Ascii(0x010F, std::string("Kelm\0junk", 9)),
                 {0x0110, 4, 1, U32(7)},
                 Short(0x0112, 6),
                 Rational(0x011A, 72, 1),
                 Rational(0x011B, 300, 2),
                 Ascii(0x0131, "Horalux 1.0"),
                 Ascii(0x0132, "2019:05:06 07:08:09"),
                 Short(0x0102, 8)},
                {Short(0x8822, 2), Undefined(0x9000, "0230"), Ascii(0x9003, "2020:01:02 03:04:05"),
                 Ascii(0x9004, "2021:11:12 13:14:15")});
}

class AnImageReader : public ::testing::Test {
protected:
    kelmtest::TempDir dir{"image"};

    std::wstring Make(const std::string& name, const std::string& bytes) {
        WriteBytes(dir.NativeChild(name), bytes);
        return dir.Child(KelmPlatform::FromNative(name));
    }
};

TEST_F(AnImageReader, readsEveryTagByItsValueRule) {
    const std::wstring path = Make("camera.jpg", WithExif(PlainJpeg(64, 48), CameraExif()));
    struct Case {
        const char* name;
        std::function<std::wstring(const std::wstring&)> read;
        std::wstring expected;
    };
    const Case cases[] = {
        {"make", ImageUtils::GetEquipMake, L"Kelm"},
        {"model stored as LONG", ImageUtils::GetEquipModel, L""},
        {"software", ImageUtils::GetSoftwareUsed, L"Horalux 1.0"},
        {"date-time", ImageUtils::GetPropertyTagDateTime, L"2019:05:06 07:08:09"},
        {"taken", ImageUtils::GetPropertyTagExifDTOrig, L"2020:01:02 03:04:05"},
        {"digitized", ImageUtils::GetPropertyTagExifDTDigitized, L"2021:11:12 13:14:15"},
        {"version", ImageUtils::GetExifVer, L"0230"},
        {"exposure program", ImageUtils::GetExifExposureProg, L"2"},
        {"bits per sample", ImageUtils::GetBitsPerSample, L"8"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.read(path), c.expected) << c.name;
    EXPECT_EQ(ImageUtils::GetXResolution(path), 72);
    EXPECT_EQ(ImageUtils::GetYResolution(path), 300); // the numerator only
    EXPECT_EQ(ImageUtils::GetOrientation(path), 6);
    EXPECT_EQ(ImageUtils::GetImageSize(path), (ImageUtils::Size{64, 48}));
}

TEST_F(AnImageReader, fillsTheWholeItemFromOneRead) {
    const std::wstring path = Make("camera.jpg", WithExif(PlainJpeg(64, 48), CameraExif()));
    EXIFITEM item;
    ASSERT_NE(ImageUtils::ReadExifItem(path, item), 0);
    EXPECT_EQ(item.DateTimeOriginal, L"2020:01:02 03:04:05");
    EXPECT_EQ(item.DateTimeDigitized, L"2021:11:12 13:14:15");
    EXPECT_EQ(item.DateTime, L"2019:05:06 07:08:09");
    EXPECT_EQ(item.EquipMake, L"Kelm");
    EXPECT_EQ(item.EquipModel, L"");
    EXPECT_EQ(item.ExifVersion, L"0230");
    EXPECT_EQ(item.Software, L"Horalux 1.0");
    EXPECT_EQ(item.ExposureProgram, L"2");
    EXPECT_EQ(item.XResolution, 72);
    EXPECT_EQ(item.YResolution, 300);
    EXPECT_EQ(item.Width, 64);
    EXPECT_EQ(item.Height, 48);
}

TEST_F(AnImageReader, givesEmptyTagsButTheSizeOfAJpegWithoutExif) {
    const std::wstring path = Make("plain.jpg", PlainJpeg(40, 30));
    EXIFITEM item;
    EXPECT_NE(ImageUtils::ReadExifItem(path, item), 0);
    EXPECT_EQ(item.DateTimeOriginal, L"");
    EXPECT_EQ(item.ExifVersion, L"");
    EXPECT_EQ(item.XResolution, 0);
    EXPECT_EQ(ImageUtils::GetPropertyTagExifDTOrig(path), L"");
    EXPECT_EQ(ImageUtils::GetXResolution(path), 0);
    EXPECT_EQ(ImageUtils::GetImageWidth(path), 40);
    EXPECT_EQ(ImageUtils::GetImageHeight(path), 30);
}

TEST_F(AnImageReader, decodesTextAsUtf8OrElseByteByByte) {
    const std::pair<std::string, std::wstring> cases[] = {
        {"\xE3\x82\xAB\xE3\x83\xA1\xE3\x83\xA9", L"\u30AB\u30E1\u30E9"},
        {"Caf\xE9", L"Caf\u00E9"},
    };
    for (const auto& [bytes, text] : cases) {
        const std::wstring path =
            Make("text.jpg", WithExif(PlainJpeg(8, 8), Tiff({Ascii(0x010F, bytes)}, {})));
        EXPECT_EQ(ImageUtils::GetEquipMake(path), text);
    }
}

TEST_F(AnImageReader, readsAHandMadeTiff) {
    const std::wstring path =
        Make("scan.tif", GreyTiff(4, 3, std::string(12, '\x80'),
                                  {Ascii(0x010F, "Scanner"), Rational(0x011A, 600, 1)},
                                  {Ascii(0x9003, "2001:02:03 04:05:06")}));
    EXPECT_EQ(ImageUtils::GetEquipMake(path), L"Scanner");
    EXPECT_EQ(ImageUtils::GetXResolution(path), 600);
    EXPECT_EQ(ImageUtils::GetBitsPerSample(path), L"8");
    EXPECT_EQ(ImageUtils::GetPropertyTagExifDTOrig(path), L"2001:02:03 04:05:06");
    EXPECT_EQ(ImageUtils::GetImageSize(path), (ImageUtils::Size{4, 3}));
}

TEST_F(AnImageReader, agreesWithExifTool) {
    if (!HaveExifTool())
        GTEST_SKIP() << "exiftool is not installed";
    const std::string name = "camera.jpg";
    const std::wstring path = Make(name, WithExif(PlainJpeg(64, 48), CameraExif()));
    bool ran = false;
    const std::string taken = ExifTool("DateTimeOriginal", dir.NativeChild(name), ran);
    ASSERT_TRUE(ran);
    EXPECT_EQ(KelmPlatform::FromNative(taken), ImageUtils::GetPropertyTagExifDTOrig(path));
    EXPECT_EQ(ExifTool("Software", dir.NativeChild(name), ran), "Horalux 1.0");
}

TEST_F(AnImageReader, fitsThumbnailsIntoTheBox) {
    const std::string jpeg = PlainJpeg(8, 8);
    struct Case {
        int width, height;
        ImageUtils::Size expected;
    };
    const Case cases[] = {
        {4000, 3000, {96, 72}}, {3000, 4000, {72, 96}}, {50, 40, {50, 40}},
        {96, 50, {96, 50}},     {200, 100, {96, 48}},   {97, 1, {96, 0}},
    };
    for (const Case& c : cases) {
        const std::wstring path = Make("sized.jpg", WithFrameSize(jpeg, c.width, c.height));
        EXPECT_EQ(ImageUtils::GetThumbnailSize(path, 96), c.expected) << c.width << "x" << c.height;
    }
    EXPECT_EQ(ImageUtils::GetThumbnailSize(Make("text.jpg", "no image"), 96),
              (ImageUtils::Size{96, 96}));
}

TEST_F(AnImageReader, givesNothingForDamagedOrMissingFiles) {
    const std::string good = WithExif(PlainJpeg(64, 48), CameraExif());
    const std::string tiff = GreyTiff(4, 3, std::string(12, 'x'), {Ascii(0x010F, "Scanner")});
    std::string badIfd = tiff;
    badIfd.replace(4, 4, U32(0x7FFFFFF0)); // IFD0 far past the end
    std::string hugeCount = tiff;
    hugeCount.replace(tiff.find(U16(0x010F) + U16(2)) + 4, 4, U32(0xFFFFFFF0));
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"text", "hello, world"},
        {"cut inside EXIF", good.substr(0, 40)},
        {"cut in the EXIF values", good.substr(0, 200)},
        {"SOI only", "\xFF\xD8"},
        {"TIFF header only", tiff.substr(0, 8)},
        {"IFD past the end", badIfd},
        {"count past the end", hugeCount},
    };
    for (const auto& [name, bytes] : cases) {
        const std::wstring path = Make("bad.jpg", bytes);
        EXIFITEM item;
        ImageUtils::ReadExifItem(path, item);
        EXPECT_EQ(item.DateTimeOriginal, L"") << name;
        EXPECT_EQ(ImageUtils::GetPropertyTagExifDTOrig(path), L"") << name;
        EXPECT_EQ(ImageUtils::GetEquipMake(path), L"") << name;
    }
    EXIFITEM item;
    EXPECT_EQ(ImageUtils::ReadExifItem(dir.Child(L"missing.jpg"), item), 0);
    EXPECT_EQ(ImageUtils::ReadExifItem(dir.Path(), item), 0);
    EXPECT_EQ(ImageUtils::GetImageWidth(dir.Child(L"missing.jpg")), 0);
}

TEST_F(AnImageReader, leavesTheAccessedTimeAlone) {
    const std::string name = "camera.jpg";
    const std::wstring path = Make(name, WithExif(PlainJpeg(64, 48), CameraExif()));
    const timespec old[2] = {{1000000000, 0}, {UTIME_OMIT, UTIME_OMIT}};
    ASSERT_EQ(utimensat(AT_FDCWD, dir.NativeChild(name).c_str(), old, 0), 0);
    EXIFITEM item;
    ImageUtils::ReadExifItem(path, item);
    ImageUtils::GetThumbnailSize(path, 96);
    struct stat st;
    ASSERT_EQ(stat(dir.NativeChild(name).c_str(), &st), 0);
    EXPECT_EQ(st.st_atim.tv_sec, 1000000000);
}

TEST(AnEncoderFormat, followsTheExtensionOfAnExistingFile) {
    kelmtest::TempDir dir("encoder");
    const std::pair<const char*, const wchar_t*> cases[] = {
        {"a.PNG", L"image/png"},  {"b.gif", L"image/gif"},  {"c.JFIF", L"image/jpeg"},
        {"d.jpe", L"image/jpeg"}, {"e.tif", L"image/jpeg"}, {"f", L"image/jpeg"},
    };
    for (const auto& [name, mime] : cases)
        EXPECT_EQ(ImageUtils::GetEncoderFormat(dir.MakeFile(name)), mime) << name;
    EXPECT_EQ(ImageUtils::GetEncoderFormat(dir.Child(L"missing.png")), L"image/jpeg");
}

} // namespace
