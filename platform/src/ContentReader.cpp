#include "KelmPlatform/ContentReader.h"

#include "KelmPlatform/NativeName.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KelmPlatform {

ContentReader::ContentReader(const std::wstring& path) {
    const std::string native = ToNative(path);
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    m_fd = ::open(native.c_str(), kFlags | O_NOATIME);
    if (m_fd >= 0 || errno != EPERM)
        return;
    m_fd = ::open(native.c_str(), kFlags);
    struct stat st {};
    if (m_fd >= 0 && ::fstat(m_fd, &st) == 0) {
        m_restoreAccessed = true;
        m_accessedSeconds = st.st_atim.tv_sec;
        m_accessedNanoseconds = st.st_atim.tv_nsec;
    }
}

ContentReader::~ContentReader() {
    if (m_fd < 0)
        return;
    if (m_restoreAccessed) {
        const timespec times[2] = {{static_cast<time_t>(m_accessedSeconds), m_accessedNanoseconds},
                                   {0, UTIME_OMIT}};
        ::futimens(m_fd, times);
    }
    ::close(m_fd);
}

} // namespace KelmPlatform
