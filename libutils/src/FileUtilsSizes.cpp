// Sizes of items and their display texts.
//
// Units 0 to 2 follow the Windows shell's formatters: unit 0 picks bytes, KB,
// MB, GB, TB, PB or EB so that the number stays below 1024 and shows three
// significant digits, truncated ("1.50 KB", "15.0 MB", "163 GB"); unit 1 is
// the byte count in groups of three ("1,234 bytes"); unit 2 is the size in
// kilobytes rounded up ("2 KB" for 1,025 bytes). The word for bytes follows
// the user's language. A negative size shows only the unit.
#include "KelmLibraryUtils/FileUtils.h"

#include <KelmPlatform/NativeName.h>

#include <QLocale>

#include <charconv>
#include <cmath>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KelmLibraryUtils {
namespace {

// Sums the sizes of every non-folder entry below the open folder `fd`
// (taking it over), descending into subfolders but never through a link.
std::int64_t SumFolder(int fd) {
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return 0;
    }
    std::int64_t sum = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        struct stat st {};
        if (name == "." || name == ".." ||
            ::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (!S_ISDIR(st.st_mode)) {
            sum += st.st_size;
            continue;
        }
        const int sub =
            ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub >= 0)
            sum += SumFolder(sub);
    }
    ::closedir(dir);
    return sum;
}

std::int64_t OpenedFileSize(const std::string& native) {
    const int fd = ::open(native.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    const bool ok = ::fstat(fd, &st) == 0;
    ::close(fd);
    return ok ? st.st_size : -1;
}

std::wstring GroupDigits(std::uint64_t value) {
    std::wstring digits = std::to_wstring(value);
    for (auto i = digits.size(); i > 3; i -= 3)
        digits.insert(i - 3, 1, L',');
    return digits;
}

std::wstring Fixed(double value, int decimals) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::wstring(buffer, result.ptr);
}

std::wstring BytesWord() {
    return QLocale::system().language() == QLocale::Japanese ? L" バイト" : L" bytes";
}

// The shell's automatic unit: three significant digits, truncated.
std::wstring AutomaticSizeText(std::int64_t size) {
    static const wchar_t* const units[] = {L" KB", L" MB", L" GB", L" TB", L" PB", L" EB"};
    if (size < 1024)
        return std::to_wstring(size) + BytesWord();
    double value = static_cast<double>(size) / 1024;
    int unit = 0;
    while (value >= 1024 && unit < 5) {
        value /= 1024;
        ++unit;
    }
    const int decimals = value < 10 ? 2 : value < 100 ? 1 : 0;
    const double scale = std::pow(10.0, decimals);
    return Fixed(std::floor(value * scale) / scale, decimals) + units[unit];
}

std::wstring KiloByteSizeText(std::int64_t size) {
    return GroupDigits((static_cast<std::uint64_t>(size) + 1023) / 1024) + L" KB";
}

// Megabytes or gigabytes: an integer from 100 on, else one or two decimals
// cut (not rounded) from the next finer rounding.
std::wstring LargeUnitText(std::int64_t size, int shift, const wchar_t* suffix) {
    if (size < 0)
        return suffix;
    if (size == 0)
        return std::wstring(L"0") + suffix;
    const double x = std::ldexp(static_cast<double>(size), -shift);
    std::wstring number;
    if (x >= 100) {
        number = GroupDigits(static_cast<std::uint64_t>(x));
    } else {
        number = Fixed(x, x >= 10 ? 2 : 3);
        number.pop_back();
    }
    return number + suffix;
}

} // namespace

// A file's size (-1 when it cannot be opened), a folder's total without
// following links, 0 for a path that names nothing. Other items (links,
// devices) count with their own size.
std::int64_t FileUtils::GetFileSize(const std::wstring& path) {
    const std::string native = KelmPlatform::ToNative(path);
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0)
        return 0;
    if (S_ISREG(st.st_mode))
        return OpenedFileSize(native);
    if (!S_ISDIR(st.st_mode))
        return st.st_size;
    const int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    return fd < 0 ? 0 : SumFolder(fd);
}

std::wstring FileUtils::GetFileSize(std::int64_t size, int unit) {
    switch (unit) {
    case Automatic:
        return size < 0 ? BytesWord() : AutomaticSizeText(size);
    case Bytes:
        return (size < 0 ? std::wstring() : GroupDigits(static_cast<std::uint64_t>(size))) +
               BytesWord();
    case MegaBytes:
        return LargeUnitText(size, 20, L" MB");
    case GigaBytes:
        return LargeUnitText(size, 30, L" GB");
    default:
        return size < 0 ? L" KB" : KiloByteSizeText(size);
    }
}

std::wstring FileUtils::GetStrFormatSizeOff(const std::wstring& text) {
    return text.substr(0, text.find(L' '));
}

} // namespace KelmLibraryUtils
