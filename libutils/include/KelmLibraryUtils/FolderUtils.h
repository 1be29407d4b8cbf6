#pragma once
// Folder helpers: the depth of a path, the network-folder test and creation
// of a folder with its missing parents. No state; nothing throws.
#include <string>

namespace KelmLibraryUtils {

class FolderUtils {
public:
    // The number of "/" in the path, at least 1: "/" and "/a" are level 1,
    // "/a/b" level 2, "/a/b/" level 3. The root "/" takes the place of a
    // drive root, so only differences of levels carry meaning.
    static int GetFolderLevel(const std::wstring& path);

    // Nonzero when the folder lives on a network file system (NFS, SMB/CIFS,
    // SSHFS and other FUSE network clients, 9p, AFS, Coda, Ceph...).
    static int IsNetworkFolder(const std::wstring& path);

    // Creates the folder and any missing parents; nonzero only when the
    // folder was created by this call.
    static int CreateFolderPathExists(const std::wstring& path);
};

} // namespace KelmLibraryUtils
