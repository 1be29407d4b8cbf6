#include "KelmLibraryUtils/SystemUtils.h"

#include <KelmPlatform/NativeName.h>

#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace KelmLibraryUtils {
namespace {

std::wstring& ModuleFileNameForTesting() {
    static std::wstring path;
    return path;
}

std::string ReadLink(const char* link) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t n = readlink(link, target.data(), target.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < target.size()) {
            target.resize(static_cast<size_t>(n));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

// A program file replaced while the program runs (an update) shows as
// "path (deleted)"; the program's settings still belong to "path".
std::string WithoutDeletedMark(std::string path) {
    constexpr std::string_view mark = " (deleted)";
    struct stat st;
    if (path.size() > mark.size() && path.ends_with(mark) && stat(path.c_str(), &st) != 0)
        path.resize(path.size() - mark.size());
    return path;
}

} // namespace

std::wstring SystemUtils::GetApplicationModuleFileName() {
    if (!ModuleFileNameForTesting().empty())
        return ModuleFileNameForTesting();
    return KelmPlatform::FromNative(WithoutDeletedMark(ReadLink("/proc/self/exe")));
}

void SystemUtils::SetApplicationModuleFileNameForTesting(const std::wstring& path) {
    ModuleFileNameForTesting() = path;
}

} // namespace KelmLibraryUtils
