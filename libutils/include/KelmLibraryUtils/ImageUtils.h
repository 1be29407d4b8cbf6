#pragma once
// A photo's EXIF tags, pixel size and thumbnail size, and the rewriting of its
// three EXIF date-times. Files are read without changing their accessed time;
// a file that is no readable image gives empty texts and zeros.
//
// The date writers change the metadata only: the compressed image data is
// copied as it is, every other tag stays, and a TIFF stays a TIFF. The new
// file is written beside the original and renamed over it, with the
// original's owner, mode and extended attributes, so a failure leaves the
// original as it was. The file's modified time becomes the time of writing;
// callers that want to keep it set it back.
//
// The window-system images of a photo (device bitmap, shell icon, icon
// resource) belong with the widgets and are not made here.
#include "KelmLibraryUtils/ExifItem.h"

#include <string>

namespace KelmLibraryUtils {

class ImageUtils {
public:
    struct Size {
        int Width = 0;
        int Height = 0;
        bool operator==(const Size&) const = default;
    };

    // EXIF date-times as stored ("YYYY:MM:DD HH:MM:SS").
    static std::wstring GetPropertyTagDateTime(const std::wstring& path);        // 0x0132
    static std::wstring GetPropertyTagExifDTOrig(const std::wstring& path);      // 0x9003
    static std::wstring GetPropertyTagExifDTDigitized(const std::wstring& path); // 0x9004

    static std::wstring GetEquipMake(const std::wstring& path);        // 0x010F
    static std::wstring GetEquipModel(const std::wstring& path);       // 0x0110
    static std::wstring GetExifVer(const std::wstring& path);          // 0x9000
    static std::wstring GetSoftwareUsed(const std::wstring& path);     // 0x0131
    static std::wstring GetExifExposureProg(const std::wstring& path); // 0x8822
    static std::wstring GetBitsPerSample(const std::wstring& path);    // 0x0102

    // The tag's number, 0 when it is missing.
    static int GetXResolution(const std::wstring& path); // 0x011A
    static int GetYResolution(const std::wstring& path); // 0x011B
    static int GetOrientation(const std::wstring& path); // 0x0112

    // Every field of `item` from one open of the file. Returns 0 (and an
    // empty item) when the file is no readable image.
    static int ReadExifItem(const std::wstring& path, EXIFITEM& item);

    static int GetImageWidth(const std::wstring& path);
    static int GetImageHeight(const std::wstring& path);
    static Size GetImageSize(const std::wstring& path);
    // The size at which the image fits a square of `box` pixels: its own
    // size when it fits, else scaled so that its longer side is `box`;
    // (box, box) when the image cannot be read.
    static Size GetThumbnailSize(const std::wstring& path, int box);

    // The MIME type for an existing file's extension; "image/jpeg" otherwise.
    static std::wstring GetEncoderFormat(const std::wstring& path);

    // Set one date tag to `value`, stored as 20 bytes: its first 19
    // characters and a NUL, or 20 NULs for the empty string, which then reads
    // empty. Text that ASCII cannot hold is refused. JPEG and TIFF files
    // only; a read-only file, a symbolic link and a file with more than one
    // name (the rename would part it from the others) are refused. Nonzero
    // on success.
    static int SetPropertyTagDateTime(const std::wstring& path, const std::wstring& value);
    static int SetPropertyTagExifDTOrig(const std::wstring& path, const std::wstring& value);
    static int SetPropertyTagExifDTDigitized(const std::wstring& path, const std::wstring& value);

private:
    static std::wstring GetPropertyTagExifValue(const std::wstring& path, unsigned tag);
    static int SetPropertyTagExifDateTime(const std::wstring& path, unsigned tag,
                                          const std::wstring& value);
};

} // namespace KelmLibraryUtils
