// The date-times DateTimeFuncs takes from an item, the write of its three
// times, and the calendar comparisons.
#include "KelmLibraryFuncs/DateTimeFuncs.h"

#include "KelmLibraryFuncs/LogFuncs.h"

#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmLibraryUtils/ImageUtils.h>
#include <KelmLibraryUtils/LogUtils.h>
#include <KelmPlatform/FileSystemItem.h>

namespace KelmLibraryFuncs {
namespace {

using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::DateTimeValue;
using KelmPlatform::FileTime;

FileTime TimeOfKind(const KelmPlatform::ItemTimes& times, int kind) {
    switch (kind) {
    case DateTimeFuncs::Created:
        return times.created;
    case DateTimeFuncs::Modified:
    case -1:
        return times.modified;
    case DateTimeFuncs::Accessed:
        return times.accessed;
    default:
        return 0;
    }
}

// The item's own date-time of `kind` as a UTC file time; 0 when it cannot
// be read or the item has no such time.
FileTime OwnFileTime(const std::wstring& path, int kind) {
    KelmPlatform::ItemTimes times;
    // The created time costs a metadata lookup; read it only when asked.
    const int read = kind == DateTimeFuncs::Created
                         ? KelmPlatform::ReadItemTimes(path, times)
                         : KelmPlatform::ReadItemModifiedAndAccessed(path, times);
    return read ? TimeOfKind(times, kind) : 0;
}

// The same in local time; an unreadable time is no value rather than a date
// of 1601 or 1899.
DateTimeValue OwnDateTime(const std::wstring& path, int kind) {
    const FileTime time = OwnFileTime(path, kind);
    return time ? DateTimeUtils::FromFileTime(time) : DateTimeValue::MakeInvalid();
}

DateTimeValue TakenDateTime(const std::wstring& path) {
    const std::wstring tag = KelmLibraryUtils::ImageUtils::GetPropertyTagExifDTOrig(path);
    return tag.empty() ? DateTimeValue::MakeInvalid() : DateTimeUtils::GetExifDateTime(tag);
}

int KindOfChoice(int choice) {
    switch (choice) {
    case DateTimeFuncs::OtherModified:
        return DateTimeFuncs::Modified;
    case DateTimeFuncs::OtherCreated:
        return DateTimeFuncs::Created;
    default:
        return DateTimeFuncs::Accessed;
    }
}

bool IsTaken(int choice) {
    return choice < DateTimeFuncs::OtherModified || choice > DateTimeFuncs::OtherAccessed;
}

DateTimeValue OtherValue(const std::wstring& path, int choice) {
    return IsTaken(choice) ? TakenDateTime(path) : OwnDateTime(path, KindOfChoice(choice));
}

// Only a value after 1899-12-30 00:00 has a display text.
bool IsShown(const DateTimeValue& value) {
    return value.IsValid() && value.GetDays() > 0;
}

constexpr FileTime kDay = 86'400 * KelmPlatform::kTicksPerSecond;
constexpr FileTime kOleEpoch = 109'205 * kDay;    // 1899-12-30 00:00 UTC
constexpr FileTime kYear10000 = 3'067'671 * kDay; // 10000-01-01 00:00 UTC

// A UTC time converted to local time and back at whole seconds is the time
// cut to whole seconds, the offset being whole seconds. Only within a day of
// either end of the shown range can the offset decide whether it is shown;
// elsewhere the two conversions are skipped.
FileTime ShownWholeSeconds(FileTime utc) {
    if (utc > kOleEpoch + kDay && utc < kYear10000 - kDay)
        return utc - utc % KelmPlatform::kTicksPerSecond;
    const DateTimeValue local = DateTimeUtils::FromFileTime(utc);
    return IsShown(local) ? DateTimeUtils::ToFileTime(local) : 0;
}

int SameComponents(const DateTimeValue& a, const DateTimeValue& b, bool withDay) {
    if (a.IsNull() || b.IsNull())
        return 0;
    return a.GetYear() == b.GetYear() && a.GetMonth() == b.GetMonth() &&
           (!withDay || a.GetDay() == b.GetDay());
}

// The trace record of a failed write; the cause stays the thread's last
// error for the caller, although the message lookup resets it.
void TraceWriteFailure(const std::wstring& path) {
    const int error = KelmPlatform::LastError();
    LogFuncs::Write(L"KelmLibraryFuncs::DateTimeFuncs::SetModifiedFileDateTime " + path + L" " +
                        KelmLibraryUtils::LogUtils::GetLastErrorMessage(error),
                    LogFuncs::kDefaultLevel);
    KelmPlatform::SetLastError(error);
}

} // namespace

// The item is read at most once, and only for a part to keep: a null date
// keeps the item's own date, a null time its own time of day.
FileTime DateTimeFuncs::GetModifiedFileDateTime(const std::wstring& path, int enabled,
                                                const DateTimeValue& date,
                                                const DateTimeValue& time, int kind) {
    if (!enabled)
        return 0;
    const DateTimeValue own =
        date.IsNull() || time.IsNull() ? OwnDateTime(path, kind) : DateTimeValue::MakeInvalid();
    // An invalid part reads as -1 and makes the combination invalid, giving 0.
    return DateTimeUtils::ToFileTime(
        DateTimeUtils::CombineDateTime(date.IsNull() ? own : date, time.IsNull() ? own : time));
}

// The shown text of the other date-time read back with the user's locale
// gives exactly its value at whole seconds, so the text is skipped.
FileTime DateTimeFuncs::GetSelectedFileDateTime(const std::wstring& path, int choice, int enabled) {
    if (!enabled)
        return 0;
    if (!IsTaken(choice))
        return ShownWholeSeconds(OwnFileTime(path, KindOfChoice(choice)));
    const DateTimeValue taken = TakenDateTime(path);
    return IsShown(taken) ? DateTimeUtils::ToFileTime(taken) : 0;
}

std::wstring DateTimeFuncs::GetOtherDateTime(const std::wstring& path, int choice) {
    const DateTimeValue value = OtherValue(path, choice);
    return IsShown(value) ? DateTimeUtils::GetFormatedDateTime(value) : std::wstring();
}

int DateTimeFuncs::SetModifiedFileDateTime(const std::wstring& path, const FileTime& created,
                                           const FileTime& modified, const FileTime& accessed) {
    if (KelmPlatform::WriteItemTimes(path, KelmPlatform::ItemTimes{created, modified, accessed}))
        return 1;
    TraceWriteFailure(path);
    return 0;
}

int DateTimeFuncs::IsMatchDate(const DateTimeValue& a, const DateTimeValue& b) {
    return SameComponents(a, b, true);
}

int DateTimeFuncs::IsMatchDateMonth(const DateTimeValue& a, const DateTimeValue& b) {
    return SameComponents(a, b, false);
}

} // namespace KelmLibraryFuncs
