// Retention and the delete command: both remove log files only, so that a
// file the user keeps in the log folder is never lost to them.
#include "KelmEngine/ChangeLogFolder.h"

#include <KelmPlatform/NativeName.h>

#include <cerrno>
#include <unistd.h>

namespace KelmEngine {

namespace {

// A file gone already counts as deleted.
bool DeleteFile(const std::wstring& path) {
    return ::unlink(KelmPlatform::ToNative(path).c_str()) == 0 || errno == ENOENT;
}

} // namespace

int ChangeLogFolder::TrimLogFiles(const std::wstring& folder, int keep,
                                  const std::wstring& newLogPath) {
    std::vector<ChangeLogFileInfo> older;
    for (ChangeLogFileInfo& file : ListLogFilesOldestFirst(folder)) {
        if (file.Path != newLogPath)
            older.push_back(std::move(file));
    }
    const std::size_t room =
        static_cast<std::size_t>(keep < 1 ? 1 : keep) - (newLogPath.empty() ? 0 : 1);
    int allDeleted = 1;
    for (std::size_t i = 0; i + room < older.size(); ++i) {
        if (!DeleteFile(older[i].Path))
            allDeleted = 0;
    }
    return allDeleted;
}

int ChangeLogFolder::DeleteAllLogFiles(const std::wstring& folder) {
    int allDeleted = 1;
    for (const ChangeLogFileInfo& file : ListLogFiles(folder)) {
        if (!DeleteFile(file.Path))
            allDeleted = 0;
    }
    // Fails, as it should, while other files remain.
    ::rmdir(KelmPlatform::ToNative(folder).c_str());
    return allDeleted;
}

} // namespace KelmEngine
