#include <KelmLibraryUtils/PDFUtils.h>
#include <KelmLibraryUtils/PdfDateScanner.h>
#include <KelmPlatform/NativeName.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

using KelmLibraryUtils::PdfDateScanner;
using KelmLibraryUtils::PDFUtils;

namespace {

using namespace std::string_literals;

struct Dates {
    std::wstring created;
    std::wstring modified;
    bool operator==(const Dates&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Dates& d) {
    return out << "{" << KelmPlatform::ToNative(d.created) << ", "
               << KelmPlatform::ToNative(d.modified) << "}";
}

const std::uint8_t* Bytes(const std::string& text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

Dates ScanWhole(const std::string& text) {
    Dates d;
    PdfDateScanner::Scan(Bytes(text), text.size(), d.created, d.modified);
    return d;
}

// Feeds the text in pieces of `piece` bytes.
Dates ScanInPieces(const std::string& text, std::size_t piece) {
    PdfDateScanner scanner;
    for (std::size_t at = 0; at < text.size(); at += piece)
        scanner.Feed(Bytes(text) + at, std::min(piece, text.size() - at));
    scanner.Finish();
    return {scanner.Created(), scanner.Modified()};
}

// A small PDF that a structural reader accepts: catalog, empty page tree,
// information dictionary, cross-reference table and trailer.
std::string WellFormedPdf(const std::string& info) {
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    const std::string objects[] = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [] /Count 0 >>",
        info,
    };
    for (std::size_t i = 0; i < 3; ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 4\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size 4 /Root 1 0 R /Info 3 0 R >>\nstartxref\n" + std::to_string(xref) +
           "\n%%EOF\n";
    return pdf;
}

const std::string kInfo =
    "<< /CreationDate (D:20200102030405+09'00') /ModDate (D:20210304050607Z) >>";

} // namespace

TEST(APdfDateScanner, followsTheRunRuleOfBothKeys) {
    struct Case {
        const char* what;
        std::string text;
        Dates expected;
    };
    const Case cases[] = {
        {"both dates", "%PDF-1.4 " + kInfo, {L"20200102030405", L"20210304050607"}},
        {"key order does not matter",
         "/ModDate (D:20210304050607) /CreationDate (D:20200102030405)",
         {L"20200102030405", L"20210304050607"}},
        {"no keys", "%PDF-1.4 nothing here", {}},
        {"a later run with the key",
         "abc\0/CreationDate(D:20200102030405)"s,
         {L"20200102030405", L""}},
        {"the first run with the key decides, D: or not",
         "/CreationDate (none)\0/CreationDate (D:20200102030405)"s,
         {}},
        {"D: before the key does not count",
         "(D:19990101000000) /ModDate (D:20210304050607)",
         {L"", L"20210304050607"}},
        {"D: of a later key in the same run",
         "/CreationDate () /ModDate (D:20210304050607)",
         {L"20210304050607", L"20210304050607"}},
        {"a zero byte cuts the date",
         "/CreationDate (D:2020\0"
         "0102030405)"s,
         {L"2020", L""}},
        {"a date at the very end", "/ModDate (D:2021", {L"", L"2021"}},
        {"nothing after D:", "/ModDate (D:", {}},
        {"the time zone is dropped", "/ModDate(D:20210304050607-05'00')", {L"", L"20210304050607"}},
        {"a broken key is no key", "/CreationDat /ModDat D:20200102030405", {}},
        {"a key right after a partial one",
         "//CreationDate/ModDate(D:20200102030405)",
         {L"20200102030405", L"20200102030405"}},
        {"bytes that are no UTF-8 stay one character each",
         "/ModDate (D:\xff"
         "2021030405060789)",
         {L"", L"\xdcff"
               "2021030405060"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScanWhole(c.text), c.expected) << c.what;
}

TEST(APdfDateScanner, findsKeysAndMarksSplitAcrossPieces) {
    const std::string text =
        "%PDF-1.7\n\0stream\0"s + kInfo + "\0/CreationDate (D:19990101000000)"s;
    const Dates whole = ScanWhole(text);
    ASSERT_EQ(whole, (Dates{L"20200102030405", L"20210304050607"}));
    for (std::size_t piece = 1; piece <= text.size(); ++piece)
        EXPECT_EQ(ScanInPieces(text, piece), whole) << "pieces of " << piece;
    // Every single split point.
    for (std::size_t split = 0; split <= text.size(); ++split) {
        PdfDateScanner scanner;
        scanner.Feed(Bytes(text), split);
        scanner.Feed(Bytes(text) + split, text.size() - split);
        scanner.Finish();
        EXPECT_EQ((Dates{scanner.Created(), scanner.Modified()}), whole) << "split at " << split;
    }
}

TEST(APdfDateScanner, isDoneOnceBothDatesAreDecided) {
    PdfDateScanner scanner;
    const std::string head = "/CreationDate (D:20200102030405) /ModDate (D:20210304050607)"s +
                             std::string(60, ' ') + "\0"s;
    scanner.Feed(Bytes(head), head.size());
    EXPECT_TRUE(scanner.IsDone());
    const std::string later = "/CreationDate (D:19990101000000)";
    scanner.Feed(Bytes(later), later.size());
    scanner.Finish();
    EXPECT_EQ(scanner.Created(), L"20200102030405");
}

class PdfFiles : public testing::Test {
protected:
    kelmtest::TempDir dir{"pdf"};

    Dates Read(const std::wstring& path, int expected = 1) {
        Dates d{L"stale", L"stale"};
        EXPECT_EQ(PDFUtils::ReadPDFDates(path, d.created, d.modified), expected);
        return d;
    }
};

TEST_F(PdfFiles, areTheRegularFilesNamedPdfThatStartWithTheSignature) {
    EXPECT_EQ(PDFUtils::IsPDFFile(dir.MakeFile("a.pdf", "%PDF-1.4\n")), 1);
    EXPECT_EQ(PDFUtils::IsPDFFile(dir.MakeFile("b.PDF", "%PDF-")), 1);
    EXPECT_EQ(PDFUtils::IsPDFFile(dir.MakeFile("c.txt", "%PDF-1.4\n")), 0);
    EXPECT_EQ(PDFUtils::IsPDFFile(dir.MakeFile("d.pdf", "%PS-Adobe")), 0);
    EXPECT_EQ(PDFUtils::IsPDFFile(dir.MakeFile("e.pdf", "%PDF")), 0);
    EXPECT_EQ(PDFUtils::IsPDFFile(dir.MakeFile("f.pdf", "")), 0);
    EXPECT_EQ(PDFUtils::IsPDFFile(dir.MakeFolder("g.pdf")), 0);
    EXPECT_EQ(PDFUtils::IsPDFFile(dir.Child(L"missing.pdf")), 0);
    EXPECT_EQ(Read(dir.Child(L"c.txt"), 0), Dates{});
    EXPECT_EQ(Read(dir.Child(L"g.pdf"), 0), Dates{});
}

TEST_F(PdfFiles, giveBothDatesFromOneRead) {
    const std::wstring path = dir.MakeFile("doc.pdf", WellFormedPdf(kInfo));
    EXPECT_EQ(Read(path), (Dates{L"20200102030405", L"20210304050607"}));
    EXPECT_EQ(PDFUtils::GetPDFCreatedDateTime(path), L"20200102030405");
    EXPECT_EQ(PDFUtils::GetPDFModifiedDateTime(path), L"20210304050607");
    EXPECT_EQ(Read(dir.MakeFile("plain.pdf", "%PDF-1.4\n%%EOF\n")), Dates{});
}

TEST_F(PdfFiles, giveWhatATruncatedFileStillHas) {
    const std::string full = WellFormedPdf(kInfo);
    const std::string cut = full.substr(0, full.find("030405+09"));
    EXPECT_EQ(Read(dir.MakeFile("cut.pdf", cut)), (Dates{L"20200102", L""}));
}

// Keys and marks straddling the reader's piece boundaries, in a run that is
// many pieces long, and a run of several megabytes with the key near its
// start and another near its end.
TEST_F(PdfFiles, findKeysAcrossReadBoundariesAndInHugeRuns) {
    const std::size_t chunk = PDFUtils::kReadChunk;
    std::string text = "%PDF-1.4\n";
    text.resize(chunk - 5, 'x');
    text += "/CreationDate ";
    text.resize(2 * chunk - 1, 'y');
    text += "D:20200102030405";
    text.resize(3 * chunk - 3, 'z');
    text += "/ModDate (D:20210304050607)";
    EXPECT_EQ(Read(dir.MakeFile("edges.pdf", text)), (Dates{L"20200102030405", L"20210304050607"}));

    std::string huge = "%PDF-1.4\n/CreationDate (D:20200102030405)";
    huge.resize(8 * 1024 * 1024, 'a');
    huge += "/ModDate (D:20210304050607)";
    EXPECT_EQ(Read(dir.MakeFile("huge.pdf", huge)), (Dates{L"20200102030405", L"20210304050607"}));
}

TEST_F(PdfFiles, areReadWithoutChangingTheAccessedTime) {
    const std::wstring path = dir.MakeFile("old.pdf", WellFormedPdf(kInfo));
    const std::string native = KelmPlatform::ToNative(path);
    const timespec times[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, native.c_str(), times, 0), 0);
    Read(path);
    struct stat st {};
    ASSERT_EQ(stat(native.c_str(), &st), 0);
    EXPECT_EQ(st.st_atim.tv_sec, 1'000'000'000);
}

TEST_F(PdfFiles, agreeWithExifTool) {
    if (std::system("exiftool -ver >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "exiftool is not installed";
    const std::wstring path = dir.MakeFile("doc.pdf", WellFormedPdf(kInfo));
    FILE* pipe = popen(
        ("exiftool -s -s -s -CreateDate '" + KelmPlatform::ToNative(path) + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[128] = {};
    const bool got = std::fgets(line, sizeof line, pipe) != nullptr;
    pclose(pipe);
    ASSERT_TRUE(got);
    // "2020:01:02 03:04:05+09:00"
    std::string digits;
    for (const char* c = line; *c && digits.size() < 14; ++c) {
        if (*c >= '0' && *c <= '9')
            digits += *c;
    }
    EXPECT_EQ(KelmPlatform::FromNative(digits), PDFUtils::GetPDFCreatedDateTime(path));
}
