#include "KelmLibraryFuncs/LogFuncs.h"

#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmLibraryUtils/PathUtils.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include <cerrno>
#include <unistd.h>

namespace KelmLibraryFuncs {
namespace {

// One write per record where the system allows it, so records of two
// processes sharing a terminal do not interleave mid-line.
void WriteToStandardError(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDERR_FILENO, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<size_t>(n);
    }
}

} // namespace

int LogFuncs::Write(const std::wstring& text) {
    return Write(text, kDefaultLevel);
}

int LogFuncs::Write(const std::wstring& text, int level) {
    // Callers trace right after a failure and may still look at its cause.
    const int savedErrno = errno;
    const int savedLastError = KelmPlatform::LastError();
    KelmLibraryUtils::PathUtils::GetApplicationLogFolderPath();
    const std::wstring dateTime = KelmLibraryUtils::DateTimeUtils::GetCurrentDateTimeEx();
    WriteToStandardError(KelmPlatform::ToNative(FormatRecord(dateTime, level, text)));
    KelmPlatform::SetLastError(savedLastError);
    errno = savedErrno;
    return 0;
}

std::wstring LogFuncs::FormatRecord(const std::wstring& dateTime, int level,
                                    const std::wstring& text) {
    return L"\"" + dateTime + L"\",\"" + std::to_wstring(level) + L"\",\"" + text + L"\"\r\n";
}

} // namespace KelmLibraryFuncs
