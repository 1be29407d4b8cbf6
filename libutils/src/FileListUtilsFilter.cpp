// The filter bar's name filter. Only extensions are compared: "*.jpg",
// "a.jpg" and ".jpg" all match every path ending in .jpg, and a pattern
// without a dot ("*") matches every path without an extension, folders
// included.
#include "KelmLibraryUtils/FileListUtils.h"
#include "KelmLibraryUtils/FileUtils.h"

#include <QString>

namespace KelmLibraryUtils {
namespace {

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return QString::fromStdWString(a).compare(QString::fromStdWString(b), Qt::CaseInsensitive) == 0;
}

// A pattern's extension runs from its last dot, even when the dot starts
// the pattern (".jpg"), unlike a file name's.
std::wstring PatternExtension(const std::wstring& pattern) {
    const auto dot = pattern.rfind(L'.');
    if (dot == std::wstring::npos || pattern.find(L'/', dot) != std::wstring::npos)
        return {};
    return pattern.substr(dot);
}

bool PatternMatches(const std::wstring& pattern, const std::wstring& pathExtension) {
    return EqualIgnoringCase(pattern, L"*.*") ||
           EqualIgnoringCase(PatternExtension(pattern), pathExtension);
}

} // namespace

int FileListUtils::IsFilterMatch(const std::wstring& path, const std::wstring& filter) {
    const std::wstring extension = FileUtils::GetSplitExtension(path, 1);
    std::size_t start = 0;
    while (start <= filter.size()) {
        const auto end = std::min(filter.find(L';', start), filter.size());
        const std::wstring pattern = filter.substr(start, end - start);
        if (!pattern.empty() && PatternMatches(pattern, extension))
            return 1;
        start = end + 1;
    }
    return 0;
}

} // namespace KelmLibraryUtils
