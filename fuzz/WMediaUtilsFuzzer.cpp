// Feeds arbitrary bytes to the media reader as a file of one of its
// families: the first byte picks the extension, the rest is the file. The
// reader must never crash, hang or allocate without bound, whatever the tag
// library is given through it.
#include <KelmLibraryUtils/WMediaUtils.h>
#include <KelmPlatform/NativeName.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const kExtensions[] = {".mp3",  ".wma", ".flac", ".ogg",
                                              ".opus", ".m4a", ".wav",  ".aiff"};
    if (size < 1)
        return 0;
    const char* extension = kExtensions[data[0] % (sizeof kExtensions / sizeof *kExtensions)];
    const std::string path = "/tmp/wmedia-fuzz-" + std::to_string(::getpid()) + extension;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    KelmLibraryUtils::MEDIAITEM item;
    KelmLibraryUtils::WMediaUtils::ReadMediaItem(KelmPlatform::FromNative(path), item);
    ::unlink(path.c_str());
    return 0;
}
