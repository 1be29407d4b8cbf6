#pragma once
// Minimal media files built byte by byte from the formats' published
// layouts, so the reader is checked against files no tag library wrote.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace mediafixtures {

using Bytes = std::string;

inline void PutLe(Bytes& b, std::uint64_t v, int size) {
    for (int i = 0; i < size; ++i)
        b += static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void PutBe(Bytes& b, std::uint64_t v, int size) {
    for (int i = size - 1; i >= 0; --i)
        b += static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline Bytes Le(std::uint64_t v, int size) {
    Bytes b;
    PutLe(b, v, size);
    return b;
}
inline Bytes Be(std::uint64_t v, int size) {
    Bytes b;
    PutBe(b, v, size);
    return b;
}

inline Bytes Utf8(const std::wstring& text) {
    Bytes b;
    for (const wchar_t wc : text) {
        const auto c = static_cast<std::uint32_t>(wc);
        if (c < 0x80) {
            b += static_cast<char>(c);
        } else if (c < 0x800) {
            b += static_cast<char>(0xC0 | (c >> 6));
            b += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            b += static_cast<char>(0xE0 | (c >> 12));
            b += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            b += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            b += static_cast<char>(0xF0 | (c >> 18));
            b += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            b += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            b += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return b;
}

inline Bytes Utf16Le(const std::wstring& text) {
    Bytes b;
    for (const wchar_t wc : text) {
        auto c = static_cast<std::uint32_t>(wc);
        if (c >= 0x10000) {
            c -= 0x10000;
            PutLe(b, 0xD800 + (c >> 10), 2);
            PutLe(b, 0xDC00 + (c & 0x3FF), 2);
        } else {
            PutLe(b, c, 2);
        }
    }
    return b;
}

// ---- MP3: ID3v2.3 frames and silent MPEG-1 Layer III frames ----

// 128 kbit/s, 44.1 kHz, mono, no CRC: 417 bytes a frame.
inline Bytes SilentMpegFrames(int count) {
    Bytes frame("\xFF\xFB\x90\xC0", 4);
    frame.resize(417, '\0');
    Bytes all;
    for (int i = 0; i < count; ++i)
        all += frame;
    return all;
}

inline Bytes Id3Frame(const char* id, const Bytes& body) {
    return Bytes(id, 4) + Be(body.size(), 4) + Bytes(2, '\0') + body;
}
// Encoding 1: UTF-16 with byte-order mark, as Windows writes it.
inline Bytes Id3Text(const char* id, const std::wstring& text) {
    return Id3Frame(id, "\x01\xFF\xFE" + Utf16Le(text));
}
inline Bytes Id3Comment(const std::wstring& text) {
    return Id3Frame("COMM", Bytes("\x01"
                                  "eng\xFF\xFE\0\0\xFF\xFE",
                                  10) +
                                Utf16Le(text));
}
inline Bytes Id3UserText(const std::wstring& description, const std::wstring& text) {
    return Id3Frame("TXXX", "\x01\xFF\xFE" + Utf16Le(description) + Bytes(2, '\0') + "\xFF\xFE" +
                                Utf16Le(text));
}
inline Bytes Id3Popularimeter(const std::string& email, int rating) {
    return Id3Frame("POPM", email + Bytes(1, '\0') + static_cast<char>(rating) + Be(0, 4));
}
inline std::uint64_t SyncSafe(std::uint64_t v) {
    return (v & 0x7F) | ((v & 0x3F80) << 1) | ((v & 0x1FC000) << 2) | ((v & 0xFE00000) << 3);
}
inline Bytes Id3Tag(const Bytes& frames) {
    return Bytes("ID3\x03\0\0", 6) + Be(SyncSafe(frames.size()), 4) + frames;
}

// ---- WAV: PCM format, silent data, RIFF INFO list ----

inline Bytes RiffChunk(const char* id, const Bytes& body) {
    Bytes chunk = Bytes(id, 4) + Le(body.size(), 4) + body;
    if (body.size() % 2)
        chunk += '\0';
    return chunk;
}
// 8 kHz, mono, 16 bits: 16,000 bytes a second, 128 kbit/s.
inline Bytes Wav(std::size_t dataBytes, const std::vector<std::pair<const char*, Bytes>>& info) {
    Bytes format = Le(1, 2) + Le(1, 2) + Le(8000, 4) + Le(16000, 4) + Le(2, 2) + Le(16, 2);
    Bytes list = "INFO";
    for (const auto& [id, text] : info)
        list += RiffChunk(id, text + Bytes(1, '\0'));
    const Bytes body = "WAVE" + RiffChunk("fmt ", format) +
                       RiffChunk("data", Bytes(dataBytes, '\0')) + RiffChunk("LIST", list);
    return RiffChunk("RIFF", body);
}

// ---- FLAC: STREAMINFO and a Vorbis comment block ----

inline Bytes VorbisComments(const std::vector<std::wstring>& fields) {
    Bytes b = Le(6, 4) + "fixtur" + Le(fields.size(), 4);
    for (const auto& field : fields)
        b += Le(Utf8(field).size(), 4) + Utf8(field);
    return b;
}
// 44.1 kHz, stereo, 16 bits, `samples` samples long.
inline Bytes Flac(std::uint64_t samples, const std::vector<std::wstring>& comments) {
    Bytes info = Be(4096, 2) + Be(4096, 2) + Be(0, 3) + Be(0, 3);
    // 20 bits rate, 3 bits channels - 1, 5 bits bits - 1, 36 bits samples.
    const std::uint64_t packed = (std::uint64_t{44100} << 44) | (std::uint64_t{1} << 41) |
                                 (std::uint64_t{15} << 36) | samples;
    info += Be(packed, 8) + Bytes(16, '\0');
    const Bytes comment = VorbisComments(comments);
    return "fLaC" + Be(0x00, 1) + Be(info.size(), 3) + info + Be(0x84, 1) + Be(comment.size(), 3) +
           comment + Bytes(64, '\0');
}

// ---- Ogg Opus ----

inline std::uint32_t OggCrc(const Bytes& page) {
    std::uint32_t crc = 0;
    for (const char c : page) {
        crc ^= static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 24;
        for (int i = 0; i < 8; ++i)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}
inline Bytes OggPage(int type, std::uint64_t granule, int sequence, const Bytes& packet) {
    Bytes lacing;
    std::size_t left = packet.size();
    while (left >= 255) {
        lacing += '\xFF';
        left -= 255;
    }
    lacing += static_cast<char>(left);
    Bytes page = Bytes("OggS\0", 5) + static_cast<char>(type) + Le(granule, 8) + Le(0x4B454C4D, 4) +
                 Le(sequence, 4) + Le(0, 4) + static_cast<char>(lacing.size()) + lacing + packet;
    const Bytes crc = Le(OggCrc(page), 4);
    page.replace(22, 4, crc);
    return page;
}
// Mono at 48 kHz with 312 samples of pre-skip, `samples` long.
inline Bytes Opus(std::uint64_t samples, const std::vector<std::wstring>& comments) {
    const Bytes head =
        "OpusHead" + Le(1, 1) + Le(1, 1) + Le(312, 2) + Le(48000, 4) + Le(0, 2) + Le(0, 1);
    const Bytes tags = "OpusTags" + VorbisComments(comments);
    const Bytes audio(40, '\0');
    return OggPage(0x02, 0, 0, head) + OggPage(0, 0, 1, tags) +
           OggPage(0x04, samples + 312, 2, audio);
}

// ---- MP4: the atoms TagLib needs for tags and the track's length ----

inline Bytes Atom(const char* type, const Bytes& body) {
    return Be(8 + body.size(), 4) + type + body;
}
inline Bytes Mp4Text(const char* type, const std::wstring& text) {
    return Atom(type, Atom("data", Be(1, 4) + Be(0, 4) + Utf8(text)));
}
inline Bytes Mp4Track(int track, int total) {
    return Atom("trkn", Atom("data", Be(0, 4) + Be(0, 4) + Be(0, 2) + Be(track, 2) + Be(total, 2) +
                                         Be(0, 2)));
}
inline Bytes Mp4Freeform(const char* name, const std::wstring& text) {
    return Atom("----", Atom("mean", Be(0, 4) + "com.apple.iTunes") +
                            Atom("name", Be(0, 4) + name) +
                            Atom("data", Be(1, 4) + Be(0, 4) + Utf8(text)));
}
// An AAC track of `milliseconds` at a 1 kHz time scale, with `items` in ilst.
inline Bytes Mp4(std::uint32_t milliseconds, const Bytes& items) {
    const Bytes mdhd =
        Atom("mdhd", Be(0, 4) + Be(0, 4) + Be(0, 4) + Be(1000, 4) + Be(milliseconds, 4) + Be(0, 4));
    const Bytes hdlr =
        Atom("hdlr", Be(0, 4) + Be(0, 4) + "soun" + Bytes(12, '\0') + Bytes(1, '\0'));
    const Bytes mp4a =
        Atom("mp4a", Bytes(6, '\0') + Be(1, 2) + Be(0, 2) + Be(0, 2) + Be(0, 4) + Be(2, 2) +
                         Be(16, 2) + Be(0, 2) + Be(0, 2) + Be(44100u << 16, 4));
    const Bytes stsd = Atom("stsd", Be(0, 4) + Be(1, 4) + mp4a);
    const Bytes trak = Atom("trak", Atom("mdia", mdhd + hdlr + Atom("minf", Atom("stbl", stsd))));
    const Bytes meta =
        Atom("meta", Be(0, 4) + Atom("hdlr", Be(0, 4) + Be(0, 4) + "mdirappl" + Bytes(9, '\0')) +
                         Atom("ilst", items));
    const Bytes mvhd = Atom("mvhd", Be(0, 4) + Be(0, 4) + Be(0, 4) + Be(1000, 4) +
                                        Be(milliseconds, 4) + Bytes(80, '\0'));
    return Atom("ftyp", "M4A " + Be(0, 4) + "M4A isom") +
           Atom("moov", mvhd + trak + Atom("udta", meta)) + Atom("mdat", Bytes(32, '\0'));
}

// ---- ASF: header object with file and stream properties and tags ----

inline Bytes Guid(const char* hex) {
    // "8CABDCA1-A947-11CF-8EE4-00C00C205365" in its on-disk byte order.
    auto byte = [&](int i) {
        auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
        return static_cast<char>(nibble(hex[i]) * 16 + nibble(hex[i + 1]));
    };
    Bytes g;
    for (int i : {6, 4, 2, 0, 11, 9, 16, 14, 19, 21, 24, 26, 28, 30, 32, 34})
        g += byte(i);
    return g;
}
inline Bytes AsfObject(const char* guid, const Bytes& body) {
    return Guid(guid) + Le(24 + body.size(), 8) + body;
}

struct AsfAttribute {
    std::wstring name;
    int type; // 0 string, 1 bytes, 2 bool, 3 DWORD, 4 QWORD, 5 WORD
    Bytes value;
};
inline Bytes AsfString(const std::wstring& text) {
    return Utf16Le(text) + Bytes(2, '\0');
}

// Duration and preroll in 100-ns units and milliseconds; audio at 16,000
// bytes a second (128 kbit/s).
inline Bytes Asf(std::uint64_t duration, const std::vector<std::wstring>& description,
                 const std::vector<AsfAttribute>& attributes) {
    const Bytes fileProperties =
        AsfObject("8CABDCA1-A947-11CF-8EE4-00C00C205365",
                  Bytes(16, '\0') + Le(0, 8) + Le(0, 8) + Le(0, 8) + Le(duration, 8) +
                      Le(duration, 8) + Le(0, 8) + Le(2, 4) + Le(0, 4) + Le(0, 4) + Le(128000, 4));
    const Bytes waveFormat =
        Le(0x161, 2) + Le(1, 2) + Le(8000, 4) + Le(16000, 4) + Le(2, 2) + Le(16, 2) + Le(0, 2);
    const Bytes streamProperties =
        AsfObject("B7DC0791-A9B7-11CF-8EE6-00C00C205365",
                  Guid("F8699E40-5B4D-11CF-A8FD-00805F5C442B") +
                      Guid("20FB5700-5B55-11CF-A8FD-00805F5C442B") + Le(0, 8) +
                      Le(waveFormat.size(), 4) + Le(0, 4) + Le(1, 2) + Le(0, 4) + waveFormat);
    Bytes lengths, texts;
    for (const auto& text : description) {
        lengths += Le(AsfString(text).size(), 2);
        texts += AsfString(text);
    }
    const Bytes content = AsfObject("75B22633-668E-11CF-A6D9-00AA0062CE6C", lengths + texts);
    Bytes extended = Le(attributes.size(), 2);
    for (const auto& a : attributes)
        extended += Le(AsfString(a.name).size(), 2) + AsfString(a.name) + Le(a.type, 2) +
                    Le(a.value.size(), 2) + a.value;
    const Bytes extendedContent = AsfObject("D2D0A440-E307-11D2-97F0-00A0C95EA850", extended);
    const Bytes objects = fileProperties + streamProperties + content + extendedContent;
    return AsfObject("75B22630-668E-11CF-A6D9-00AA0062CE6C",
                     Le(4, 4) + Bytes("\x01\x02", 2) + objects);
}

} // namespace mediafixtures
