#pragma once
// One INI file held in memory, read and changed as the Windows
// private-profile services do: section and key names compared ignoring
// case, blanks around names and values trimmed, one pair of enclosing quotes
// stripped from a value. Every line that is not changed (comments, blank
// lines, other keys, their order and spelling) is written back as it was
// read. Saving writes UTF-16LE with a byte-order mark and CR LF line ends,
// replacing the file atomically.
//
// Writers that set many keys should fill one document and save it once;
// ProfileUtils reads and rewrites the whole file for every key.
#include <string>
#include <string_view>
#include <vector>

namespace KelmLibraryUtils {

class IniDocument {
public:
    IniDocument() = default;

    // A document holding only the first line of a new settings file, the
    // comment "; " + fileName.
    static IniDocument NewSettingsFile(const std::wstring& fileName);

    // Reads the file. Nonzero when it was read or does not exist (then the
    // document is empty and Exists() is false); 0 when it cannot be read (a
    // folder, an I/O error, a file too large), leaving the document empty.
    int Load(const std::wstring& path);
    // Nonzero when the last Load found the file.
    int Exists() const { return m_exists; }
    // Writes the document over the file at `path` (nonzero on success).
    int Save(const std::wstring& path) const;

    void Parse(std::wstring_view text);
    // The lines, each ended by CR LF.
    std::wstring ToText() const;

    int HasSection(const std::wstring& section) const;
    int HasKey(const std::wstring& section, const std::wstring& key) const;
    std::wstring GetString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& defaultValue) const;
    // The value read as a decimal number (leading blanks, a sign, then
    // digits up to the first other character); the default when the key is
    // missing or its value empty.
    int GetInt(const std::wstring& section, const std::wstring& key, int defaultValue) const;

    // Sets the key, appending the section and key when missing. Returns 0,
    // changing nothing, when a name is empty or a name or the value holds a
    // character a line cannot keep (CR, LF, NUL; "=" in a key).
    int SetString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    int SetInt(const std::wstring& section, const std::wstring& key, int value);

    // Nonzero when something was removed.
    int RemoveKey(const std::wstring& section, const std::wstring& key);
    int RemoveSection(const std::wstring& section);

    // Names in file order, each once, as first spelt.
    std::vector<std::wstring> GetSectionNames() const;
    std::vector<std::wstring> GetKeyNames(const std::wstring& section) const;

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        Kind kind = Kind::Other;
        std::wstring text;   // the line as written
        std::wstring name;   // section or key name, trimmed
        std::wstring folded; // name case-folded, for comparison
        std::wstring value;  // key value as read
    };
    struct Range {
        size_t header; // index of the section line, npos when missing
        size_t end;    // one past its last line
    };

    Range FindSection(const std::wstring& section) const;
    size_t FindKey(const Range& range, const std::wstring& key) const;
    static Line ParseLine(const std::wstring& text);
    static Line MakeKeyLine(const std::wstring& key, const std::wstring& value);

    std::vector<Line> m_lines;
    int m_exists = 0;
};

} // namespace KelmLibraryUtils
