#include <KelmLibraryUtils/WMediaUtils.h>

#include "MediaFixtures.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <random>
#include <sys/stat.h>

using KelmLibraryUtils::MEDIAITEM;
using KelmLibraryUtils::WMediaUtils;
using namespace mediafixtures;

namespace {

using Expected = std::map<std::wstring, std::wstring>;

// Every attribute text of `item`, checked against `expected`; attributes
// not named there must be empty.
void ExpectValues(const MEDIAITEM& item, const Expected& expected) {
    for (std::size_t i = 0; i < MEDIAITEM::AttributeNames.size(); ++i) {
        const std::wstring name = MEDIAITEM::AttributeNames[i];
        const auto found = expected.find(name);
        EXPECT_EQ(item.Values[i], found == expected.end() ? L"" : found->second)
            << "attribute " << std::string(name.begin(), name.end());
    }
}

MEDIAITEM Read(const std::wstring& path) {
    MEDIAITEM item;
    WMediaUtils::ReadMediaItem(path, item);
    return item;
}

bool AllEmpty(const MEDIAITEM& item) {
    for (const auto& value : item.Values) {
        if (!value.empty())
            return false;
    }
    return item.TrackNumber == 0 && item.Bitrate == 0 && item.Duration == 0;
}

Bytes TaggedMp3(const Bytes& frames, int audioFrames = 40) {
    return Id3Tag(frames) + SilentMpegFrames(audioFrames);
}

// What an independent reader says; empty when exiftool is not installed.
std::string Exiftool(const std::string& tag, const std::string& file) {
    const std::string command = "exiftool -s -s -s -" + tag + " '" + file + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {};
    std::string out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    pclose(pipe);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

bool HasExiftool() {
    return std::system("exiftool -ver >/dev/null 2>&1") == 0;
}

Bytes AllId3Frames() {
    return Id3Text("TIT2", L"星の歌🌟") + Id3Text("TPE1", L"歌手") + Id3Comment(L"よい曲") +
           Id3Text("TCOP", L"© 2021 Kelm") + Id3Text("TALB", L"アルバム") +
           Id3Text("TRCK", L"3/12") + Id3Text("TCON", L"Pop") + Id3Text("TYER", L"2021") +
           Id3Text("TPE2", L"Band") + Id3Text("TCOM", L"Composer") + Id3Text("TEXT", L"Lyricist") +
           Id3Text("TPE3", L"Conductor") + Id3UserText(L"PRODUCER", L"Producer") +
           Id3UserText(L"DIRECTOR", L"Director") + Id3Text("TIT3", L"Subtitle") +
           Id3Text("TPUB", L"Label") + Id3UserText(L"CATEGORY", L"Category") +
           Id3Text("TMOO", L"Calm") + Id3Popularimeter("Windows Media Player 9 Series", 128);
}

} // namespace

TEST(AnMp3File, givesEveryAttributeFromItsId3v2Frames) {
    kelmtest::TempDir dir;
    const auto path = dir.MakeFile("song.mp3", TaggedMp3(AllId3Frames()));
    MEDIAITEM item;
    ASSERT_NE(WMediaUtils::ReadMediaItem(path, item), 0);
    ExpectValues(item, {{L"Title", L"星の歌🌟"},
                        {L"Author", L"歌手"},
                        {L"Description", L"よい曲"},
                        {L"WM/SharedUserRating", L"50"},
                        {L"Copyright", L"© 2021 Kelm"},
                        {L"WM/AlbumTitle", L"アルバム"},
                        {L"WM/TrackNumber", L"3"},
                        {L"WM/Genre", L"Pop"},
                        {L"WM/Year", L"2021"},
                        {L"WM/AlbumArtist", L"Band"},
                        {L"WM/Composer", L"Composer"},
                        {L"WM/Writer", L"Lyricist"},
                        {L"WM/Conductor", L"Conductor"},
                        {L"WM/Producer", L"Producer"},
                        {L"WM/Director", L"Director"},
                        {L"WM/SubTitle", L"Subtitle"},
                        {L"WM/Publisher", L"Label"},
                        {L"WM/Category", L"Category"},
                        {L"WM/Mood", L"Calm"},
                        {L"Bitrate", L"128000"},
                        {L"Duration", std::to_wstring(item.Duration)}});
    EXPECT_EQ(item.TrackNumber, 3u);
    EXPECT_EQ(item.Bitrate, 128000u);
    // 40 frames of 417 bytes at 128 kbit/s: 1042.5 ms.
    EXPECT_NEAR(static_cast<double>(item.Duration), 10'425'000.0, 10'000.0);
}

TEST(AnMp3File, answersSingleAttributesAndNumbers) {
    kelmtest::TempDir dir;
    const auto path = dir.MakeFile("song.mp3", TaggedMp3(AllId3Frames(), 200));
    EXPECT_EQ(WMediaUtils::GetWMMetadataTag(path, L"WM/AlbumTitle"), L"アルバム");
    EXPECT_EQ(WMediaUtils::GetWMMetadataTag(path, L"WM/Lyrics"), L"");
    EXPECT_EQ(WMediaUtils::GetTrackNumber(path), L"3");
    EXPECT_EQ(WMediaUtils::GetBitrate(path), L"128000");
    EXPECT_EQ(WMediaUtils::GetBitrateValue(path), 128000);
    // 200 frames of 417 bytes at 128 kbit/s: 5212.5 ms.
    EXPECT_NEAR(static_cast<double>(WMediaUtils::GetDurationValue(path)), 52'125'000.0, 10'000.0);
    EXPECT_EQ(WMediaUtils::GetDuration(path), std::to_wstring(WMediaUtils::GetDurationValue(path)));
}

TEST(AnMp3File, agreesWithExiftool) {
    if (!HasExiftool())
        GTEST_SKIP() << "exiftool is not installed";
    kelmtest::TempDir dir;
    const auto path = dir.MakeFile("song.mp3", TaggedMp3(AllId3Frames(), 200));
    const std::string native = dir.NativeChild("song.mp3");
    const MEDIAITEM item = Read(path);
    EXPECT_EQ(Utf8(item.Values[1]), Exiftool("Artist", native));
    EXPECT_EQ(Utf8(item.Values[2]), Exiftool("Comment", native));
    EXPECT_EQ(Utf8(item.Values[5]), Exiftool("Album", native));
    EXPECT_EQ(Exiftool("AudioBitrate", native), "128 kbps");
}

TEST(AnId3Popularimeter, mapsOntoTheFiveStarScale) {
    const std::pair<int, const wchar_t*> cases[] = {
        {0, L""},     {1, L"1"},    {31, L"1"},   {32, L"25"},  {64, L"25"},
        {95, L"25"},  {96, L"50"},  {128, L"50"}, {159, L"50"}, {160, L"75"},
        {196, L"75"}, {223, L"75"}, {224, L"99"}, {255, L"99"},
    };
    kelmtest::TempDir dir;
    for (const auto& [popm, expected] : cases) {
        const auto path = dir.MakeFile("rated.mp3", TaggedMp3(Id3Popularimeter("a@b.c", popm)));
        EXPECT_EQ(WMediaUtils::GetWMMetadataTag(path, L"WM/SharedUserRating"), expected)
            << "POPM " << popm;
    }
}

TEST(AnId3Popularimeter, ofWindowsMediaPlayerWinsOverOthers) {
    kelmtest::TempDir dir;
    const auto path =
        dir.MakeFile("rated.mp3", TaggedMp3(Id3Popularimeter("other@example.org", 255) +
                                            Id3Popularimeter("Windows Media Player 9 Series", 1)));
    EXPECT_EQ(WMediaUtils::GetWMMetadataTag(path, L"WM/SharedUserRating"), L"1");
}

TEST(AWavFile, givesItsRiffInfoAndPcmNumbers) {
    kelmtest::TempDir dir;
    const auto path = dir.MakeFile("take.WAV", Wav(32000, {{"INAM", "Title"},
                                                           {"IART", "Artist"},
                                                           {"ICMT", "Comment"},
                                                           {"ICOP", "Copyright"},
                                                           {"IPRD", "Album"},
                                                           {"ITRK", "5"},
                                                           {"IGNR", "Jazz"},
                                                           {"ICRD", "2019-04-01"},
                                                           {"IMUS", "Composer"},
                                                           {"IWRI", "Writer"},
                                                           {"IPRO", "Producer"}}));
    const MEDIAITEM item = Read(path);
    ExpectValues(item, {{L"Title", L"Title"},
                        {L"Author", L"Artist"},
                        {L"Description", L"Comment"},
                        {L"Copyright", L"Copyright"},
                        {L"WM/AlbumTitle", L"Album"},
                        {L"WM/TrackNumber", L"5"},
                        {L"WM/Genre", L"Jazz"},
                        {L"WM/Year", L"2019"},
                        {L"WM/Composer", L"Composer"},
                        {L"WM/Writer", L"Writer"},
                        {L"WM/Producer", L"Producer"},
                        {L"Bitrate", L"128000"},
                        {L"Duration", L"20000000"}});
    EXPECT_EQ(item.TrackNumber, 5u);
}

TEST(AFlacFile, readsVorbisCommentsUnderTheirCommonNames) {
    kelmtest::TempDir dir;
    const auto path = dir.MakeFile(
        "track.flac", Flac(44100 * 3, {L"TITLE=Título", L"ARTIST=Artist", L"ARTIST=Second",
                                       L"DESCRIPTION=Notes", L"TRACKNUMBER=07", L"DATE=2018-02-03",
                                       L"ALBUMARTIST=Various", L"ORGANIZATION=Label",
                                       L"WRITER=Writer", L"MOOD=Happy", L"SUBTITLE=Live"}));
    const MEDIAITEM item = Read(path);
    ExpectValues(item, {{L"Title", L"Título"},
                        {L"Author", L"Artist"},
                        {L"Description", L"Notes"},
                        {L"WM/TrackNumber", L"07"},
                        {L"WM/Year", L"2018"},
                        {L"WM/AlbumArtist", L"Various"},
                        {L"WM/Publisher", L"Label"},
                        {L"WM/Writer", L"Writer"},
                        {L"WM/Mood", L"Happy"},
                        {L"WM/SubTitle", L"Live"},
                        {L"Duration", L"30000000"}});
    EXPECT_EQ(item.TrackNumber, 7u);
}

TEST(AnOpusFile, readsItsTagsAndLengthFromTheOggPages) {
    kelmtest::TempDir dir;
    const auto path =
        dir.MakeFile("voice.opus", Opus(96000, {L"TITLE=声", L"ARTIST=Speaker", L"GENRE=Speech",
                                                L"COMPOSER=Writer", L"CONDUCTOR=Leader"}));
    const MEDIAITEM item = Read(path);
    EXPECT_EQ(item.Values[0], L"声");
    EXPECT_EQ(item.Values[1], L"Speaker");
    EXPECT_EQ(item.Values[7], L"Speech");
    EXPECT_EQ(item.Values[10], L"Writer");
    EXPECT_EQ(item.Values[12], L"Leader");
    EXPECT_EQ(item.Duration, 20'000'000u);
}

TEST(AnMp4File, readsItsItemListAndTrackLength) {
    kelmtest::TempDir dir;
    const Bytes items = Mp4Text("\xA9nam", L"曲名") +
                        Mp4Text("\xA9"
                                "ART",
                                L"Artist") +
                        Mp4Text("\xA9"
                                "cmt",
                                L"Comment") +
                        Mp4Text("cprt", L"Copyright") +
                        Mp4Text("\xA9"
                                "alb",
                                L"Album") +
                        Mp4Track(4, 9) +
                        Mp4Text("\xA9"
                                "gen",
                                L"Rock") +
                        Mp4Text("\xA9"
                                "day",
                                L"2017-01-01T00:00:00Z") +
                        Mp4Text("aART", L"Band") + Mp4Text("\xA9wrt", L"Composer") +
                        Mp4Freeform("CONDUCTOR", L"Conductor") + Mp4Freeform("LABEL", L"Label");
    const auto path = dir.MakeFile("tune.m4a", Mp4(4500, items));
    const MEDIAITEM item = Read(path);
    ExpectValues(item, {{L"Title", L"曲名"},
                        {L"Author", L"Artist"},
                        {L"Description", L"Comment"},
                        {L"Copyright", L"Copyright"},
                        {L"WM/AlbumTitle", L"Album"},
                        {L"WM/TrackNumber", L"4"},
                        {L"WM/Genre", L"Rock"},
                        {L"WM/Year", L"2017"},
                        {L"WM/AlbumArtist", L"Band"},
                        {L"WM/Composer", L"Composer"},
                        {L"WM/Conductor", L"Conductor"},
                        {L"WM/Publisher", L"Label"},
                        {L"Duration", L"45000000"}});
    EXPECT_EQ(item.TrackNumber, 4u);
}

namespace {

Bytes TaggedAsf() {
    return Asf(36'610'000'000ull, {L"Title", L"Author", L"Copyright", L"Description", L"Rating"},
               {
                   {L"WM/SharedUserRating", 3, Le(50, 4)},
                   {L"WM/AlbumTitle", 0, AsfString(L"アルバム")},
                   {L"WM/TrackNumber", 3, Le(7, 4)},
                   {L"WM/Year", 0, AsfString(L"2008")},
                   {L"WM/Genre", 0, AsfString(L"Classical")},
                   {L"WM/Producer", 0, AsfString(L"Producer")},
                   {L"WM/Mood", 0, AsfString(L"Dark")},
                   {L"Test/QWord", 4, Le(12'345'678'901ull, 8)},
                   {L"Test/Word", 5, Le(7, 2)},
                   {L"Test/Bool", 2, Le(1, 4)},
                   {L"Test/Bytes", 1, Bytes("\x01\x02", 2)},
               });
}

} // namespace

TEST(AnAsfFile, givesItsAttributesByTheirOwnNames) {
    kelmtest::TempDir dir;
    const auto path = dir.MakeFile("music.wma", TaggedAsf());
    const MEDIAITEM item = Read(path);
    ExpectValues(item, {{L"Title", L"Title"},
                        {L"Author", L"Author"},
                        {L"Description", L"Description"},
                        {L"WM/SharedUserRating", L"50"},
                        {L"Copyright", L"Copyright"},
                        {L"WM/AlbumTitle", L"アルバム"},
                        {L"WM/TrackNumber", L"7"},
                        {L"WM/Genre", L"Classical"},
                        {L"WM/Year", L"2008"},
                        {L"WM/Producer", L"Producer"},
                        {L"WM/Mood", L"Dark"},
                        {L"Bitrate", L"128000"},
                        {L"Duration", L"36610000000"}});
    EXPECT_EQ(item.TrackNumber, 7u);
    EXPECT_EQ(item.Duration, 36'610'000'000u);
}

TEST(AnAsfFile, turnsAttributeTypesIntoText) {
    kelmtest::TempDir dir;
    const auto path = dir.MakeFile("video.WMV", TaggedAsf());
    EXPECT_EQ(WMediaUtils::GetWMMetadataTag(path, L"Test/QWord"), L"12345678901");
    EXPECT_EQ(WMediaUtils::GetWMMetadataTag(path, L"Test/Word"), L"7");
    EXPECT_EQ(WMediaUtils::GetWMMetadataTag(path, L"Test/Bool"), L"");
    EXPECT_EQ(WMediaUtils::GetWMMetadataTag(path, L"Test/Bytes"), L"");
    EXPECT_EQ(WMediaUtils::GetWMMetadataTag(path, L"Rating"), L"Rating");
    EXPECT_EQ(WMediaUtils::GetWMMetadataTag(path, L"Test/Missing"), L"");
}

TEST(AnAsfFile, agreesWithExiftool) {
    if (!HasExiftool())
        GTEST_SKIP() << "exiftool is not installed";
    kelmtest::TempDir dir;
    const auto path = dir.MakeFile("music.wma", TaggedAsf());
    const std::string native = dir.NativeChild("music.wma");
    const MEDIAITEM item = Read(path);
    EXPECT_EQ(Utf8(item.Values[1]), Exiftool("Author", native));
    EXPECT_EQ(Utf8(item.Values[3]), Exiftool("SharedUserRating", native));
    EXPECT_EQ(Utf8(item.Values[5]), Exiftool("AlbumTitle", native));
}

TEST(AFileThatIsNotMedia, givesEmptyTexts) {
    kelmtest::TempDir dir;
    const Bytes mp3 = TaggedMp3(AllId3Frames());
    const std::wstring paths[] = {
        dir.MakeFile("notes.txt", "Title: not a song\n"),
        dir.MakeFile("song.mp3.txt", mp3), // chosen by extension, not contents
        dir.MakeFile("noextension", mp3),
        dir.MakeFile("notes.mp3", "Title: not a song\n"),
        dir.MakeFile("empty.wma", ""),
        dir.MakeFolder("folder.mp3"),
        dir.Child(L"missing.mp3"),
    };
    for (const auto& path : paths) {
        MEDIAITEM item;
        item.Values[0] = L"stale";
        item.Bitrate = 1;
        EXPECT_EQ(WMediaUtils::ReadMediaItem(path, item), 0);
        EXPECT_TRUE(AllEmpty(item));
        EXPECT_EQ(WMediaUtils::GetWMMetadataTag(path, L"WM/SharedUserRating"), L"");
        EXPECT_EQ(WMediaUtils::GetBitrateValue(path), 0);
        EXPECT_EQ(WMediaUtils::GetDurationValue(path), 0);
    }
}

TEST(AMediaFile, isReadWithoutChangingItsAccessedTime) {
    kelmtest::TempDir dir;
    const auto path = dir.MakeFile("song.mp3", TaggedMp3(AllId3Frames()));
    const std::string native = dir.NativeChild("song.mp3");
    const timespec old[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, native.c_str(), old, 0), 0);
    EXPECT_FALSE(AllEmpty(Read(path)));
    struct stat st {};
    ASSERT_EQ(stat(native.c_str(), &st), 0);
    EXPECT_EQ(st.st_atim.tv_sec, 1'000'000'000);
}

TEST(ATruncatedMediaFile, neverCrashesAndLosesItsTagWithItsHeader) {
    kelmtest::TempDir dir;
    const std::pair<std::string, Bytes> files[] = {
        {"cut.mp3", TaggedMp3(AllId3Frames(), 4)},
        {"cut.wma", TaggedAsf()},
        {"cut.wav", Wav(64, {{"INAM", "Title"}})},
        {"cut.flac", Flac(1000, {L"TITLE=Title"})},
        {"cut.opus", Opus(960, {L"TITLE=Title"})},
        {"cut.m4a", Mp4(1000, Mp4Text("\xA9nam", L"Title"))},
    };
    for (const auto& [name, bytes] : files) {
        for (std::size_t size = 0; size < bytes.size(); size += 7) {
            const auto path = dir.MakeFile(name, bytes.substr(0, size));
            const MEDIAITEM item = Read(path);
            if (size < 10) {
                EXPECT_TRUE(AllEmpty(item)) << name << " cut at " << size;
            }
        }
    }
}

TEST(ACorruptMediaFile, givesEmptyTextsQuickly) {
    kelmtest::TempDir dir;
    std::mt19937 random(20240601);
    Bytes noise(4 * 1024 * 1024, '\0');
    for (auto& c : noise)
        c = static_cast<char>(random());
    // Each family's signature followed by noise, so the tag library parses it.
    const std::pair<std::string, Bytes> files[] = {
        {"noise.mp3", noise},
        {"frame.mp3", Bytes("\xFF\xFB\x90\xC0", 4) + noise},
        {"id3.mp3", Bytes("ID3\x03\0\0\x7F\x7F\x7F\x7F", 10) + noise},
        {"noise.wma", TaggedAsf().substr(0, 30) + noise},
        {"noise.flac", "fLaC" + noise},
        {"noise.ogg", Bytes("OggS\0\x02", 6) + noise},
        {"noise.m4a", Bytes("\0\0\0\x10"
                            "ftypM4A ",
                            12) +
                          noise},
        {"noise.wav", "RIFF" + Le(0xFFFFFFF0u, 4) + "WAVE" + noise},
    };
    for (const auto& [name, bytes] : files) {
        const auto path = dir.MakeFile(name, bytes);
        const auto start = std::chrono::steady_clock::now();
        const MEDIAITEM item = Read(path);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_LT(elapsed, std::chrono::seconds(5)) << name;
        EXPECT_EQ(item.Values[0], L"") << name;
        EXPECT_EQ(item.Values[1], L"") << name;
    }
}

TEST(AnAsfHeader, withSizesPastTheEndGivesEmptyTexts) {
    kelmtest::TempDir dir;
    Bytes asf = TaggedAsf();
    asf.replace(16, 8, Le(0x7FFFFFFFFFFFFFFFull, 8)); // header size
    asf.replace(30 + 16, 8, Le(0xFFFFFFFFull, 8));    // file properties size
    const auto path = dir.MakeFile("huge.wma", asf);
    EXPECT_TRUE(AllEmpty(Read(path)));
}
