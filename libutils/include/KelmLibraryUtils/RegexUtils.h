#pragma once
// Wide-character regular expressions (ECMAScript syntax). A pattern that does
// not compile, or a search that the engine gives up on, counts as no match.
#include <string>

namespace KelmLibraryUtils {

class RegexUtils {
public:
    // Nonzero when `pattern` matches somewhere in `text`.
    static int IsMatch(const std::wstring& text, const std::wstring& pattern);
    // `text` with every match of `pattern` replaced by `replacement` ("$&",
    // "$1"... refer to the match); `text` unchanged when the pattern is bad.
    static std::wstring Replace(const std::wstring& text, const std::wstring& pattern,
                                const std::wstring& replacement);
};

} // namespace KelmLibraryUtils
