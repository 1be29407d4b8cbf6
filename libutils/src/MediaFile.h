#pragma once
// One media file opened for TagLib: the family is chosen from the path's
// extension and confirmed by the file's first bytes before TagLib sees it,
// so other files are never parsed. Owns the descriptor, the stream over it
// and TagLib's file object.
#include "MediaAttribute.h"
#include "MediaStream.h"

#include <KelmPlatform/ContentReader.h>

#include <memory>
#include <optional>
#include <string>

namespace TagLib {
class File;
}

namespace KelmLibraryUtils {

enum class MediaFamily { None, Asf, Mpeg, Flac, Ogg, Mp4, Wav, Aiff };

class MediaFile {
public:
    explicit MediaFile(const std::wstring& path);
    ~MediaFile();
    MediaFile(const MediaFile&) = delete;
    MediaFile& operator=(const MediaFile&) = delete;

    // The family of a file TagLib accepted; None otherwise.
    MediaFamily Family() const { return m_file ? m_family : MediaFamily::None; }
    // TagLib's file, null unless it is valid.
    TagLib::File* File() const { return m_file.get(); }

    // Reads the family's tag texts into `values` (Bitrate and Duration are
    // left to the caller).
    void ReadTags(MediaValues& values) const;

private:
    std::optional<KelmPlatform::ContentReader> m_reader;
    std::unique_ptr<MediaStream> m_stream;
    std::unique_ptr<TagLib::File> m_file;
    MediaFamily m_family = MediaFamily::None;
};

} // namespace KelmLibraryUtils
