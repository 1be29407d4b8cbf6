// Feeds arbitrary text to the date-time parsers: they must never crash, and
// whatever the locale parser accepts must format and parse back unchanged.
#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmPlatform/NativeName.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>

using KelmLibraryUtils::DateTimeUtils;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text =
        KelmPlatform::FromNative(std::string_view(reinterpret_cast<const char*>(data), size));
    DateTimeUtils::GetExifDateTime(text);
    DateTimeUtils::GetPDFDateTime(text);
    for (int flags : {0, int(DateTimeUtils::TimeValueOnly), int(DateTimeUtils::DateValueOnly)}) {
        const auto value = DateTimeUtils::GetParseDateTime(text, 1, flags);
        if (value.IsValid() &&
            !(DateTimeUtils::GetParseDateTime(DateTimeUtils::Format(value), 1) == value))
            std::abort();
    }
    return 0;
}
