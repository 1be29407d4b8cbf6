#pragma once
// Texts of the program's string table, number conversion, and the quoting of
// comma-separated fields used by the change log, the trace and the clipboard.
//
// The texts come from the resource ":/res/strings.tsv", loaded once on first
// use. Its rows are of three kinds: "S" string-table entries (what
// GetLoadString reads), "M<menu id>" menu and command labels ("M128" is the
// main menu) and "D<dialog id>" control texts of a dialog template, where id 0
// is the dialog's caption. GetResourceText reads any kind.
#include <cstdint>
#include <string>
#include <vector>

namespace KelmLibraryUtils {

class StringUtils {
public:
    // String-table texts; empty when the entry does not exist.
    static std::wstring GetLoadString(unsigned int id);
    static std::wstring GetLoadStringText(unsigned int id);  // before the last line feed
    static std::wstring GetLoadStringTitle(unsigned int id); // after the last line feed
    static int IsCompareNoCase(const std::wstring& text, unsigned int id);
    // Any row of the resource: kind "S", "M128", "D401"...; empty when absent.
    static std::wstring GetResourceText(const std::wstring& kind, unsigned int id);

    // "%s" takes the next argument (empty when none is left), "%%" gives "%";
    // any other "%" sequence is copied unchanged.
    static std::wstring GetFormatedText(unsigned int id, const std::wstring& a);
    static std::wstring GetFormatedText(const std::wstring& format, const std::wstring& a);
    static std::wstring GetFormatedText(const std::wstring& format, const std::wstring& a,
                                        const std::wstring& b);

    static std::wstring GetIfEmptyText(const std::wstring& text, const std::wstring& other);
    static std::wstring GetReplaceString(const std::wstring& text, const std::wstring& oldText,
                                         const std::wstring& newText);
    // The index-th non-empty run between any of the delimiter characters.
    static std::wstring GetTokenizeString(const std::wstring& text, const std::wstring& delimiters,
                                          int index);
    static std::wstring GetStringArrayString(const std::vector<std::wstring>& array);

    // Numbers: "%d" texts; parsing accepts only an optional sign and ASCII
    // digits, in range, and gives 0 for anything else.
    static std::wstring IntNumberToString(int n);
    static std::wstring DWORDNumberToString(std::uint32_t n);
    static int StringToIntNumber(const std::wstring& text);
    static std::int64_t StringToInt64Number(const std::wstring& text);
    static std::uint32_t StringToDWORDNumber(const std::wstring& text);

    // Quoting of comma-separated fields.
    static std::wstring GetAddDoubleQuotesString(const std::wstring& text);
    static std::wstring GetAddDoubleQuotesCommaString(const std::wstring& text);
    static std::wstring GetAddTwiceDoubleQuotesString(const std::wstring& text);
    static std::wstring GetRemoveDoubleQuotesString(const std::wstring& text);
    static std::wstring GetAddCommaString(const std::wstring& text);
    static std::wstring GetRemoveCommaString(const std::wstring& text);
};

} // namespace KelmLibraryUtils
