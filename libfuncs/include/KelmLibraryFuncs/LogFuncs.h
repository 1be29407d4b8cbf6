#pragma once
// The diagnostic trace: one-line records of unexpected failures of low-level
// operations, meant for a developer and never shown to the user. Records go
// to standard error and nowhere else; no trace file is written.
#include <string>

namespace KelmLibraryFuncs {

class LogFuncs {
public:
    // The level every caller uses.
    static constexpr int kDefaultLevel = 2;

    // Write a record; the result is always 0. Each record also makes sure the
    // application log folder (PathUtils::GetApplicationLogFolderPath) exists.
    static int Write(const std::wstring& text);
    static int Write(const std::wstring& text, int level);

    // The record: "date-time","level","text" and CR LF, the text unchanged
    // (quotes inside it are not escaped).
    static std::wstring FormatRecord(const std::wstring& dateTime, int level,
                                     const std::wstring& text);
};

} // namespace KelmLibraryFuncs
