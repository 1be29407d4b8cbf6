#include <KelmLibraryUtils/FileUtils.h>
#include <KelmLibraryUtils/ShellLinkReader.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using KelmLibraryUtils::FileUtils;
using KelmLibraryUtils::SHELLLINKITEM;
using KelmLibraryUtils::ShellLinkReader;

namespace {

using Bytes = std::vector<unsigned char>;

enum : std::uint32_t {
    HasIdList = 0x1,
    HasLinkInfo = 0x2,
    HasName = 0x4,
    HasRelativePath = 0x8,
    HasWorkingDir = 0x10,
    HasArguments = 0x20,
    HasIconLocation = 0x40,
    IsUnicode = 0x80,
    ForceNoLinkInfo = 0x100,
};

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = (v >> (8 * i)) & 0xFF;
}

void Append(Bytes& b, const Bytes& more) {
    b.insert(b.end(), more.begin(), more.end());
}

Bytes Ansi(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes Utf16(const std::wstring& text) {
    Bytes b;
    for (const wchar_t c : text) {
        if (c >= 0x10000) {
            Put16(b, 0xD800 + ((c - 0x10000) >> 10));
            Put16(b, 0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            Put16(b, c);
        }
    }
    return b;
}

Bytes Zero(Bytes b, std::size_t width) {
    b.insert(b.end(), width, 0);
    return b;
}

// The fixed part of a LinkInfo followed by its strings; the offsets are
// filled in as the strings are appended.
Bytes LocalLinkInfo(const std::string& base, const std::string& suffix,
                    const std::wstring* unicodeBase = nullptr) {
    const std::uint32_t headerSize = unicodeBase ? 0x24 : 0x1C;
    Bytes info(headerSize, 0);
    Set32(info, 4, headerSize);
    Set32(info, 8, 0x1); // volume id and local base path
    Set32(info, 12, static_cast<std::uint32_t>(info.size()));
    Put32(info, 0x11); // volume id: size, drive type, serial, label offset, empty label
    Put32(info, 3);
    Put32(info, 0x1234);
    Put32(info, 0x10);
    info.push_back(0);
    Set32(info, 16, static_cast<std::uint32_t>(info.size()));
    Append(info, Zero(Ansi(base), 1));
    Set32(info, 24, static_cast<std::uint32_t>(info.size()));
    Append(info, Zero(Ansi(suffix), 1));
    if (unicodeBase) {
        Set32(info, 28, static_cast<std::uint32_t>(info.size()));
        Append(info, Zero(Utf16(*unicodeBase), 2));
        Set32(info, 32, static_cast<std::uint32_t>(info.size()));
        Append(info, Zero({}, 2));
    }
    Set32(info, 0, static_cast<std::uint32_t>(info.size()));
    return info;
}

Bytes NetworkLinkInfo(const std::string& netName, const std::string& suffix) {
    Bytes info(0x1C, 0);
    Set32(info, 4, 0x1C);
    Set32(info, 8, 0x2); // network link and path suffix
    Set32(info, 20, static_cast<std::uint32_t>(info.size()));
    Bytes link;
    Put32(link, static_cast<std::uint32_t>(0x14 + netName.size() + 1));
    Put32(link, 0);
    Put32(link, 0x14);
    Put32(link, 0);
    Put32(link, 0x20000);
    Append(link, Zero(Ansi(netName), 1));
    Append(info, link);
    Set32(info, 24, static_cast<std::uint32_t>(info.size()));
    Append(info, Zero(Ansi(suffix), 1));
    Set32(info, 0, static_cast<std::uint32_t>(info.size()));
    return info;
}

Bytes EnvironmentBlock(const std::wstring& target) {
    Bytes block;
    Put32(block, 0x314);
    Put32(block, 0xA0000001);
    Bytes ansi(target.begin(), target.end());
    ansi.resize(260, 0);
    Append(block, ansi);
    Bytes unicode = Utf16(target);
    unicode.resize(520, 0);
    Append(block, unicode);
    return block;
}

struct LinkBuilder {
    std::uint32_t flags = IsUnicode;
    Bytes idList;
    Bytes linkInfo;
    std::vector<std::wstring> strings; // in the order of the flags that are set
    Bytes extra;
    bool terminal = true;

    std::size_t LinkInfoAt() const { return 0x4C + (flags & HasIdList ? 2 + idList.size() : 0); }

    Bytes Build() const {
        Bytes b;
        Put32(b, 0x4C);
        Append(b, {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00,
                   0x00, 0x00, 0x46});
        Put32(b, flags);
        b.resize(0x4C, 0);
        if (flags & HasIdList) {
            Put16(b, static_cast<std::uint32_t>(idList.size()));
            Append(b, idList);
        }
        Append(b, linkInfo);
        for (const auto& s : strings) {
            Put16(b, static_cast<std::uint32_t>(s.size()));
            Append(b, flags & IsUnicode ? Utf16(s) : Bytes(s.begin(), s.end()));
        }
        Append(b, extra);
        if (terminal)
            Put32(b, 0);
        return b;
    }
};

std::wstring Target(const Bytes& b) {
    return ShellLinkReader::GetTargetPath(b.data(), b.size());
}

// A link as Windows writes one: an item id list, an ANSI link info and
// Unicode string data.
LinkBuilder TypicalLink() {
    LinkBuilder link;
    link.flags = HasIdList | HasLinkInfo | HasName | HasArguments | IsUnicode;
    link.idList = {0x14, 0x00, 0x1F, 0x50, 0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69,
                   0x10, 0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D, 0x00, 0x00};
    link.linkInfo = LocalLinkInfo("C:\\x\\y.txt", "");
    link.strings = {L"説明", L"--flag"};
    return link;
}

} // namespace

TEST(AShellLink, givesTheLocalTargetAsStored) {
    EXPECT_EQ(Target(TypicalLink().Build()), L"C:\\x\\y.txt");

    LinkBuilder split = TypicalLink();
    split.linkInfo = LocalLinkInfo("C:\\x\\", "y.txt");
    EXPECT_EQ(Target(split.Build()), L"C:\\x\\y.txt");
}

TEST(AShellLink, prefersTheUnicodeBasePath) {
    const std::wstring unicode = L"C:\\データ\\報告😀.docx";
    LinkBuilder link = TypicalLink();
    link.linkInfo = LocalLinkInfo("C:\\????\\???.docx", "", &unicode);
    EXPECT_EQ(Target(link.Build()), unicode);
}

TEST(AShellLink, readsAnsiPathsInTheJapaneseCodePage) {
    LinkBuilder link = TypicalLink();
    link.linkInfo = LocalLinkInfo("C:\\\x93\xFA\x96\x7B\\a.txt", ""); // 日本 in Shift-JIS
    EXPECT_EQ(Target(link.Build()), L"C:\\日本\\a.txt");
}

TEST(AShellLink, joinsANetworkShareWithItsSuffix) {
    LinkBuilder link = TypicalLink();
    link.linkInfo = NetworkLinkInfo("\\\\srv\\share", "docs\\a.txt");
    EXPECT_EQ(Target(link.Build()), L"\\\\srv\\share\\docs\\a.txt");
    link.linkInfo = NetworkLinkInfo("\\\\srv\\share", "");
    EXPECT_EQ(Target(link.Build()), L"\\\\srv\\share");
}

TEST(AShellLink, readsEveryStringOfTheStringData) {
    for (const std::uint32_t encoding : {std::uint32_t{IsUnicode}, std::uint32_t{0}}) {
        LinkBuilder link;
        link.flags =
            HasName | HasRelativePath | HasWorkingDir | HasArguments | HasIconLocation | encoding;
        link.strings = {L"name", L"..\\rel.txt", L"C:\\work", L"-a -b", L"%SystemRoot%\\x.ico"};
        const Bytes bytes = link.Build();
        SHELLLINKITEM item;
        ASSERT_EQ(ShellLinkReader::Parse(bytes.data(), bytes.size(), item), 1) << encoding;
        EXPECT_EQ(item.name, L"name");
        EXPECT_EQ(item.relativePath, L"..\\rel.txt");
        EXPECT_EQ(item.workingDir, L"C:\\work");
        EXPECT_EQ(item.arguments, L"-a -b");
        EXPECT_EQ(item.iconLocation, L"%SystemRoot%\\x.ico");
        EXPECT_EQ(item.targetPath, L"");
    }
}

TEST(AShellLink, fallsBackToTheEnvironmentTarget) {
    LinkBuilder link;
    link.flags = IsUnicode;
    link.extra = EnvironmentBlock(L"%windir%\\notepad.exe");
    EXPECT_EQ(Target(link.Build()), L"%windir%\\notepad.exe");

    link.flags = HasLinkInfo | IsUnicode; // the link info wins over it
    link.linkInfo = LocalLinkInfo("C:\\a.txt", "");
    EXPECT_EQ(Target(link.Build()), L"C:\\a.txt");

    link.flags |= ForceNoLinkInfo;
    EXPECT_EQ(Target(link.Build()), L"%windir%\\notepad.exe");
}

TEST(AShellLink, acceptsALinkWithoutTheTerminalBlock) {
    LinkBuilder link = TypicalLink();
    link.terminal = false;
    EXPECT_EQ(Target(link.Build()), L"C:\\x\\y.txt");
}

TEST(ACorruptShellLink, givesNothingWhenTruncatedAnywhere) {
    const Bytes full = TypicalLink().Build();
    for (std::size_t size = 0; size < full.size(); ++size) {
        const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
        const std::wstring expected = size == full.size() - 4 ? L"C:\\x\\y.txt" : L"";
        EXPECT_EQ(Target(cut), expected) << size;
    }
    EXPECT_EQ(ShellLinkReader::GetTargetPath(nullptr, 100), L"");
}

TEST(ACorruptShellLink, givesNothingForBadOffsetsAndSizes) {
    const LinkBuilder typical = TypicalLink();
    const Bytes full = typical.Build();
    const std::size_t info = typical.LinkInfoAt();
    struct {
        const char* what;
        std::size_t at;
        std::uint32_t value;
        int width;
    } cases[] = {
        {"header size", 0, 0x4D, 4},
        {"class id", 4, 0x00021402, 4},
        {"id list size", 0x4C, 0xFFFF, 2},
        {"link info size", info, 0xFFFFFFFF, 4},
        {"link info size too small", info, 4, 4},
        {"link info header size", info + 4, 0xFFFFFFFF, 4},
        {"link info header too small", info + 4, 0x10, 4},
        {"base path offset", info + 16, 0xFFFFFFF0, 4},
        {"suffix offset", info + 24, static_cast<std::uint32_t>(typical.linkInfo.size()), 4},
        {"string count", info + typical.linkInfo.size(), 0xFFFF, 2},
    };
    for (const auto& c : cases) {
        Bytes bad = full;
        for (int i = 0; i < c.width; ++i)
            bad[c.at + i] = (c.value >> (8 * i)) & 0xFF;
        EXPECT_EQ(Target(bad), L"") << c.what;
    }
}

TEST(ACorruptShellLink, givesNothingForUnterminatedOrMisplacedStrings) {
    LinkBuilder link = TypicalLink();
    link.linkInfo.back() = 'x'; // the suffix runs off the end of the link info
    EXPECT_EQ(Target(link.Build()), L"");

    const std::wstring unicode = L"C:\\a";
    link.linkInfo = LocalLinkInfo("C:\\a", "", &unicode);
    Set32(link.linkInfo, 28, static_cast<std::uint32_t>(link.linkInfo.size() - 1));
    EXPECT_EQ(Target(link.Build()), L"");

    link.linkInfo = NetworkLinkInfo("\\\\srv\\share", "");
    Set32(link.linkInfo, 0x1C, 0x100000); // network link larger than the link info
    EXPECT_EQ(Target(link.Build()), L"");

    LinkBuilder extra;
    extra.extra = EnvironmentBlock(L"x");
    Set32(extra.extra, 0, 0x400); // block runs past the end
    EXPECT_EQ(Target(extra.Build()), L"");
}

TEST(AShellLinkFile, isReadByNameAndSize) {
    kelmtest::TempDir dir{"shelllink"};
    const Bytes bytes = TypicalLink().Build();
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(FileUtils::GetTargetPath(dir.MakeFile("a.lnk", text)), L"C:\\x\\y.txt");
    EXPECT_EQ(FileUtils::GetTargetPath(dir.MakeFile("b.LNK", text)), L"C:\\x\\y.txt");
    EXPECT_EQ(FileUtils::GetTargetPath(dir.MakeFile("c.txt", text)), L"");
    EXPECT_EQ(FileUtils::GetTargetPath(dir.MakeFile("d.lnk", "not a link")), L"");
    EXPECT_EQ(FileUtils::GetTargetPath(dir.MakeFile("e.lnk", "")), L"");
    const std::string huge = text + std::string(ShellLinkReader::kMaxFileSize, '\0');
    EXPECT_EQ(FileUtils::GetTargetPath(dir.MakeFile("big.lnk", huge)), L"");
}
