#pragma once
// Everything the item list shows of an audio or video file, read in one open.
#include <array>
#include <cstdint>
#include <string>

namespace KelmLibraryUtils {

struct MEDIAITEM {
    // The Windows Media attribute names, in column order (columns 24..44).
    static constexpr std::array<const wchar_t*, 21> AttributeNames = {
        L"Title",        L"Author",         L"Description",    L"WM/SharedUserRating",
        L"Copyright",    L"WM/AlbumTitle",  L"WM/TrackNumber", L"WM/Genre",
        L"WM/Year",      L"WM/AlbumArtist", L"WM/Composer",    L"WM/Writer",
        L"WM/Conductor", L"WM/Producer",    L"WM/Director",    L"WM/SubTitle",
        L"WM/Publisher", L"WM/Category",    L"WM/Mood",        L"Bitrate",
        L"Duration",
    };

    // Each attribute's value as text, indexed like AttributeNames; empty
    // when the file has no such attribute. "Bitrate" is bits per second,
    // "Duration" 100-ns units, "WM/SharedUserRating" on the 1/25/50/75/99
    // scale, all as decimal text, as the Windows Media reader gives them.
    std::array<std::wstring, 21> Values;

    std::uint64_t TrackNumber = 0; // "WM/TrackNumber" as a number
    std::uint64_t Bitrate = 0;     // bits per second
    std::uint64_t Duration = 0;    // 100-ns units
};

} // namespace KelmLibraryUtils
