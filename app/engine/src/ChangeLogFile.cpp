#include "KelmEngine/ChangeLogFile.h"

#include <KelmPlatform/NativeName.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace KelmEngine {

namespace {

ChangeLogFile::Calls RealCalls() {
    return {::write, ::fdatasync};
}

} // namespace

ChangeLogFile::Calls& ChangeLogFile::SystemCalls() {
    static Calls calls = RealCalls();
    return calls;
}

void ChangeLogFile::ResetSystemCalls() {
    SystemCalls() = RealCalls();
}

int ChangeLogFile::CreateExclusive(const std::wstring& path) {
    return ::open(KelmPlatform::ToNative(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                  0666);
}

int ChangeLogFile::WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = SystemCalls().write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return 0;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return 1;
}

int ChangeLogFile::Sync(int fd) {
    return SystemCalls().fdatasync(fd) == 0 ? 1 : 0;
}

int ChangeLogFile::SyncFolder(const std::wstring& folder) {
    const int fd =
        ::open(KelmPlatform::ToNative(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const int synced = ::fsync(fd) == 0 ? 1 : 0;
    ::close(fd);
    return synced;
}

int ChangeLogFile::Close(int fd) {
    return ::close(fd) == 0 ? 1 : 0;
}

int ChangeLogFile::ReadPrefix(const std::wstring& path, std::size_t limit, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(KelmPlatform::ToNative(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char buffer[65536];
    int ok = 1;
    while (bytes.size() < limit) {
        const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            ok = 0;
        if (got <= 0)
            break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return ok;
}

} // namespace KelmEngine
