#include "KelmLibraryUtils/IniDocument.h"

#include "KelmLibraryUtils/FileContents.h"
#include "KelmLibraryUtils/UnicodeText.h"

#include <QChar>

#include <algorithm>
#include <cstdint>

namespace KelmLibraryUtils {
namespace {

constexpr size_t npos = std::wstring::npos;

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::wstring Trim(std::wstring_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return std::wstring(text.substr(begin, end - begin));
}

// Simple case folding per code point; surrogate code units (kept from
// undecodable input) stand for themselves.
std::wstring Fold(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded) {
        const auto cp = static_cast<char32_t>(c);
        if (cp < 0xD800 || (cp > 0xDFFF && cp <= 0x10FFFF))
            c = static_cast<wchar_t>(QChar::toCaseFolded(cp));
    }
    return folded;
}

bool IsQuote(wchar_t c) {
    return c == L'"' || c == L'\'';
}

bool IsEnclosedInQuotes(std::wstring_view value) {
    return value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
}

// The reader strips one pair of enclosing quotes, as Windows does.
std::wstring Unquote(std::wstring value) {
    if (IsEnclosedInQuotes(value))
        return value.substr(1, value.size() - 2);
    return value;
}

// A value that the reader would change (blanks at either end, enclosing
// quotes) is written inside double quotes, so it reads back unchanged here
// and on Windows.
std::wstring EncodeValue(const std::wstring& value) {
    if (value.empty())
        return value;
    if (IsBlank(value.front()) || IsBlank(value.back()) || IsEnclosedInQuotes(value))
        return L"\"" + value + L"\"";
    return value;
}

// CR, LF and NUL would end the line or the text early.
bool FitsOnALine(std::wstring_view text) {
    return text.find_first_of(std::wstring_view(L"\r\n\0", 3)) == npos;
}

bool IsStorableSection(const std::wstring& section) {
    return !section.empty() && FitsOnALine(section);
}

bool IsStorableKey(const std::wstring& key) {
    return !key.empty() && FitsOnALine(key) && key.find(L'=') == npos && key.front() != L';' &&
           key.front() != L'[';
}

int ParseDecimal(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    // Wraps like the unsigned result of the Windows reader.
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        value = value * 10 + static_cast<std::uint32_t>(text[i] - L'0');
    return static_cast<int>(negative ? 0u - value : value);
}

} // namespace

IniDocument IniDocument::NewSettingsFile(const std::wstring& fileName) {
    IniDocument document;
    document.m_lines.push_back(Line{Kind::Other, L"; " + fileName, {}, {}, {}});
    return document;
}

int IniDocument::Load(const std::wstring& path) {
    m_lines.clear();
    m_exists = 0;
    std::string bytes;
    const FileContents::ReadResult result = FileContents::Read(path, bytes);
    if (result == FileContents::ReadFailed)
        return 0;
    if (result == FileContents::ReadDone) {
        Parse(UnicodeText::DecodeFileBytes(bytes));
        m_exists = 1;
    }
    return 1;
}

int IniDocument::Save(const std::wstring& path) const {
    return FileContents::ReplaceAtomically(path, UnicodeText::EncodeUtf16LeWithBom(ToText()));
}

void IniDocument::Parse(std::wstring_view text) {
    m_lines.clear();
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find(L'\n', begin);
        const size_t next = end == npos ? text.size() : end + 1;
        if (end == npos)
            end = text.size();
        if (end > begin && text[end - 1] == L'\r')
            --end;
        m_lines.push_back(ParseLine(std::wstring(text.substr(begin, end - begin))));
        begin = next;
    }
}

std::wstring IniDocument::ToText() const {
    std::wstring text;
    for (const Line& line : m_lines)
        text += line.text + L"\r\n";
    return text;
}

IniDocument::Line IniDocument::ParseLine(const std::wstring& text) {
    Line line{Kind::Other, text, {}, {}, {}};
    const std::wstring trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() == L';')
        return line;
    if (trimmed.front() == L'[') {
        const size_t close = trimmed.rfind(L']');
        if (close != npos) {
            line.kind = Kind::Section;
            line.name = Trim(std::wstring_view(trimmed).substr(1, close - 1));
            line.folded = Fold(line.name);
        }
        return line;
    }
    const size_t equals = trimmed.find(L'=');
    if (equals == npos)
        return line;
    line.name = Trim(std::wstring_view(trimmed).substr(0, equals));
    if (line.name.empty())
        return line;
    line.kind = Kind::Key;
    line.folded = Fold(line.name);
    line.value = Unquote(Trim(std::wstring_view(trimmed).substr(equals + 1)));
    return line;
}

IniDocument::Line IniDocument::MakeKeyLine(const std::wstring& key, const std::wstring& value) {
    return Line{Kind::Key, key + L"=" + EncodeValue(value), key, Fold(key), value};
}

IniDocument::Range IniDocument::FindSection(const std::wstring& section) const {
    const std::wstring folded = Fold(Trim(section));
    Range range{npos, npos};
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind != Kind::Section)
            continue;
        if (range.header != npos) {
            range.end = i;
            return range;
        }
        if (!folded.empty() && m_lines[i].folded == folded)
            range.header = i;
    }
    range.end = m_lines.size();
    return range;
}

size_t IniDocument::FindKey(const Range& range, const std::wstring& key) const {
    const std::wstring folded = Fold(Trim(key));
    if (range.header == npos || folded.empty())
        return npos;
    for (size_t i = range.header + 1; i < range.end; ++i) {
        if (m_lines[i].kind == Kind::Key && m_lines[i].folded == folded)
            return i;
    }
    return npos;
}

int IniDocument::HasSection(const std::wstring& section) const {
    return FindSection(section).header != npos;
}

int IniDocument::HasKey(const std::wstring& section, const std::wstring& key) const {
    return FindKey(FindSection(section), key) != npos;
}

std::wstring IniDocument::GetString(const std::wstring& section, const std::wstring& key,
                                    const std::wstring& defaultValue) const {
    const size_t index = FindKey(FindSection(section), key);
    return index == npos ? defaultValue : m_lines[index].value;
}

int IniDocument::GetInt(const std::wstring& section, const std::wstring& key,
                        int defaultValue) const {
    const size_t index = FindKey(FindSection(section), key);
    if (index == npos || m_lines[index].value.empty())
        return defaultValue;
    return ParseDecimal(m_lines[index].value);
}

int IniDocument::SetString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& value) {
    const std::wstring sectionName = Trim(section);
    const std::wstring keyName = Trim(key);
    if (!IsStorableSection(sectionName) || !IsStorableKey(keyName) || !FitsOnALine(value))
        return 0;
    const Range range = FindSection(sectionName);
    if (range.header == npos) {
        m_lines.push_back(ParseLine(L"[" + sectionName + L"]"));
        m_lines.push_back(MakeKeyLine(keyName, value));
        return 1;
    }
    const size_t index = FindKey(range, keyName);
    if (index != npos) {
        m_lines[index] = MakeKeyLine(m_lines[index].name, value);
        return 1;
    }
    // A new key goes after the section's last key, before the blank lines
    // and comments that lead to the next section.
    size_t at = range.header + 1;
    for (size_t i = range.header + 1; i < range.end; ++i) {
        if (m_lines[i].kind == Kind::Key)
            at = i + 1;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), MakeKeyLine(keyName, value));
    return 1;
}

int IniDocument::SetInt(const std::wstring& section, const std::wstring& key, int value) {
    return SetString(section, key, std::to_wstring(value));
}

// Every copy goes, so that no older duplicate shows through afterwards.
int IniDocument::RemoveKey(const std::wstring& section, const std::wstring& key) {
    int removed = 0;
    for (Range range = FindSection(section);;) {
        const size_t index = FindKey(range, key);
        if (index == npos)
            return removed;
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(index));
        --range.end;
        removed = 1;
    }
}

int IniDocument::RemoveSection(const std::wstring& section) {
    int removed = 0;
    for (Range range = FindSection(section); range.header != npos; range = FindSection(section)) {
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(range.header),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(range.end));
        removed = 1;
    }
    return removed;
}

std::vector<std::wstring> IniDocument::GetSectionNames() const {
    std::vector<std::wstring> names;
    std::vector<std::wstring> seen;
    for (const Line& line : m_lines) {
        if (line.kind != Kind::Section || line.name.empty())
            continue;
        if (std::find(seen.begin(), seen.end(), line.folded) != seen.end())
            continue;
        seen.push_back(line.folded);
        names.push_back(line.name);
    }
    return names;
}

std::vector<std::wstring> IniDocument::GetKeyNames(const std::wstring& section) const {
    std::vector<std::wstring> names;
    std::vector<std::wstring> seen;
    const Range range = FindSection(section);
    if (range.header == npos)
        return names;
    for (size_t i = range.header + 1; i < range.end; ++i) {
        const Line& line = m_lines[i];
        if (line.kind != Kind::Key ||
            std::find(seen.begin(), seen.end(), line.folded) != seen.end())
            continue;
        seen.push_back(line.folded);
        names.push_back(line.name);
    }
    return names;
}

} // namespace KelmLibraryUtils
