#include "KelmLibraryUtils/RegexUtils.h"

#include <boost/regex.hpp>

#include <exception>

namespace KelmLibraryUtils {

int RegexUtils::IsMatch(const std::wstring& text, const std::wstring& pattern) {
    try {
        return boost::regex_search(text, boost::wregex(pattern)) ? 1 : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

std::wstring RegexUtils::Replace(const std::wstring& text, const std::wstring& pattern,
                                 const std::wstring& replacement) {
    try {
        return boost::regex_replace(text, boost::wregex(pattern), replacement);
    } catch (const std::exception&) {
        return text;
    }
}

} // namespace KelmLibraryUtils
