// Feeds arbitrary bytes as a photo file to the EXIF readers and the date
// writer: they must never crash, hang or allocate without bound, whatever
// Exiv2 makes of the bytes.
#include <KelmLibraryUtils/ExifItem.h>
#include <KelmLibraryUtils/ImageUtils.h>
#include <KelmPlatform/NativeName.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

// One scratch file for the whole run, removed at exit.
struct ScratchFile {
    std::string path;
    ScratchFile() {
        const char* tmp = getenv("TMPDIR");
        path = std::string(tmp ? tmp : "/tmp") + "/exif-fuzz-XXXXXX";
        const int fd = mkstemp(path.data());
        if (fd >= 0)
            close(fd);
    }
    ~ScratchFile() { unlink(path.c_str()); }
};

const std::string& PhotoPath() {
    static const ScratchFile file;
    return file.path;
}

bool WritePhoto(const std::uint8_t* data, std::size_t size) {
    const int fd = open(PhotoPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool ok = write(fd, data, size) == static_cast<ssize_t>(size);
    close(fd);
    return ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using KelmLibraryUtils::ImageUtils;
    if (!WritePhoto(data, size))
        return 0;
    const std::wstring path = KelmPlatform::FromNative(PhotoPath());
    KelmLibraryUtils::EXIFITEM item;
    ImageUtils::ReadExifItem(path, item);
    ImageUtils::GetBitsPerSample(path);
    if (ImageUtils::SetPropertyTagExifDTOrig(path, L"2020:01:02 03:04:05"))
        ImageUtils::GetPropertyTagExifDTOrig(path);
    return 0;
}
