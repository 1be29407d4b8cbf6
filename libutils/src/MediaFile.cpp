#include "MediaFile.h"

#include "MediaSignature.h"
#include "MediaTagReaders.h"

#include <KelmPlatform/NativeName.h>

#include <taglib/aifffile.h>
#include <taglib/asffile.h>
#include <taglib/flacfile.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/speexfile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>

#include <array>
#include <cerrno>
#include <string_view>
#include <unistd.h>

namespace KelmLibraryUtils {
namespace {

constexpr std::size_t kHeadSize = 64; // bytes the signatures look at
using FilePtr = std::unique_ptr<TagLib::File>;
constexpr auto kStyle = TagLib::AudioProperties::Average;

FilePtr OpenAsf(TagLib::IOStream* s, Head) {
    return std::make_unique<TagLib::ASF::File>(s, true, kStyle);
}
FilePtr OpenMpeg(TagLib::IOStream* s, Head) {
    return std::make_unique<TagLib::MPEG::File>(s, TagLib::ID3v2::FrameFactory::instance(), true,
                                                kStyle);
}
FilePtr OpenFlac(TagLib::IOStream* s, Head) {
    return std::make_unique<TagLib::FLAC::File>(s, TagLib::ID3v2::FrameFactory::instance(), true,
                                                kStyle);
}
FilePtr OpenMp4(TagLib::IOStream* s, Head) {
    return std::make_unique<TagLib::MP4::File>(s, true, kStyle);
}
FilePtr OpenWav(TagLib::IOStream* s, Head) {
    return std::make_unique<TagLib::RIFF::WAV::File>(s, true, kStyle);
}
FilePtr OpenAiff(TagLib::IOStream* s, Head) {
    return std::make_unique<TagLib::RIFF::AIFF::File>(s, true, kStyle);
}

// The codec is named by the first packet, which starts after the first
// page's 27-byte header and its segment table.
FilePtr OpenOgg(TagLib::IOStream* s, Head head) {
    if (head.size() < 27)
        return nullptr;
    const std::size_t packet = 27 + static_cast<unsigned char>(head[26]);
    if (At(head, packet, "\x01vorbis"))
        return std::make_unique<TagLib::Ogg::Vorbis::File>(s, true, kStyle);
    if (At(head, packet, "OpusHead"))
        return std::make_unique<TagLib::Ogg::Opus::File>(s, true, kStyle);
    if (At(head, packet, "Speex   "))
        return std::make_unique<TagLib::Ogg::Speex::File>(s, true, kStyle);
    if (At(head, packet,
           "\x7F"
           "FLAC"))
        return std::make_unique<TagLib::Ogg::FLAC::File>(s, true, kStyle);
    return nullptr;
}

struct FamilyRow {
    MediaFamily family;
    std::array<const char*, 6> extensions; // lower case, with the dot
    bool (*matches)(Head head);
    FilePtr (*open)(TagLib::IOStream* stream, Head head);
    void (*readTags)(TagLib::File& file, MediaValues& values);
};

const FamilyRow kFamilies[] = {
    {MediaFamily::Asf, {".wma", ".wmv", ".asf"}, IsAsf, OpenAsf, ReadAsfTags},
    {MediaFamily::Mpeg, {".mp3", ".mp2"}, IsMpeg, OpenMpeg, ReadMpegTags},
    {MediaFamily::Flac, {".flac"}, IsFlac, OpenFlac, ReadFlacTags},
    {MediaFamily::Ogg, {".ogg", ".oga", ".opus", ".spx"}, IsOgg, OpenOgg, ReadPropertyTags},
    {MediaFamily::Mp4,
     {".m4a", ".m4b", ".m4v", ".mp4", ".3gp", ".3g2"},
     IsMp4,
     OpenMp4,
     ReadPropertyTags},
    {MediaFamily::Wav, {".wav"}, IsWav, OpenWav, ReadWavTags},
    {MediaFamily::Aiff, {".aif", ".aiff", ".aifc"}, IsAiff, OpenAiff, ReadAiffTags},
};

// The extension in lower case with its dot; empty when the name has none.
std::string LowerExtension(const std::wstring& path) {
    const auto slash = path.rfind(L'/');
    const auto dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return {};
    std::string extension;
    for (auto c : path.substr(dot)) {
        if (c > 0x7F)
            return {};
        extension += static_cast<char>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
    }
    return extension;
}

const FamilyRow* RowOfExtension(const std::wstring& path) {
    const std::string extension = LowerExtension(path);
    if (extension.empty())
        return nullptr;
    for (const auto& row : kFamilies) {
        for (const char* known : row.extensions) {
            if (known && extension == known)
                return &row;
        }
    }
    return nullptr;
}

const FamilyRow* RowOfFamily(MediaFamily family) {
    for (const auto& row : kFamilies) {
        if (row.family == family)
            return &row;
    }
    return nullptr;
}

std::string ReadHead(int fd) {
    std::string head(kHeadSize, '\0');
    ssize_t got;
    do {
        got = ::pread(fd, head.data(), head.size(), 0);
    } while (got < 0 && errno == EINTR);
    head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return head;
}

} // namespace

MediaFile::MediaFile(const std::wstring& path) {
    const FamilyRow* row = RowOfExtension(path);
    if (!row)
        return;
    m_reader.emplace(path);
    if (!m_reader->IsOpen())
        return;
    const std::string head = ReadHead(m_reader->Descriptor());
    if (!row->matches(head))
        return;
    m_stream = std::make_unique<MediaStream>(m_reader->Descriptor(), KelmPlatform::ToNative(path));
    if (!m_stream->isOpen())
        return;
    m_file = row->open(m_stream.get(), head);
    if (m_file && !m_file->isValid())
        m_file.reset();
    m_family = row->family;
}

MediaFile::~MediaFile() = default;

void MediaFile::ReadTags(MediaValues& values) const {
    const FamilyRow* row = RowOfFamily(Family());
    if (row)
        row->readTags(*m_file, values);
}

} // namespace KelmLibraryUtils
