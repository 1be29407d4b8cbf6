#pragma once
// The file operations of the change log: exclusive creation, checked writes
// and flushing to the disk. The system calls go through a replaceable table
// so that a test can make one fail (ENOSPC, EIO) and see that no failure
// passes for success.
#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace KelmEngine {

class ChangeLogFile {
public:
    struct Calls {
        ssize_t (*write)(int fd, const void* data, size_t size);
        int (*fdatasync)(int fd);
    };
    static Calls& SystemCalls();
    static void ResetSystemCalls();

    // Creates the file only when no item has its name (O_EXCL). Returns the
    // descriptor, or -1 with errno set.
    static int CreateExclusive(const std::wstring& path);
    // Writes all bytes, resuming after partial writes. Nonzero on success.
    static int WriteAll(int fd, std::string_view bytes);
    // Flushes the file's data to the disk. Nonzero on success.
    static int Sync(int fd);
    // Flushes the folder, so that a newly created name survives power loss.
    static int SyncFolder(const std::wstring& folder);
    // Closes the descriptor; nonzero when the close reported no error.
    static int Close(int fd);
    // Reads up to `limit` bytes from the start of the file. Nonzero on success.
    static int ReadPrefix(const std::wstring& path, std::size_t limit, std::string& bytes);
};

} // namespace KelmEngine
