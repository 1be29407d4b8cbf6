#include <KelmLibraryUtils/ImageUtils.h>
#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include "PhotoFixtures.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <dirent.h>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using KelmLibraryUtils::ImageUtils;
using namespace photofixtures;

namespace {

std::string CameraExif() {
    return Tiff(
        {Ascii(0x010F, "Kelm"), Rational(0x011A, 72, 1), Ascii(0x0132, "2019:05:06 07:08:09")},
        {Undefined(0x9000, "0230"), Ascii(0x9003, "2020:01:02 03:04:05")});
}

std::string Xattr(const std::string& path, const char* name) {
    char value[512];
    const ssize_t n = getxattr(path.c_str(), name, value, sizeof value);
    return n < 0 ? std::string("<none>") : std::string(value, static_cast<size_t>(n));
}

class ADateWriter : public ::testing::Test {
protected:
    kelmtest::TempDir dir{"exifwrite"};
    std::string native;
    std::wstring path;

    void Make(const std::string& name, const std::string& bytes) {
        native = dir.NativeChild(name);
        path = dir.Child(KelmPlatform::FromNative(name));
        WriteBytes(native, bytes);
    }

    std::set<std::string> FolderNames() const {
        std::set<std::string> names;
        DIR* d = opendir(dir.Native().c_str());
        while (dirent* e = readdir(d))
            names.insert(e->d_name);
        closedir(d);
        return names;
    }
};

TEST_F(ADateWriter, addsTheTakenDateToAJpegWithoutExifAndKeepsTheImageData) {
    Make("plain.jpg", PlainJpeg(64, 48));
    const std::string before = ReadBytes(native);
    ASSERT_EQ(ImageUtils::GetPropertyTagExifDTOrig(path), L"");
    KelmPlatform::ItemTimes times;
    ASSERT_NE(KelmPlatform::ReadItemTimes(path, times), 0);
    ASSERT_NE(ImageUtils::SetPropertyTagExifDTOrig(path, L"2020:01:02 03:04:05"), 0);
    KelmPlatform::ItemTimes written;
    ASSERT_NE(KelmPlatform::ReadItemTimes(path, written), 0);
    EXPECT_EQ(written.created, times.created); // the new inode shows the old created time
    EXPECT_EQ(ImageUtils::GetPropertyTagExifDTOrig(path), L"2020:01:02 03:04:05");
    const std::string after = ReadBytes(native);
    ASSERT_FALSE(ScanData(before).empty());
    EXPECT_EQ(ScanData(after), ScanData(before));
    EXPECT_EQ(ImageUtils::GetImageSize(path), (ImageUtils::Size{64, 48}));
    if (HaveExifTool()) {
        bool ran = false;
        EXPECT_EQ(ExifTool("DateTimeOriginal", native, ran), "2020:01:02 03:04:05");
        EXPECT_TRUE(ran);
    }
}

TEST_F(ADateWriter, changesOneTagAndKeepsTheOthers) {
    Make("camera.jpg", WithExif(PlainJpeg(64, 48), CameraExif()));
    const std::string scan = ScanData(ReadBytes(native));
    struct Case {
        int (*write)(const std::wstring&, const std::wstring&);
        std::wstring (*read)(const std::wstring&);
    };
    const Case cases[] = {
        {ImageUtils::SetPropertyTagDateTime, ImageUtils::GetPropertyTagDateTime},
        {ImageUtils::SetPropertyTagExifDTOrig, ImageUtils::GetPropertyTagExifDTOrig},
        {ImageUtils::SetPropertyTagExifDTDigitized, ImageUtils::GetPropertyTagExifDTDigitized},
    };
    for (const Case& c : cases) {
        const std::wstring other = c.read == ImageUtils::GetPropertyTagDateTime
                                       ? ImageUtils::GetPropertyTagExifDTOrig(path)
                                       : ImageUtils::GetPropertyTagDateTime(path);
        ASSERT_NE(c.write(path, L"2024:02:29 23:59:58"), 0);
        EXPECT_EQ(c.read(path), L"2024:02:29 23:59:58");
        EXPECT_EQ(c.read == ImageUtils::GetPropertyTagDateTime
                      ? ImageUtils::GetPropertyTagExifDTOrig(path)
                      : ImageUtils::GetPropertyTagDateTime(path),
                  other);
    }
    EXPECT_EQ(ImageUtils::GetEquipMake(path), L"Kelm");
    EXPECT_EQ(ImageUtils::GetExifVer(path), L"0230");
    EXPECT_EQ(ImageUtils::GetXResolution(path), 72);
    EXPECT_EQ(ScanData(ReadBytes(native)), scan);
}

TEST_F(ADateWriter, blanksATagWithTheEmptyString) {
    Make("camera.jpg", WithExif(PlainJpeg(16, 16), CameraExif()));
    ASSERT_NE(ImageUtils::SetPropertyTagExifDTOrig(path, L""), 0);
    EXPECT_EQ(ImageUtils::GetPropertyTagExifDTOrig(path), L"");
    EXPECT_EQ(ImageUtils::GetPropertyTagDateTime(path), L"2019:05:06 07:08:09");
    if (HaveExifTool()) {
        bool ran = false;
        // Present but empty; a missing tag prints "-".
        EXPECT_EQ(ExifTool("DateTimeOriginal", native, ran), "");
        EXPECT_TRUE(ran);
    }
}

TEST_F(ADateWriter, keepsATiffATiffWithItsPixels) {
    std::string pixels;
    for (int i = 0; i < 48; ++i)
        pixels += static_cast<char>(i * 5);
    Make("scan.tif", GreyTiff(8, 6, pixels, {Ascii(0x010F, "Scanner")}));
    ASSERT_NE(ImageUtils::SetPropertyTagExifDTDigitized(path, L"2001:02:03 04:05:06"), 0);
    const std::string after = ReadBytes(native);
    EXPECT_EQ(after.substr(0, 4), std::string("II*\0", 4));
    EXPECT_NE(after.find(pixels), std::string::npos);
    EXPECT_EQ(ImageUtils::GetPropertyTagExifDTDigitized(path), L"2001:02:03 04:05:06");
    EXPECT_EQ(ImageUtils::GetEquipMake(path), L"Scanner");
    EXPECT_EQ(ImageUtils::GetImageSize(path), (ImageUtils::Size{8, 6}));
    if (HaveExifTool()) {
        bool ran = false;
        EXPECT_EQ(ExifTool("CreateDate", native, ran), "2001:02:03 04:05:06");
        EXPECT_EQ(ExifTool("FileType", native, ran), "TIFF");
    }
}

TEST_F(ADateWriter, keepsModeExtendedAttributesAndCreatedTime) {
    Make("camera.jpg", WithExif(PlainJpeg(16, 16), CameraExif()));
    ASSERT_NE(
        KelmPlatform::WriteItemAttributes(path, KelmPlatform::kHidden | KelmPlatform::kArchive), 0);
    ASSERT_EQ(setxattr(native.c_str(), "user.test", "kept", 4, 0), 0);
    ASSERT_EQ(chmod(native.c_str(), 0640), 0);
    const std::string dosAttrib = Xattr(native, "user.DOSATTRIB");
    ASSERT_NE(dosAttrib, "<none>");
    KelmPlatform::ItemTimes before;
    ASSERT_NE(KelmPlatform::ReadItemTimes(path, before), 0);
    const time_t started = time(nullptr);

    ASSERT_NE(ImageUtils::SetPropertyTagExifDTOrig(path, L"2022:03:04 05:06:07"), 0);

    struct stat st;
    ASSERT_EQ(stat(native.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Xattr(native, "user.test"), "kept");
    EXPECT_EQ(Xattr(native, "user.DOSATTRIB"), dosAttrib);
    std::uint32_t attributes = 0;
    ASSERT_NE(KelmPlatform::ReadItemAttributes(path, attributes), 0);
    EXPECT_EQ(attributes & KelmPlatform::kSettableAttributes,
              KelmPlatform::kHidden | KelmPlatform::kArchive);
    KelmPlatform::ItemTimes after;
    ASSERT_NE(KelmPlatform::ReadItemTimes(path, after), 0);
    EXPECT_EQ(after.created, before.created);
    EXPECT_GE(st.st_mtime, started);     // the writer does not keep the modified time
    EXPECT_EQ(FolderNames().size(), 3u); // ".", ".." and the photo: no temporary left
}

TEST_F(ADateWriter, refusesWhatItMustNotWriteAndLeavesItAsItWas) {
    const std::string jpeg = WithExif(PlainJpeg(16, 16), CameraExif());
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const std::pair<const char*, std::string> files[] = {
        {"truncated", jpeg.substr(0, 60)},
        {"text", "not a photo"},
        {"png", png.toStdString()},
        {"empty", ""},
    };
    for (const auto& [name, bytes] : files) {
        Make("photo.jpg", bytes);
        EXPECT_EQ(ImageUtils::SetPropertyTagExifDTOrig(path, L"2020:01:02 03:04:05"), 0) << name;
        EXPECT_EQ(ReadBytes(native), bytes) << name;
    }

    Make("photo.jpg", jpeg);
    EXPECT_EQ(ImageUtils::SetPropertyTagExifDTOrig(path, L"2020:01:02 03:04:05\u00e9"), 0);
    ASSERT_NE(KelmPlatform::WriteItemAttributes(path, KelmPlatform::kReadOnly), 0);
    EXPECT_EQ(ImageUtils::SetPropertyTagExifDTOrig(path, L"2020:01:02 03:04:05"), 0);
    EXPECT_EQ(ReadBytes(native), jpeg);
    ASSERT_NE(KelmPlatform::WriteItemAttributes(path, 0), 0);

    // A second name would keep the old contents after the rename.
    const std::string twin = dir.NativeChild("twin.jpg");
    ASSERT_EQ(link(native.c_str(), twin.c_str()), 0);
    EXPECT_EQ(ImageUtils::SetPropertyTagExifDTOrig(path, L"2020:01:02 03:04:05"), 0);
    ASSERT_EQ(unlink(twin.c_str()), 0);

    const std::string link = dir.NativeChild("link.jpg");
    ASSERT_EQ(symlink(native.c_str(), link.c_str()), 0);
    EXPECT_EQ(ImageUtils::SetPropertyTagExifDTOrig(KelmPlatform::FromNative(link),
                                                   L"2020:01:02 03:04:05"),
              0);
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(native), jpeg);
    EXPECT_EQ(ImageUtils::SetPropertyTagExifDTOrig(dir.Child(L"missing.jpg"), L""), 0);
    EXPECT_EQ(FolderNames().size(), 4u); // ".", "..", the photo and the link
}

TEST_F(ADateWriter, leavesTheOriginalWhenTheNewFileCannotBeWritten) {
    Make("camera.jpg", WithExif(PlainJpeg(64, 48), CameraExif()));
    const std::string before = ReadBytes(native);
    // A file size limit below the photo's size makes writing the copy fail.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = ImageUtils::SetPropertyTagExifDTOrig(path, L"2020:01:02 03:04:05");
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadBytes(native), before);
    EXPECT_EQ(FolderNames().size(), 3u);
}

} // namespace
