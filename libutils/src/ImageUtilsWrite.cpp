// The EXIF date writers. Exiv2 rewrites the metadata segments of a copy of
// the file in memory and copies the compressed image data unchanged; the copy
// then replaces the file (PhotoFileReplacement). The whole file is held in
// memory twice over, so files above kMaxPhotoSize are refused.
#include "KelmLibraryUtils/ImageUtils.h"

#include "ExivTypes.h"
#include "PhotoFileReplacement.h"
#include "PhotoMetadata.h"

#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/ContentReader.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include <exiv2/error.hpp>
#include <exiv2/image.hpp>
#include <exiv2/jpgimage.hpp>
#include <exiv2/tiffimage.hpp>

#include <cerrno>
#include <exception>
#include <sys/stat.h>
#include <unistd.h>

namespace KelmLibraryUtils {
namespace {

constexpr off_t kMaxPhotoSize = 256 * 1024 * 1024;
// An EXIF date-time is stored as 19 characters and a NUL; an empty value as
// 20 NULs, which reads back empty.
constexpr size_t kDateTimeBytes = 20;

int Fail(int error) {
    KelmPlatform::SetLastError(error);
    return 0;
}

// The 20 bytes of the tag; false for text that ASCII cannot hold.
bool DateTimeBytes(const std::wstring& value, std::string& bytes) {
    bytes.assign(kDateTimeBytes, '\0');
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] <= 0 || value[i] > 0x7F)
            return false;
        if (i < kDateTimeBytes - 1)
            bytes[i] = static_cast<char>(value[i]);
    }
    return true;
}

const char* DefaultKey(unsigned tag) {
    switch (tag) {
    case 0x0132:
        return "Exif.Image.DateTime";
    case 0x9003:
        return "Exif.Photo.DateTimeOriginal";
    case 0x9004:
        return "Exif.Photo.DateTimeDigitized";
    default:
        return nullptr;
    }
}

// The file as it is now, if it is one we may rewrite: a regular file with a
// single name (renaming over a hard link would part it from its other names),
// not read-only, of a size we are willing to hold.
bool ReadOriginal(const std::wstring& path, struct stat& st, std::string& bytes) {
    const std::string native = KelmPlatform::ToNative(path);
    std::uint32_t attributes = 0;
    if (lstat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1 ||
        st.st_size <= 0 || st.st_size > kMaxPhotoSize)
        return false;
    if (!KelmPlatform::ReadItemAttributes(path, attributes) ||
        (attributes & KelmPlatform::kReadOnly))
        return false;
    KelmPlatform::ContentReader reader(path);
    struct stat opened;
    if (!reader.IsOpen() || fstat(reader.Descriptor(), &opened) != 0 ||
        opened.st_ino != st.st_ino || opened.st_dev != st.st_dev || opened.st_size != st.st_size)
        return false; // changed since we looked
    bytes.resize(static_cast<size_t>(opened.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = pread(reader.Descriptor(), bytes.data() + done, bytes.size() - done,
                                static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

void SetTag(Exiv2::ExifData& exif, unsigned tag, const std::string& bytes) {
    auto value = Exiv2::Value::create(Exiv2::asciiString);
    value->read(reinterpret_cast<const Exiv2::byte*>(bytes.data()), static_cast<long>(bytes.size()),
                Exiv2::invalidByteOrder);
    const std::string found =
        PhotoMetadata::FindMainImageKey(exif, static_cast<std::uint16_t>(tag));
    if (found.empty())
        exif.add(Exiv2::ExifKey(DefaultKey(tag)), value.get());
    else
        exif[found].setValue(value.get());
}

std::string ImageBytes(Exiv2::Image& image) {
    Exiv2::BasicIo& io = image.io();
    if (io.open() != 0)
        return {};
    Exiv2::DataBuf buf = io.read(static_cast<long>(io.size()));
    io.close();
    return std::string(reinterpret_cast<const char*>(buf.pData_), static_cast<size_t>(buf.size_));
}

// The original's metadata with the tag changed, as the bytes of a whole file.
// Empty for a file that is no JPEG or TIFF, or that Exiv2 cannot parse.
std::string RewrittenBytes(const std::string& original, unsigned tag, const std::string& value) {
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(original.data()),
                                           static_cast<long>(original.size()));
    if (!image.get() || (image->imageType() != Exiv2::ImageType::jpeg &&
                         image->imageType() != Exiv2::ImageType::tiff))
        return {};
    image->readMetadata();
    // The XMP packet goes back as it was read, not re-serialised.
    image->writeXmpFromPacket(true);
    SetTag(image->exifData(), tag, value);
    image->writeMetadata();
    return ImageBytes(*image);
}

// Reads the new bytes back as a reader will, so that nothing replaces the
// original unless it holds what was asked.
bool ReadsBack(const std::string& bytes, unsigned tag, const std::string& value) {
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(bytes.data()),
                                           static_cast<long>(bytes.size()));
    if (!image.get())
        return false;
    image->readMetadata();
    const Exiv2::ExifData& exif = image->exifData();
    const std::string key = PhotoMetadata::FindMainImageKey(exif, static_cast<std::uint16_t>(tag));
    const auto datum = exif.findKey(Exiv2::ExifKey(key.empty() ? DefaultKey(tag) : key));
    if (datum == exif.end() || datum->typeId() != Exiv2::asciiString ||
        datum->size() != static_cast<long>(value.size()))
        return false;
    std::string stored(value.size(), '\0');
    datum->copy(reinterpret_cast<Exiv2::byte*>(stored.data()), Exiv2::invalidByteOrder);
    return stored == value;
}

std::string Rewrite(const std::string& original, unsigned tag, const std::string& value) {
    try {
        std::string bytes = RewrittenBytes(original, tag, value);
        if (!bytes.empty() && ReadsBack(bytes, tag, value))
            return bytes;
    } catch (const Exiv2::AnyError&) {
    } catch (const std::exception&) {
    }
    return {};
}

} // namespace

int ImageUtils::SetPropertyTagDateTime(const std::wstring& path, const std::wstring& value) {
    return SetPropertyTagExifDateTime(path, 0x0132, value);
}

int ImageUtils::SetPropertyTagExifDTOrig(const std::wstring& path, const std::wstring& value) {
    return SetPropertyTagExifDateTime(path, 0x9003, value);
}

int ImageUtils::SetPropertyTagExifDTDigitized(const std::wstring& path, const std::wstring& value) {
    return SetPropertyTagExifDateTime(path, 0x9004, value);
}

int ImageUtils::SetPropertyTagExifDateTime(const std::wstring& path, unsigned tag,
                                           const std::wstring& value) {
    PhotoMetadata::SilenceLog();
    std::string bytes;
    if (!DefaultKey(tag) || !DateTimeBytes(value, bytes))
        return Fail(EINVAL);
    struct stat st;
    std::string original;
    if (!ReadOriginal(path, st, original))
        return Fail(EACCES);
    const std::string rewritten = Rewrite(original, tag, bytes);
    if (rewritten.empty())
        return Fail(EINVAL);
    return PhotoFileReplacement::Replace(KelmPlatform::ToNative(path), st, rewritten);
}

} // namespace KelmLibraryUtils
