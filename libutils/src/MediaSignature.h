#pragma once
// The first bytes each media family starts with. A file is handed to TagLib
// only when its extension's family matches them.
#include <cstddef>
#include <string_view>

namespace KelmLibraryUtils {

using Head = std::string_view; // the file's first bytes

bool IsAsf(Head head);
bool IsMpeg(Head head);
bool IsFlac(Head head);
bool IsOgg(Head head);
bool IsMp4(Head head);
bool IsWav(Head head);
bool IsAiff(Head head);
// True when `bytes` stand at `offset`.
bool At(Head head, std::size_t offset, std::string_view bytes);

} // namespace KelmLibraryUtils
