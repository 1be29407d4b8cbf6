#include "KelmLibraryUtils/FileListUtils.h"

#include <KelmPlatform/FileSystemItem.h>

namespace KelmLibraryUtils {
namespace {

// Windows attribute bits and their letters, in display order. Bits with no
// Linux meaning are never reported by the platform layer, so their letters
// never show.
struct Letter {
    std::uint32_t bit;
    wchar_t letter;
};
constexpr Letter kLetters[] = {
    {0x1, L'R'},      {0x2, L'H'},     {0x4, L'S'},      {0x10, L'D'},   {0x20, L'A'},
    {0x100, L'T'},    {0x200, L'P'},   {0x400, L'L'},    {0x800, L'C'},  {0x1000, L'O'},
    {0x2000, L'I'},   {0x4000, L'E'},  {0x20000, L'X'},  {0x8000, L'V'}, {0x80000, L'P'},
    {0x100000, L'U'}, {0x40000, L'G'}, {0x400000, L'W'},
};

} // namespace

std::wstring FileListUtils::GetAttributesText(std::uint32_t attributes) {
    std::wstring text;
    for (const auto& entry : kLetters) {
        if (attributes & entry.bit)
            text += entry.letter;
    }
    return text;
}

std::wstring FileListUtils::GetAttributes(const std::wstring& path) {
    std::uint32_t bits = 0;
    if (!KelmPlatform::ReadItemAttributes(path, bits))
        return {};
    return GetAttributesText(bits);
}

} // namespace KelmLibraryUtils
