#pragma once
// The log folder: naming of new logs, listing, retention and deletion. Only
// regular files named "log" + hexadecimal digits + ".log" are log files;
// anything else in the folder is never listed, counted or deleted.
#include "KelmEngine/ChangeLogReader.h"

#include <KelmPlatform/FileTime.h>

#include <string>
#include <vector>

namespace KelmEngine {

struct ChangeLogFileInfo {
    std::wstring Path;
    KelmPlatform::FileTime Modified = 0; // UTC ticks
};

struct ChangeLogSummary {
    std::wstring Path;
    KelmPlatform::FileTime Modified = 0;
    ChangeLogHeader Header;
};

class ChangeLogFolder {
public:
    static constexpr const wchar_t* kLogExtension = L".log";

    // "log" + one or more hexadecimal digits + `extension`.
    static int IsLogFileName(const std::wstring& name,
                             const std::wstring& extension = kLogExtension);
    // "log" + the number in upper-case hexadecimal + `extension`.
    static std::wstring MakeLogFileName(unsigned number, const std::wstring& extension);

    // Creates a new file "log" + hex + `extension` in `folder` with O_EXCL,
    // choosing a number for which neither the log nor the journal name is
    // taken. Returns the descriptor (path in `path`) or -1.
    static int CreateUniqueFile(const std::wstring& folder, const std::wstring& extension,
                                std::wstring& path);
    // Creates the folder when missing (one level); nonzero when it exists.
    static int EnsureFolder(const std::wstring& folder);

    // The log files in the folder's enumeration order (with another
    // extension, the files named so, such as the journals).
    static std::vector<ChangeLogFileInfo>
    ListLogFiles(const std::wstring& folder, const std::wstring& extension = kLogExtension);
    // Sorted by modified time, oldest first (ties by path).
    static std::vector<ChangeLogFileInfo> ListLogFilesOldestFirst(const std::wstring& folder);
    // Newest first, each with its header (what the restore wizard and the
    // "logs" command show).
    static std::vector<ChangeLogSummary> ListLogsNewestFirst(const std::wstring& folder);

    // Deletes the oldest log files so that `keep` remain, never `newLogPath`
    // (the log just written). Nonzero when every deletion needed succeeded.
    static int TrimLogFiles(const std::wstring& folder, int keep, const std::wstring& newLogPath);
    // Deletes every log file of the folder, then the folder if it is empty.
    // Nonzero when every log file is gone.
    static int DeleteAllLogFiles(const std::wstring& folder);
};

} // namespace KelmEngine
