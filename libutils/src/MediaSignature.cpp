#include "MediaSignature.h"

namespace KelmLibraryUtils {

using namespace std::string_view_literals;

bool At(Head head, std::size_t offset, std::string_view bytes) {
    return head.size() >= offset + bytes.size() && head.substr(offset, bytes.size()) == bytes;
}

bool IsAsf(Head head) {
    return At(head, 0, "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C"sv);
}

// An ID3v2 tag, or an MPEG audio frame header with a valid layer, bit rate
// and sample rate.
bool IsMpeg(Head head) {
    if (At(head, 0, "ID3"))
        return true;
    if (head.size() < 4)
        return false;
    const auto b1 = static_cast<unsigned char>(head[1]);
    const auto b2 = static_cast<unsigned char>(head[2]);
    return static_cast<unsigned char>(head[0]) == 0xFF && (b1 & 0xE0) == 0xE0 && (b1 & 0x06) != 0 &&
           (b2 & 0xF0) != 0xF0 && (b2 & 0x0C) != 0x0C;
}

bool IsFlac(Head head) {
    return At(head, 0, "fLaC") || At(head, 0, "ID3");
}
bool IsOgg(Head head) {
    return At(head, 0, "OggS");
}
bool IsMp4(Head head) {
    return At(head, 4, "ftyp");
}
bool IsWav(Head head) {
    return At(head, 0, "RIFF") && At(head, 8, "WAVE");
}
bool IsAiff(Head head) {
    return At(head, 0, "FORM") && (At(head, 8, "AIFF") || At(head, 8, "AIFC"));
}

} // namespace KelmLibraryUtils
