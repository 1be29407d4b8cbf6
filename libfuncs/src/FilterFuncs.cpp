#include "KelmLibraryFuncs/FilterFuncs.h"

#include <KelmLibraryUtils/FileUtils.h>
#include <KelmPlatform/NativeName.h>

#include <QChar>

#include <sys/stat.h>

namespace KelmLibraryFuncs {
namespace {

using KelmLibraryUtils::FileUtils;

// One code point to one code point, the same under every locale, so that
// positions in the folded text are positions in the name. Escaped bytes of
// names that are not UTF-8 (U+DC80..U+DCFF) have no case and stay as they are.
std::wstring ToLower(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(QChar::toLower(static_cast<char32_t>(c)));
    return text;
}

// The item itself, not what a link points to; no wildcard expansion, since
// "*" and "?" are ordinary characters of Linux names.
bool ItemExists(const std::wstring& path) {
    struct stat st {};
    return ::lstat(KelmPlatform::ToNative(path).c_str(), &st) == 0;
}

} // namespace

int FilterFuncs::IsMatch(const std::wstring& path, int type, const std::vector<FILTERITEM>& items) {
    if (!ItemExists(path))
        return 1;
    const std::wstring name = FileUtils::GetSplitFileName(FileUtils::GetPathRemoveBackslash(path));
    switch (type) {
    case Include:
        return IsMatchAnyItem(name, items);
    case Exclude:
        return 1 - IsMatchAnyItem(name, items);
    default:
        return 1;
    }
}

int FilterFuncs::IsAlreadyAdded(const std::wstring& name, const std::vector<std::wstring>& names) {
    const std::wstring wanted = ToLower(name);
    for (const std::wstring& other : names)
        if (ToLower(other) == wanted)
            return 1;
    return 0;
}

int FilterFuncs::IsMatchAnyItem(const std::wstring& name, const std::vector<FILTERITEM>& items) {
    for (const FILTERITEM& item : items)
        if (item.Enable && IsMatchCondition(name, item))
            return 1;
    return 0;
}

int FilterFuncs::IsMatchCondition(const std::wstring& name, const FILTERITEM& item) {
    const bool distinguishCase = item.CaseInsensitive != 0;
    const std::wstring text = distinguishCase ? name : ToLower(name);
    const std::wstring wanted = distinguishCase ? item.Name : ToLower(item.Name);
    switch (item.Condition) {
    case Exact:
        return text == wanted ? 1 : 0;
    case Contains:
        return text.find(wanted) != std::wstring::npos ? 1 : 0;
    case StartsWith:
        return text.starts_with(wanted) ? 1 : 0;
    case EndsWith:
        return text.ends_with(wanted) ? 1 : 0;
    default:
        return 0;
    }
}

} // namespace KelmLibraryFuncs
