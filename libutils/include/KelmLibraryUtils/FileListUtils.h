#pragma once
// The display texts of an item's detail columns.
#include <cstdint>
#include <string>

namespace KelmLibraryUtils {

class FileListUtils {
public:
    // The item's attribute letters ("RHA", "D", ...); empty when it has none
    // of them or cannot be queried.
    static std::wstring GetAttributes(const std::wstring& path);
    // The letters of a set of attribute bits, in display order.
    static std::wstring GetAttributesText(std::uint32_t attributes);
};

} // namespace KelmLibraryUtils
