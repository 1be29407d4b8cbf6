// The text side of DateTimeUtils: parsing, locale display forms, EXIF, PDF
// and clock texts.
#include "KelmLibraryUtils/DateTimeUtils.h"

#include "FileTimeCalendar.h"
#include "LocaleDateText.h"
#include "OleDate.h"

#include <QString>

#include <cstdio>
#include <ctime>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace KelmLibraryUtils {

namespace {

// Leading decimal digits of a field, as the C run-time's atoi reads them:
// blanks and a sign first, anything else ends the number, none gives 0.
int LeadingNumber(const std::wstring& field) {
    size_t i = 0;
    while (i < field.size() && std::iswspace(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == L'-' || field[i] == L'+'))
        negative = field[i++] == L'-';
    long long value = 0;
    for (; i < field.size() && field[i] >= L'0' && field[i] <= L'9' && value < 1'000'000; ++i)
        value = value * 10 + (field[i] - L'0');
    return static_cast<int>(negative ? -value : value);
}

std::wstring Trimmed(const std::wstring& text) {
    const auto blank = [](wchar_t c) { return c == L'\0' || std::iswspace(c); };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::vector<std::wstring> SplitAt(const std::wstring& text, const wchar_t* separators) {
    std::vector<std::wstring> fields(1);
    for (wchar_t c : text) {
        if (std::wcschr(separators, c))
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

bool SplitValue(const DateTimeValue& value, CalendarParts& parts) {
    return value.IsValid() && PartsFromOleDate(value.GetDays(), parts);
}

// Whether a value is shown at all: valid and after 1899-12-30 00:00.
bool IsShown(const DateTimeValue& value, CalendarParts& parts) {
    return value.GetDays() > 0 && SplitValue(value, parts);
}

std::wstring Printed(const char* format, const CalendarParts& p, int extra = 0) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, p.year, p.month, p.day, p.hour, p.minute, p.second,
                  extra);
    return std::wstring(buffer, buffer + std::char_traits<char>::length(buffer));
}

std::wstring DateText(const CalendarParts& p) {
    return LocaleDateText::FormatDate(p.year, p.month, p.day).toStdWString();
}

std::wstring TimeText(const CalendarParts& p) {
    return LocaleDateText::FormatTime(p.hour, p.minute, p.second).toStdWString();
}

} // namespace

// Failure values: 0 when the text has the shape of no accepted form (or is
// empty), -1 when it has one but names a date or time that does not exist.
DateTimeValue DateTimeUtils::GetParseDateTime(const std::wstring& text, int parse, int flags, int) {
    if (!parse)
        return DateTimeValue();
    const LocaleDateText::Result r = LocaleDateText::Parse(QString::fromStdWString(text));
    if (r.outcome == LocaleDateText::Outcome::NotADate)
        return DateTimeValue::MakeInvalid(0);
    if (r.outcome == LocaleDateText::Outcome::OutOfRange)
        return DateTimeValue::MakeInvalid(-1);
    CalendarParts p = r.parts;
    if (!r.hasDate || (flags & TimeValueOnly))
        p.year = 1899, p.month = 12, p.day = 30;
    if (!r.hasTime || (flags & DateValueOnly))
        p.hour = p.minute = p.second = 0;
    const DateTimeValue value = MakeDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second);
    return value.IsValid() ? value : DateTimeValue::MakeInvalid(-1);
}

int DateTimeUtils::IsParseDateTime(const std::wstring& text, int flags, int locale) {
    return GetParseDateTime(text, 1, flags, locale).IsValid() ? 1 : 0;
}

FileTime DateTimeUtils::GetAsFileTime(const std::wstring& text) {
    return ToFileTime(GetParseDateTime(text, 1));
}

DateTimeValue DateTimeUtils::GetPDFDateTime(const std::wstring& text) {
    if (text.empty())
        return DateTimeValue();
    const auto at = [&text](size_t first, size_t count) {
        return LeadingNumber(first < text.size() ? text.substr(first, count) : std::wstring());
    };
    return MakeDateTime(at(0, 4), at(4, 2), at(6, 2), at(8, 2), at(10, 2), at(12, 2));
}

// More than six fields is no EXIF date-time and gives an invalid value.
DateTimeValue DateTimeUtils::GetExifDateTime(const std::wstring& text) {
    const std::wstring trimmed = Trimmed(text);
    if (trimmed.empty())
        return DateTimeValue();
    const std::vector<std::wstring> fields = SplitAt(trimmed, L": ");
    if (fields.size() > 6)
        return DateTimeValue::MakeInvalid();
    int n[6] = {};
    for (size_t i = 0; i < fields.size(); ++i)
        n[i] = LeadingNumber(fields[i]);
    return MakeDateTime(n[0], n[1], n[2], n[3], n[4], n[5]);
}

std::wstring DateTimeUtils::GetFormatedDate(const DateTimeValue& value) {
    CalendarParts p;
    return IsShown(value, p) ? DateText(p) : std::wstring();
}

std::wstring DateTimeUtils::GetFormatedDateTime(const DateTimeValue& value) {
    CalendarParts p;
    return IsShown(value, p) ? DateText(p) + L' ' + TimeText(p) : std::wstring();
}

std::wstring DateTimeUtils::GetFormatedDateTime(FileTime ft) {
    return GetFormatedDateTime(FromFileTime(ft));
}

std::wstring DateTimeUtils::GetFormatedExifDateTime(const DateTimeValue& value) {
    CalendarParts p;
    return SplitValue(value, p) ? Printed("%04d:%02d:%02d %02d:%02d:%02d", p) : std::wstring();
}

std::wstring DateTimeUtils::GetFormatedExifDateTime(const std::wstring& text) {
    return GetFormatedExifDateTime(GetParseDateTime(text, 1));
}

// Only the file time 0 means none; a time whose low or high 32 bits happen
// to be 0 is still a time.
std::wstring DateTimeUtils::GetFormatedExifDateTime(FileTime ft) {
    return ft == 0 ? std::wstring() : GetFormatedExifDateTime(FromFileTime(ft));
}

std::wstring DateTimeUtils::GetCurrentDateTimeDefaultFormatted() {
    CalendarParts p;
    SplitValue(GetCurrentDateTime(), p);
    return Printed("%04d/%02d/%02d %02d:%02d:%02d", p);
}

std::wstring DateTimeUtils::GetCurrentDateTimeEx() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const FileTime local = FileTimeToLocalFileTime(KelmPlatform::FileTimeFromTimespec(now));
    CalendarParts p;
    PartsFromFileTime(local, p);
    const auto milliseconds = static_cast<int>(local / 10'000 % 1000);
    return Printed("%04d/%02d/%02d %02d:%02d:%02d:%03d", p, milliseconds);
}

std::wstring DateTimeUtils::Format(const DateTimeValue& value, int flags, int) {
    if (value.IsNull())
        return std::wstring();
    CalendarParts p;
    if (!SplitValue(value, p))
        return L"Invalid DateTime";
    if (flags & DateValueOnly)
        return DateText(p);
    if (flags & TimeValueOnly)
        return TimeText(p);
    return DateText(p) + L' ' + TimeText(p);
}

} // namespace KelmLibraryUtils
