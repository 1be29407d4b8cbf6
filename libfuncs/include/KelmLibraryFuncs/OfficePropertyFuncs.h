#pragma once
// The table that maps Office file extensions to the property handler that
// reads (and, for the writer, writes) their summary dates.
#include <KelmLibraryUtils/ClassId.h>

#include <string>
#include <utility>
#include <vector>

namespace KelmLibraryFuncs {

struct CLSID_ITEM {
    std::wstring Extension;            // with its dot, e.g. ".docx"; compared ignoring case
    KelmLibraryUtils::ClassId ClassId; // the property handler, or the null id
    int LookUpHandler = 0;             // 1: looked up; 0: no look-up, null class id
};

class OfficePropertyFuncs {
public:
    // One entry per pair of extension and look-up flag, in order. Flag 0
    // gives the null class id; flag 1 looks the handler up, and an
    // extension without one gets no entry. Linux has no registry of
    // property handlers: the handlers are this system's own readers, so
    // the Office Open XML extensions get the core-properties reader.
    static std::vector<CLSID_ITEM> GetClassIdItems(std::vector<std::pair<std::wstring, int>> list);

    // The class id of the first entry for `extension` (ignoring case), or
    // the null class id.
    static KelmLibraryUtils::ClassId GetClassId(const std::wstring& extension,
                                                const std::vector<CLSID_ITEM>& table);

    // "<extension>\ShellEx\PropertyHandler", where Windows registers an
    // extension's handler below the registered classes.
    static std::wstring GetPropertyHandlerRegKey(const std::wstring& extension);
};

} // namespace KelmLibraryFuncs
