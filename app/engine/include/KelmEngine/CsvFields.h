#pragma once
// The comma-separated records of the change log: every value in double
// quotes, a quote inside a value doubled, so that commas, quotes and line
// breaks survive; records end with CR LF.
//
// Decoding also reads the logs of earlier versions, which wrote values
// between quotes without doubling the quotes inside them: a quote that
// neither doubles nor closes the value (followed by a comma, a line end or
// the end of the text) is kept as part of the value.
//
// Header-only and free of other libraries, so that the fuzz target can
// compile it on its own.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace KelmEngine {

class CsvFields {
public:
    struct Record {
        std::vector<std::wstring> fields;
        bool complete = true; // false when the text ended inside a quoted value
    };

    static std::wstring Quote(std::wstring_view value) {
        std::wstring quoted;
        quoted.reserve(value.size() + 2);
        quoted += L'"';
        for (const wchar_t c : value) {
            if (c == L'"')
                quoted += L'"';
            quoted += c;
        }
        quoted += L'"';
        return quoted;
    }

    // The record's text without its line end.
    static std::wstring EncodeRecord(const std::vector<std::wstring>& fields) {
        std::wstring line;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i != 0)
                line += L',';
            line += Quote(fields[i]);
        }
        return line;
    }

    // Decodes the record starting at `pos` and moves `pos` past its line end.
    // At the end of the text the record has no fields.
    static Record DecodeRecord(std::wstring_view text, std::size_t& pos) {
        Record record;
        if (pos >= text.size())
            return record;
        for (;;) {
            std::wstring field;
            if (text[pos] == L'"') {
                if (!ReadQuoted(text, pos, field)) {
                    record.fields.push_back(std::move(field));
                    record.complete = false;
                    return record;
                }
            } else {
                ReadUnquoted(text, pos, field);
            }
            record.fields.push_back(std::move(field));
            if (pos < text.size() && text[pos] == L',') {
                ++pos;
                continue;
            }
            SkipLineEnd(text, pos);
            return record;
        }
    }

    static std::vector<Record> DecodeRecords(std::wstring_view text) {
        std::vector<Record> records;
        std::size_t pos = 0;
        while (pos < text.size())
            records.push_back(DecodeRecord(text, pos));
        return records;
    }

private:
    static bool IsFieldEnd(std::wstring_view text, std::size_t pos) {
        if (pos >= text.size() || text[pos] == L',' || text[pos] == L'\n')
            return true;
        return text[pos] == L'\r' && (pos + 1 == text.size() || text[pos + 1] == L'\n');
    }

    // `pos` is at the opening quote; false when no closing quote follows.
    static bool ReadQuoted(std::wstring_view text, std::size_t& pos, std::wstring& field) {
        ++pos;
        while (pos < text.size()) {
            const wchar_t c = text[pos++];
            if (c != L'"') {
                field += c;
            } else if (pos < text.size() && text[pos] == L'"') {
                field += L'"';
                ++pos;
            } else if (IsFieldEnd(text, pos)) {
                return true;
            } else {
                field += L'"'; // an earlier version's undoubled quote
            }
        }
        return false;
    }

    static void ReadUnquoted(std::wstring_view text, std::size_t& pos, std::wstring& field) {
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] != L',' && text[pos] != L'\n')
            ++pos;
        std::size_t end = pos;
        if (end > start && text[end - 1] == L'\r' && (pos == text.size() || text[pos] == L'\n'))
            --end;
        field.assign(text.substr(start, end - start));
    }

    static void SkipLineEnd(std::wstring_view text, std::size_t& pos) {
        if (pos < text.size() && text[pos] == L'\r')
            ++pos;
        if (pos < text.size() && text[pos] == L'\n')
            ++pos;
    }
};

} // namespace KelmEngine
