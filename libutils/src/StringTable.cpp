#include "StringTable.h"

#include <QFile>
#include <QString>

namespace KelmLibraryUtils {

namespace {

constexpr const char* kResourcePath = ":/res/strings.tsv";

std::wstring ReadResource() {
    QFile file(QString::fromLatin1(kResourcePath));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).toStdWString();
}

bool ParseId(std::wstring_view text, unsigned int& id) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    id = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
        id = id * 10 + static_cast<unsigned int>(c - L'0');
    }
    return true;
}

} // namespace

const StringTable& StringTable::Instance() {
    static const StringTable table = Parse(ReadResource());
    return table;
}

const std::wstring* StringTable::Find(const std::wstring& kind, unsigned int id) const {
    auto found = m_texts.find({kind, id});
    return found == m_texts.end() ? nullptr : &found->second;
}

StringTable StringTable::Parse(std::wstring_view source) {
    StringTable table;
    while (!source.empty()) {
        size_t end = source.find(L'\n');
        std::wstring_view line = source.substr(0, end);
        source = end == std::wstring_view::npos ? std::wstring_view() : source.substr(end + 1);
        if (!line.empty() && line.back() == L'\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == L'#') {
            continue;
        }
        size_t tab1 = line.find(L'\t');
        size_t tab2 = tab1 == std::wstring_view::npos ? tab1 : line.find(L'\t', tab1 + 1);
        unsigned int id = 0;
        if (tab2 == std::wstring_view::npos || tab1 == 0 ||
            !ParseId(line.substr(tab1 + 1, tab2 - tab1 - 1), id)) {
            continue;
        }
        std::wstring kind(line.substr(0, tab1));
        table.m_texts.try_emplace({kind, id}, Unescape(line.substr(tab2 + 1)));
    }
    return table;
}

std::wstring StringTable::Unescape(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
        case L'n':
            out += L'\n';
            break;
        case L'r':
            out += L'\r';
            break;
        case L't':
            out += L'\t';
            break;
        case L'\\':
            out += L'\\';
            break;
        default:
            out += L'\\';
            out += text[i];
            break;
        }
    }
    return out;
}

} // namespace KelmLibraryUtils
