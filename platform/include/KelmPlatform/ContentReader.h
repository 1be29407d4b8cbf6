#pragma once
// Opening an item's contents to read its details. Reading must not change
// the item's accessed time, which the user may be about to inspect or set:
// the file is opened with O_NOATIME, which Linux allows the file's owner and
// root; for anyone else it is opened plainly and the accessed time the item
// had is put back when the descriptor is closed.
#include <string>

namespace KelmPlatform {

class ContentReader {
public:
    // Opens `path` read-only; a final symbolic link is not followed.
    explicit ContentReader(const std::wstring& path);
    ~ContentReader();
    ContentReader(const ContentReader&) = delete;
    ContentReader& operator=(const ContentReader&) = delete;

    // The descriptor, -1 when the file could not be opened.
    int Descriptor() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }

private:
    int m_fd = -1;
    bool m_restoreAccessed = false;
    long long m_accessedSeconds = 0;
    long m_accessedNanoseconds = 0;
};

} // namespace KelmPlatform
