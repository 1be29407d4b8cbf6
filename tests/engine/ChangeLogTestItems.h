#pragma once
// Entries and folder helpers shared by the change log tests.
#include <KelmEngine/ChangeLogItem.h>
#include <KelmPlatform/NativeName.h>

#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>

namespace kelmtest {

inline KelmEngine::CHANGELOGITEM MakeEntry(const std::wstring& path,
                                           KelmPlatform::FileTime base = 0) {
    KelmEngine::CHANGELOGITEM item;
    item.Path = path;
    item.CreatedBefore = L"2024/01/31 23:00:00";
    item.ModifiedBefore = L"2024/02/01 08:15:30";
    item.AccessedBefore = L"2024/02/01 08:15:30";
    item.AttributesBefore = L"RA";
    item.CreatedAfter = L"2020/03/29 02:30:00";
    item.ModifiedAfter = L"2020/03/29 02:30:00";
    item.AccessedAfter = L"2020/03/29 02:30:00";
    item.AttributesAfter = L"A";
    item.TimeResult = 1;
    item.AttributesResult = 1;
    item.UnblockResult = 0;
    if (base != 0) {
        item.ExactTimes = 1;
        item.TimesBefore = {base + 1, base + 2, base + 3};
        item.TimesAfter = {base + 4, base + 5, base + 6};
    }
    return item;
}

// Sets the modified time of a file to `seconds` after the Unix epoch.
inline void SetModified(const std::wstring& path, std::time_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    utimensat(AT_FDCWD, KelmPlatform::ToNative(path).c_str(), times, 0);
}

} // namespace kelmtest
