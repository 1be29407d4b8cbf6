#pragma once
// The program's numbered texts, read once from the compiled-in resource
// ":/res/strings.tsv" (kind, id, text per line) on first use.
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace KelmLibraryUtils {

class StringTable {
public:
    // The one table of the process; loading is thread-safe and happens once.
    static const StringTable& Instance();

    // The text of `kind` ("S", "M128", "D401"...) and `id`; nullptr when absent.
    const std::wstring* Find(const std::wstring& kind, unsigned int id) const;

    // Parses the table's text form; malformed lines are skipped and the first
    // of two rows with the same kind and id wins.
    static StringTable Parse(std::wstring_view source);

private:
    static std::wstring Unescape(std::wstring_view text);

    std::map<std::pair<std::wstring, unsigned int>, std::wstring> m_texts;
};

} // namespace KelmLibraryUtils
