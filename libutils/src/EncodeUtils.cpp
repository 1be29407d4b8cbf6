#include "KelmLibraryUtils/EncodeUtils.h"

#include "KelmLibraryUtils/StringUtils.h"

#include <utility>

namespace KelmLibraryUtils {

std::wstring EncodeUtils::GetEscapeLineString(const std::wstring& text) {
    return StringUtils::GetReplaceString(StringUtils::GetReplaceString(text, L"\r\n", L""), L"\n",
                                         L"");
}

std::wstring EncodeUtils::GetTextToEncodeString(const std::wstring& text) {
    static const std::pair<const wchar_t*, const wchar_t*> kCodes[] = {
        {L"%", L"%25"}, {L"<", L"%3C"}, {L">", L"%3E"}, {L"#", L"%23"}, {L"{", L"%7B"},
        {L"}", L"%7D"}, {L"|", L"%7C"}, {L"^", L"%5E"}, {L"~", L"%7E"}, {L"[", L"%5B"},
        {L"]", L"%5D"}, {L"`", L"%60"}, {L" ", L"%20"}, {L"?", L"%3F"}, {L"&", L"%26"}};
    std::wstring out = text;
    for (const auto& [plain, code] : kCodes) {
        out = StringUtils::GetReplaceString(out, plain, code);
    }
    return out;
}

} // namespace KelmLibraryUtils
