#pragma once
// Conversion between the system's wide strings and the byte names of the
// Linux file system. Names are UTF-8 when they can be; every byte that is not
// part of valid UTF-8 becomes U+DC00 + byte (U+DC80..U+DCFF) and converts back to that byte,
// so any name survives the round trip and names the same file.
#include <string>
#include <string_view>

namespace KelmPlatform {

std::string ToNative(std::wstring_view text);
std::wstring FromNative(std::string_view bytes);

} // namespace KelmPlatform
