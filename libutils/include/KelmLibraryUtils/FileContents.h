#pragma once
// Whole-file reads and crash-safe whole-file replacement for the files the
// system keeps for itself. A replacement writes a temporary file in the same
// folder, flushes it to the disk and renames it over the original, so a
// crash, a full disk or a failing write never leaves a half-written file:
// either the old contents or the new ones are there.
#include <cstddef>
#include <string>
#include <sys/types.h>

namespace KelmLibraryUtils {

class FileContents {
public:
    enum ReadResult { ReadFailed = 0, ReadDone = 1, ReadMissing = 2 };

    // Files larger than this are not settings files; reading one fails.
    static constexpr size_t kMaxReadSize = 64 * 1024 * 1024;

    // Reads the whole file into `bytes`. ReadMissing when there is no such
    // file (bytes empty); ReadFailed for a folder, a file too large or an
    // I/O error.
    static ReadResult Read(const std::wstring& path, std::string& bytes);

    // Replaces the file with `bytes`. A symbolic link is followed, so the
    // file it points to is replaced and the link stays. The permission bits
    // of an existing file are kept. Returns 0 on failure, with the original
    // untouched and KelmPlatform::LastError() telling why.
    static int ReplaceAtomically(const std::wstring& path, const std::string& bytes);

    // The system calls a replacement makes, replaceable so that a test can
    // make one fail (ENOSPC, EIO, EXDEV...).
    struct Calls {
        ssize_t (*write)(int fd, const void* data, size_t size);
        int (*fsync)(int fd);
        int (*rename)(const char* from, const char* to);
    };
    static Calls& SystemCalls();
    static void ResetSystemCalls();
};

} // namespace KelmLibraryUtils
