#pragma once
// A regular file opened for reading and writing by this process alone, the
// way a document is opened with exclusive sharing. Opening fails (EBUSY)
// when another process
// - holds an advisory lock on the file: fcntl record locks (classic or open
//   file description locks) of either kind, or a flock lock;
// - has the file open for writing, as far as a read-lease probe can tell
//   (local file systems; where leases are not supported this goes
//   undetected).
// While the object lives it holds an exclusive flock and an open file
// description write lock over the whole file, so cooperating processes keep
// out. A final symbolic link is not followed.
#include <string>

namespace KelmLibraryFuncs {

class ExclusiveFile {
public:
    explicit ExclusiveFile(const std::wstring& path);
    ~ExclusiveFile();
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }
    // Why opening failed (an errno value).
    int Error() const { return m_error; }

private:
    bool Fail(int error);

    int m_fd = -1;
    int m_error = 0;
};

} // namespace KelmLibraryFuncs
