#include "KelmLibraryFuncs/OfficePropertyFuncs.h"

#include <KelmLibraryUtils/OoxmlCoreProperties.h>

#include <algorithm>

namespace KelmLibraryFuncs {
namespace {

using KelmLibraryUtils::ClassId;

wchar_t FoldAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

// The handler registered for an extension.
bool LookUpHandler(const std::wstring& extension, ClassId& id) {
    if (!KelmLibraryUtils::OoxmlCoreProperties::IsHandledExtension(extension))
        return false;
    id = KelmLibraryUtils::OoxmlCoreProperties::kHandlerClassId;
    return true;
}

} // namespace

std::vector<CLSID_ITEM>
OfficePropertyFuncs::GetClassIdItems(std::vector<std::pair<std::wstring, int>> list) {
    std::vector<CLSID_ITEM> table;
    table.reserve(list.size());
    for (auto& [extension, lookUp] : list) {
        ClassId id;
        if (lookUp == 0)
            table.push_back({std::move(extension), ClassId{}, 0});
        else if (LookUpHandler(extension, id))
            table.push_back({std::move(extension), id, 1});
    }
    return table;
}

ClassId OfficePropertyFuncs::GetClassId(const std::wstring& extension,
                                        const std::vector<CLSID_ITEM>& table) {
    const auto it = std::find_if(table.begin(), table.end(), [&](const CLSID_ITEM& item) {
        return EqualIgnoringCase(item.Extension, extension);
    });
    return it == table.end() ? ClassId{} : it->ClassId;
}

std::wstring OfficePropertyFuncs::GetPropertyHandlerRegKey(const std::wstring& extension) {
    return extension + L"\\ShellEx\\PropertyHandler";
}

} // namespace KelmLibraryFuncs
