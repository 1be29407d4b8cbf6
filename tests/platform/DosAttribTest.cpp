#include <KelmPlatform/DosAttrib.h>

#include <gtest/gtest.h>

using namespace KelmPlatform;

namespace {

// Little-endian NDR builder for hand-made blobs of every version.
struct Blob {
    std::string bytes;
    Blob& Str(const std::string& s) {
        bytes += s;
        bytes += '\0';
        return *this;
    }
    Blob& Pad(size_t to) {
        while (bytes.size() % to)
            bytes += '\0';
        return *this;
    }
    Blob& U16(unsigned v) {
        Pad(2);
        bytes += char(v & 0xFF);
        bytes += char(v >> 8);
        return *this;
    }
    Blob& U32(std::uint32_t v) {
        Pad(4);
        for (int i = 0; i < 4; ++i)
            bytes += char((v >> (8 * i)) & 0xFF);
        return *this;
    }
    Blob& U64(std::uint64_t v) {
        U32(std::uint32_t(v));
        return U32(std::uint32_t(v >> 32));
    }
    Blob& Header(const std::string& hex, unsigned version) {
        return Str(hex).U16(version).U16(version);
    }
};

constexpr FileTime kCreated = 0x01D9'1234'5678'9ABCull;

} // namespace

TEST(ADosAttribBlob, isWrittenAsSambaVersionThree) {
    const std::string blob = EncodeDosAttrib(0x21, kCreated);
    const std::string expected = Blob()
                                     .Header("0x21", 3)
                                     .U32(0x11) // valid: attrib | create time
                                     .U32(0x21)
                                     .U32(0) // ea_size
                                     .U64(0) // size
                                     .U64(0) // alloc_size
                                     .U64(kCreated)
                                     .U64(0) // change_time
                                     .bytes;
    EXPECT_EQ(blob, expected);
    // "0x21\0" is five bytes: one pad byte, two version words, then the
    // fields from offset 12.
    ASSERT_EQ(blob.size(), 56u);
    EXPECT_EQ(blob.substr(0, 12), std::string("0x21\0\0\3\0\3\0\0\0", 12));
}

TEST(ADosAttribBlob, isReadInEveryVersion) {
    struct Case {
        const char* name;
        std::string bytes;
        bool hasAttributes;
        std::uint32_t attributes;
        FileTime created;
    } cases[] = {
        {"legacy text", "0x22", true, 0x22, 0},
        {"v1", Blob().Header("0x20", 1).U32(0x20).U32(0).U64(0).U64(0).U64(kCreated).U64(0).bytes,
         true, 0x20, kCreated},
        {"v2", Blob().Header("0x2", 2).U32(0).U32(0x2).U32(0).U64(0).U64(0).U64(kCreated).bytes,
         true, 0x2, kCreated},
        {"v3", EncodeDosAttrib(0x27, kCreated), true, 0x27, kCreated},
        {"v3 attributes only",
         Blob().Header("0x1", 3).U32(0x1).U32(0x1).U32(0).U64(0).U64(0).U64(kCreated).U64(0).bytes,
         true, 0x1, 0},
        {"v4", Blob().Header("", 4).U32(0x11).U32(0x4).U64(7).U64(kCreated).bytes, true, 0x4,
         kCreated},
        {"v5", Blob().Header("", 5).U32(0x11).U32(0x2020).U64(kCreated).bytes, true, 0x2020,
         kCreated},
        {"v5 time only", Blob().Header("", 5).U32(0x10).U32(0x2).U64(kCreated).bytes, false, 0,
         kCreated},
        {"v5 zero time", Blob().Header("", 5).U32(0x11).U32(0x2).U64(0).bytes, true, 0x2, 0},
    };
    for (const auto& c : cases) {
        const auto info = DecodeDosAttrib(c.bytes);
        ASSERT_TRUE(info) << c.name;
        EXPECT_EQ(info->hasAttributes, c.hasAttributes) << c.name;
        EXPECT_EQ(info->attributes, c.attributes) << c.name;
        EXPECT_EQ(info->createTime, c.created) << c.name;
    }
}

TEST(ADosAttribBlob, refusesTruncatedOrUnknownValues) {
    const std::string full = EncodeDosAttrib(0x20, kCreated);
    // Cut anywhere after the hex text (a bare "0x20" is the legacy form).
    for (size_t length = 5; length < 40; ++length)
        EXPECT_FALSE(DecodeDosAttrib(full.substr(0, length))) << length;
    EXPECT_FALSE(DecodeDosAttrib(""));
    EXPECT_FALSE(DecodeDosAttrib("0x"));
    EXPECT_FALSE(DecodeDosAttrib(Blob().Header("", 9).U32(1).U32(1).U64(1).bytes));
    EXPECT_FALSE(DecodeDosAttrib(Blob().Str("").U16(3).U16(4).bytes)); // versions disagree
    EXPECT_FALSE(DecodeDosAttrib("0xzz"));
    EXPECT_FALSE(DecodeDosAttrib(std::string(300, '\xff')));
}
