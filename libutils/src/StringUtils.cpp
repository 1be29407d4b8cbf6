#include "KelmLibraryUtils/StringUtils.h"

#include "StringTable.h"

#include <QString>

#include <limits>
#include <optional>

namespace KelmLibraryUtils {

namespace {

const std::wstring kStringKind = L"S";

std::wstring FillFormat(const std::wstring& format, const std::vector<const std::wstring*>& args) {
    std::wstring out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%' || i + 1 == format.size()) {
            out += format[i];
        } else if (format[i + 1] == L's') {
            if (next < args.size()) {
                out += *args[next];
            }
            ++next;
            ++i;
        } else if (format[i + 1] == L'%') {
            out += L'%';
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

// An optional sign and one or more ASCII digits, as a value in [low, high].
// Accumulates negatively so the lowest 64-bit value parses without overflow.
std::optional<std::int64_t> ParseDecimal(const std::wstring& text, std::int64_t low,
                                         std::int64_t high) {
    size_t pos = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == L'+' || text[0] == L'-')) {
        negative = text[0] == L'-';
        pos = 1;
    }
    if (pos == text.size()) {
        return std::nullopt;
    }
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0; // always <= 0
    for (; pos < text.size(); ++pos) {
        wchar_t c = text[pos];
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        int digit = c - L'0';
        if (value < (kMin + digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == kMin) {
            return std::nullopt;
        }
        value = -value;
    }
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::wstring StringUtils::GetLoadString(unsigned int id) {
    return GetResourceText(kStringKind, id);
}

std::wstring StringUtils::GetLoadStringText(unsigned int id) {
    std::wstring text = GetLoadString(id);
    size_t feed = text.rfind(L'\n');
    return feed == std::wstring::npos ? text : text.substr(0, feed);
}

std::wstring StringUtils::GetLoadStringTitle(unsigned int id) {
    std::wstring text = GetLoadString(id);
    size_t feed = text.rfind(L'\n');
    return feed == std::wstring::npos ? text : text.substr(feed + 1);
}

int StringUtils::IsCompareNoCase(const std::wstring& text, unsigned int id) {
    return QString::fromStdWString(text).compare(QString::fromStdWString(GetLoadString(id)),
                                                 Qt::CaseInsensitive) == 0;
}

std::wstring StringUtils::GetResourceText(const std::wstring& kind, unsigned int id) {
    const std::wstring* text = StringTable::Instance().Find(kind, id);
    return text ? *text : std::wstring();
}

std::wstring StringUtils::GetFormatedText(unsigned int id, const std::wstring& a) {
    return FillFormat(GetLoadString(id), {&a});
}

std::wstring StringUtils::GetFormatedText(const std::wstring& format, const std::wstring& a) {
    return FillFormat(format, {&a});
}

std::wstring StringUtils::GetFormatedText(const std::wstring& format, const std::wstring& a,
                                          const std::wstring& b) {
    return FillFormat(format, {&a, &b});
}

std::wstring StringUtils::GetIfEmptyText(const std::wstring& text, const std::wstring& other) {
    return text.empty() ? other : text;
}

std::wstring StringUtils::GetReplaceString(const std::wstring& text, const std::wstring& oldText,
                                           const std::wstring& newText) {
    if (oldText.empty()) {
        return text;
    }
    std::wstring out;
    size_t from = 0;
    for (size_t at; (at = text.find(oldText, from)) != std::wstring::npos;
         from = at + oldText.size()) {
        out.append(text, from, at - from).append(newText);
    }
    return out.append(text, from, std::wstring::npos);
}

std::wstring StringUtils::GetTokenizeString(const std::wstring& text,
                                            const std::wstring& delimiters, int index) {
    size_t start = text.find_first_not_of(delimiters);
    for (int token = 0; start != std::wstring::npos; ++token) {
        size_t end = text.find_first_of(delimiters, start);
        if (token == index) {
            return text.substr(start, end == std::wstring::npos ? end : end - start);
        }
        start = end == std::wstring::npos ? end : text.find_first_not_of(delimiters, end);
    }
    return {};
}

std::wstring StringUtils::GetStringArrayString(const std::vector<std::wstring>& array) {
    std::wstring out;
    for (const std::wstring& text : array) {
        out += text;
    }
    return out;
}

std::wstring StringUtils::IntNumberToString(int n) {
    return std::to_wstring(n);
}

std::wstring StringUtils::DWORDNumberToString(std::uint32_t n) {
    // "%d" of the unsigned value: 2^31 and above read as negative.
    return std::to_wstring(static_cast<std::int32_t>(n));
}

int StringUtils::StringToIntNumber(const std::wstring& text) {
    return static_cast<int>(ParseDecimal(text, std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max())
                                .value_or(0));
}

std::int64_t StringUtils::StringToInt64Number(const std::wstring& text) {
    return ParseDecimal(text, std::numeric_limits<std::int64_t>::min(),
                        std::numeric_limits<std::int64_t>::max())
        .value_or(0);
}

std::uint32_t StringUtils::StringToDWORDNumber(const std::wstring& text) {
    return static_cast<std::uint32_t>(
        ParseDecimal(text, 0, std::numeric_limits<std::uint32_t>::max()).value_or(0));
}

std::wstring StringUtils::GetAddDoubleQuotesString(const std::wstring& text) {
    return L'"' + text + L'"';
}

std::wstring StringUtils::GetAddDoubleQuotesCommaString(const std::wstring& text) {
    return L'"' + text + L"\",";
}

std::wstring StringUtils::GetAddTwiceDoubleQuotesString(const std::wstring& text) {
    std::wstring front = !text.empty() && text.front() == L'"' ? L"\"\"" : L"\"";
    std::wstring back = !text.empty() && text.back() == L'"' ? L"\"\"" : L"\"";
    return front + text + back;
}

std::wstring StringUtils::GetRemoveDoubleQuotesString(const std::wstring& text) {
    std::wstring out = text;
    if (!out.empty() && out.front() == L'"') {
        out.erase(0, 1);
    }
    if (!out.empty() && out.back() == L'"') {
        out.pop_back();
    }
    return out;
}

std::wstring StringUtils::GetAddCommaString(const std::wstring& text) {
    return text + L',';
}

std::wstring StringUtils::GetRemoveCommaString(const std::wstring& text) {
    return !text.empty() && text.back() == L',' ? text.substr(0, text.size() - 1) : text;
}

} // namespace KelmLibraryUtils
