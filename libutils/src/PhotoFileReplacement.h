#pragma once
// Puts new contents in place of a photo as the same file to its user: a
// temporary file beside it gets the contents, the original's extended
// attributes (Samba's DOS attributes among them), owner and mode, and its
// created time and attributes as the platform shows them, and is then renamed
// over the original. Until the rename the original is not touched; after any
// failure the temporary file is removed.
#include <string>
#include <sys/stat.h>

namespace KelmLibraryUtils {

class PhotoFileReplacement {
public:
    // `original` is the lstat of `path`, taken when its contents were read.
    // Returns 0 on failure, with KelmPlatform::LastError() telling why.
    static int Replace(const std::string& path, const struct stat& original,
                       const std::string& contents);
};

} // namespace KelmLibraryUtils
