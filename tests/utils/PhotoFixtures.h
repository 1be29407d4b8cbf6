#pragma once
// Small photos made by the tests: TIFF structures built byte by byte (so the
// readers are not checked only against Exiv2's own writer), JPEGs from Qt's
// image writer with an EXIF segment put in, and access to their bytes.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace photofixtures {

struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::string data;
};

inline std::string U16(std::uint32_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}
inline std::string U32(std::uint32_t v) {
    return U16(v & 0xFFFF) + U16(v >> 16);
}

inline Entry Ascii(std::uint16_t tag, const std::string& text) {
    return {tag, 2, static_cast<std::uint32_t>(text.size() + 1), text + std::string(1, '\0')};
}
inline Entry Short(std::uint16_t tag, std::uint16_t v) {
    return {tag, 3, 1, U16(v)};
}
inline Entry Long(std::uint16_t tag, std::uint32_t v) {
    return {tag, 4, 1, U32(v)};
}
inline Entry Rational(std::uint16_t tag, std::uint32_t n, std::uint32_t d) {
    return {tag, 5, 1, U32(n) + U32(d)};
}
inline Entry Undefined(std::uint16_t tag, const std::string& bytes) {
    return {tag, 7, static_cast<std::uint32_t>(bytes.size()), bytes};
}

// A little-endian TIFF: `strip` right after the header (at offset 8), then
// IFD0, then the EXIF IFD when `exif` has entries, then the long values.
inline std::string Tiff(std::vector<Entry> ifd0, const std::vector<Entry>& exif,
                        const std::string& strip = {}) {
    std::string head = "II*";
    head += '\0';
    std::string body = strip;
    if (body.size() % 2)
        body += '\0';
    const std::uint32_t ifd0Offset = 8 + static_cast<std::uint32_t>(body.size());
    const std::uint32_t ifd0Size =
        2 + 12 * static_cast<std::uint32_t>(ifd0.size() + !exif.empty()) + 4;
    const std::uint32_t exifOffset = ifd0Offset + ifd0Size;
    const std::uint32_t exifSize =
        exif.empty() ? 0 : 2 + 12 * static_cast<std::uint32_t>(exif.size()) + 4;
    if (!exif.empty())
        ifd0.push_back(Long(0x8769, exifOffset));
    std::sort(ifd0.begin(), ifd0.end(),
              [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
    std::string values;
    const std::uint32_t valuesOffset = exifOffset + exifSize;
    auto ifd = [&](const std::vector<Entry>& entries) {
        std::string out = U16(static_cast<std::uint32_t>(entries.size()));
        for (const Entry& e : entries) {
            out += U16(e.tag) + U16(e.type) + U32(e.count);
            if (e.data.size() <= 4) {
                out += e.data + std::string(4 - e.data.size(), '\0');
            } else {
                out += U32(valuesOffset + static_cast<std::uint32_t>(values.size()));
                values += e.data;
                if (values.size() % 2)
                    values += '\0';
            }
        }
        return out + U32(0);
    };
    std::string tables = ifd(ifd0);
    if (!exif.empty())
        tables += ifd(exif);
    return head + U32(ifd0Offset) + body + tables + values;
}

// An 8-bit grey TIFF of `width` x `height` whose pixels are `strip`.
inline std::string GreyTiff(int width, int height, const std::string& strip,
                            std::vector<Entry> more = {}, const std::vector<Entry>& exif = {}) {
    more.push_back(Long(256, static_cast<std::uint32_t>(width)));
    more.push_back(Long(257, static_cast<std::uint32_t>(height)));
    more.push_back(Short(258, 8));
    more.push_back(Short(259, 1));
    more.push_back(Short(262, 1));
    more.push_back(Long(273, 8));
    more.push_back(Short(277, 1));
    more.push_back(Long(278, static_cast<std::uint32_t>(height)));
    more.push_back(Long(279, static_cast<std::uint32_t>(strip.size())));
    return Tiff(more, exif, strip);
}

// A JPEG of `width` x `height` from Qt's writer (JFIF, no EXIF).
inline std::string PlainJpeg(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 4 % 256, y * 5 % 256, (x + y) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    if (!writer.write(image))
        return {};
    return bytes.toStdString();
}

// `jpeg` with an APP1 EXIF segment holding `tiff`, right after SOI.
inline std::string WithExif(const std::string& jpeg, const std::string& tiff) {
    const std::string payload = std::string("Exif\0\0", 6) + tiff;
    const std::uint32_t length = static_cast<std::uint32_t>(payload.size() + 2);
    std::string segment = "\xFF\xE1";
    segment += static_cast<char>(length >> 8);
    segment += static_cast<char>(length & 0xFF);
    return jpeg.substr(0, 2) + segment + payload + jpeg.substr(2);
}

// The compressed image data: from the start-of-scan marker to the end.
inline std::string ScanData(const std::string& jpeg) {
    const size_t sos = jpeg.find("\xFF\xDA");
    return sos == std::string::npos ? std::string() : jpeg.substr(sos);
}

// `jpeg` with the size in its baseline frame header replaced.
inline std::string WithFrameSize(std::string jpeg, int width, int height) {
    const size_t sof = jpeg.find("\xFF\xC0");
    if (sof == std::string::npos)
        return {};
    jpeg[sof + 5] = static_cast<char>(height >> 8);
    jpeg[sof + 6] = static_cast<char>(height & 0xFF);
    jpeg[sof + 7] = static_cast<char>(width >> 8);
    jpeg[sof + 8] = static_cast<char>(width & 0xFF);
    return jpeg;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// What exiftool prints for one tag ("-" when the tag is missing); empty
// with `found` false when exiftool cannot be run.
inline std::string ExifTool(const std::string& tag, const std::string& path, bool& found) {
    found = false;
    const std::string command = "exiftool -s -s -s -f -" + tag + " '" + path + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {};
    std::string out;
    char buffer[256];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    found = pclose(pipe) == 0;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

inline bool HaveExifTool() {
    return system("exiftool -ver >/dev/null 2>&1") == 0;
}

} // namespace photofixtures
