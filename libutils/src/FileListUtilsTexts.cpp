// The display rules of the detail columns, over plain values.
#include "DisplayTimeText.h"
#include "KelmLibraryUtils/DateTimeUtils.h"
#include "KelmLibraryUtils/FileListUtils.h"
#include "KelmLibraryUtils/StringUtils.h"

#include <cwchar>
#include <string_view>

namespace KelmLibraryUtils {
namespace {

constexpr std::wstring_view kWhiteSpace = L" \t\r\n\f\v";

// Fills the first "%d" of a format from the string table with `n` ("%%"
// gives "%"). The format is never handed to printf: a stray "%s" in a
// translated text must not read past the arguments.
std::wstring FilledFormat(const std::wstring& format, long long n) {
    std::wstring text;
    bool filled = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            if (format[i + 1] == L'%') {
                text += L'%';
                ++i;
                continue;
            }
            if (format[i + 1] == L'd' && !filled) {
                text += std::to_wstring(n);
                filled = true;
                ++i;
                continue;
            }
        }
        text += format[i];
    }
    return text;
}

int Stars(int rating) {
    switch (rating) {
    case 1:
        return 1;
    case 25:
        return 2;
    case 50:
        return 3;
    case 75:
        return 4;
    case 99:
        return 5;
    default:
        return rating;
    }
}

std::wstring TwoDigits(long long n) {
    wchar_t buffer[24];
    std::swprintf(buffer, sizeof buffer / sizeof buffer[0], L"%02lld", n);
    return buffer;
}

} // namespace

std::wstring FileListUtils::GetFileTimeText(KelmPlatform::FileTime utc) {
    return utc == 0 ? std::wstring() : DisplayTimeText::Of(utc);
}

// The display text must read back as a date-time of the user's locale;
// whatever does not is no date to show.
std::wstring FileListUtils::GetExifDateTimeText(const std::wstring& tagText) {
    if (tagText.empty())
        return {};
    const std::wstring text =
        DateTimeUtils::GetFormatedDateTime(DateTimeUtils::GetExifDateTime(tagText));
    return !text.empty() && DateTimeUtils::IsParseDateTime(text) ? text : std::wstring();
}

std::wstring FileListUtils::GetImageSizeText(int width, int height) {
    if (width == 0 || height == 0)
        return {};
    return std::to_wstring(width) + L" x " + std::to_wstring(height);
}

std::wstring FileListUtils::GetTrimmedTagText(const std::wstring& tagText) {
    const auto last = tagText.find_last_not_of(kWhiteSpace);
    return last == std::wstring::npos ? std::wstring() : tagText.substr(0, last + 1);
}

// A missing tag is no value, not the value 0 ("未定義").
std::wstring FileListUtils::GetExposureProgText(const std::wstring& tagText,
                                                const std::vector<EXPOSUREPROGITEM>& names) {
    if (tagText.empty())
        return {};
    const int value = StringUtils::StringToIntNumber(tagText);
    if (value < 0 || static_cast<std::size_t>(value) >= names.size())
        return {};
    const auto& entry = names[static_cast<std::size_t>(value)];
    return entry.Value == value ? entry.Text : std::wstring();
}

std::wstring FileListUtils::GetResolutionText(int dotsPerInch) {
    return dotsPerInch > 0 ? std::to_wstring(dotsPerInch) + L" dpi" : std::wstring();
}

std::wstring FileListUtils::GetWMFSharedUserRatingText(const std::wstring& ratingText,
                                                       const std::wstring& format,
                                                       const std::wstring& unset) {
    if (ratingText.empty())
        return unset;
    return FilledFormat(format, Stars(StringUtils::StringToIntNumber(ratingText)));
}

std::wstring FileListUtils::GetWMFBitrateText(std::int64_t bitsPerSecond) {
    return bitsPerSecond > 0 ? std::to_wstring(bitsPerSecond / 1000) + L"kbps" : std::wstring();
}

// Hours wrap at 24, as the clock form of the text has no days.
std::wstring FileListUtils::GetWMFDurationText(std::int64_t units) {
    if (units <= 0)
        return {};
    const std::int64_t seconds = units / static_cast<std::int64_t>(KelmPlatform::kTicksPerSecond);
    return TwoDigits(seconds / 3600 % 24) + L':' + TwoDigits(seconds / 60 % 60) + L':' +
           TwoDigits(seconds % 60);
}

std::wstring FileListUtils::GetOfficeDateText(const std::wstring& text) {
    return !text.empty() && DateTimeUtils::IsParseDateTime(text) ? text : std::wstring();
}

std::wstring FileListUtils::GetPDFDateText(const std::wstring& pdfDate) {
    if (pdfDate.empty())
        return {};
    return DateTimeUtils::GetFormatedDateTime(DateTimeUtils::GetPDFDateTime(pdfDate));
}

} // namespace KelmLibraryUtils
