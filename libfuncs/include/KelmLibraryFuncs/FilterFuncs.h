#pragma once
// The filter list: user-defined name conditions that either keep only the
// items whose names match (include) or drop them (exclude). Used by folder
// openings and by the folder wizard's ignored names.
#include <string>
#include <vector>

namespace KelmLibraryFuncs {

// One entry of the filter list. The field names are the keys of the stored
// entries; the defaults are the defaults read for a missing key.
struct FILTERITEM {
    int ID = 0;     // 1-based position in the list
    int Enable = 1; // nonzero: the entry takes part in matching
    std::wstring Name;
    int Condition = 0; // FilterFuncs::Condition
    // Nonzero: letter case is DISTINGUISHED; 0: case is ignored. The name is
    // the stored key and stored files rely on this meaning.
    int CaseInsensitive = 1;
};

class FilterFuncs {
public:
    enum FilterType { Include = 0, Exclude = 1 };
    enum Condition { Exact = 0, Contains = 1, StartsWith = 2, EndsWith = 3 };

    // 1 when the item at `path` passes the filter list: include keeps the
    // names some enabled entry matches, exclude drops them, any other type
    // keeps everything. A missing path passes, so nothing is dropped for an
    // item that vanished during enumeration.
    static int IsMatch(const std::wstring& path, int type, const std::vector<FILTERITEM>& items);

    // 1 when `name` equals one of `names`, letter case ignored.
    static int IsAlreadyAdded(const std::wstring& name, const std::vector<std::wstring>& names);

private:
    static int IsMatchCondition(const std::wstring& name, const FILTERITEM& item);
    static int IsMatchAnyItem(const std::wstring& name, const std::vector<FILTERITEM>& items);
};

} // namespace KelmLibraryFuncs
