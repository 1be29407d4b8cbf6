#include "KelmEngine/ChangeLogReader.h"

#include "KelmEngine/ChangeLogFile.h"

#include <KelmLibraryUtils/StringUtils.h>
#include <KelmLibraryUtils/UnicodeText.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace KelmEngine {

using KelmLibraryUtils::StringUtils;

namespace {

// Logs are read whole; this only stops a stray huge file from exhausting memory.
constexpr std::size_t kMaxLogSize = std::size_t{1} << 30;
// The header line is short; a prefix of the file holds it.
constexpr std::size_t kHeaderPrefix = 256 * 1024;

std::wstring FieldOrEmpty(const CsvFields::Record& record, std::size_t index) {
    return index < record.fields.size() ? record.fields[index] : std::wstring();
}

// Strict decimal UTC ticks: digits only, no sign, no overflow.
bool ParseTicks(const std::wstring& text, KelmPlatform::FileTime& ticks) {
    if (text.empty() || text.size() > 20)
        return false;
    std::uint64_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - L'0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    ticks = value;
    return true;
}

// Six empty fields: a line written without the times.
bool ParseTimes(const CsvFields::Record& record, CHANGELOGITEM& item) {
    const auto first = record.fields.begin() + ChangeLogReader::kEntryFields;
    if (std::all_of(first, record.fields.end(), [](const auto& f) { return f.empty(); }))
        return true;
    KelmPlatform::FileTime* targets[] = {
        &item.TimesBefore.created, &item.TimesBefore.modified, &item.TimesBefore.accessed,
        &item.TimesAfter.created,  &item.TimesAfter.modified,  &item.TimesAfter.accessed,
    };
    for (std::size_t i = 0; i < 6; ++i) {
        if (!ParseTicks(record.fields[ChangeLogReader::kEntryFields + i], *targets[i]))
            return false;
    }
    item.ExactTimes = 1;
    return true;
}

void ParseTexts(const CsvFields::Record& record, CHANGELOGITEM& item) {
    std::wstring* targets[] = {
        &item.Path,          &item.CreatedBefore,    &item.ModifiedBefore,  &item.AccessedBefore,
        &item.TakenBefore,   &item.AttributesBefore, &item.CreatedAfter,    &item.ModifiedAfter,
        &item.AccessedAfter, &item.TakenAfter,       &item.AttributesAfter,
    };
    for (std::size_t i = 0; i < 11; ++i)
        *targets[i] = record.fields[i];
    item.TimeResult = StringUtils::StringToIntNumber(record.fields[11]);
    item.AttributesResult = StringUtils::StringToIntNumber(record.fields[12]);
    item.UnblockResult = StringUtils::StringToIntNumber(record.fields[13]);
}

// The whole file, or with `prefixOnly` its first kHeaderPrefix bytes.
int ReadLogText(const std::wstring& path, bool prefixOnly, std::wstring& text) {
    std::string bytes;
    const std::size_t limit = prefixOnly ? kHeaderPrefix : kMaxLogSize + 1;
    if (!ChangeLogFile::ReadPrefix(path, limit, bytes))
        return 0;
    if (!prefixOnly && bytes.size() > kMaxLogSize)
        return 0;
    text = ChangeLogReader::DecodeLogBytes(bytes);
    return 1;
}

} // namespace

std::wstring ChangeLogReader::DecodeLogBytes(std::string_view bytes) {
    return KelmLibraryUtils::UnicodeText::DecodeFileBytes(bytes);
}

ChangeLogHeader ChangeLogReader::ParseHeader(const CsvFields::Record& record) {
    ChangeLogHeader header;
    header.Title = FieldOrEmpty(record, 0);
    header.Address = FieldOrEmpty(record, 1);
    header.DateTime = FieldOrEmpty(record, 2);
    header.Count = StringUtils::StringToIntNumber(FieldOrEmpty(record, 3));
    return header;
}

int ChangeLogReader::ParseEntry(const CsvFields::Record& record, CHANGELOGITEM& item) {
    item = {};
    const std::size_t count = record.fields.size();
    if (!record.complete || (count != kEntryFields && count != kEntryFieldsWithTimes))
        return 0;
    if (count == kEntryFieldsWithTimes && !ParseTimes(record, item)) {
        item = {};
        return 0;
    }
    ParseTexts(record, item);
    return 1;
}

void ChangeLogReader::ParseEntries(std::wstring_view text, ChangeLogEntries& entries) {
    entries = {};
    std::size_t pos = 0;
    CsvFields::DecodeRecord(text, pos); // the header
    while (pos < text.size()) {
        CHANGELOGITEM item;
        if (!ParseEntry(CsvFields::DecodeRecord(text, pos), item))
            entries.Unusable.push_back(entries.Items.size());
        entries.Items.push_back(std::move(item));
    }
}

int ChangeLogReader::ReadHeader(const std::wstring& path, ChangeLogHeader& header) {
    header = {};
    std::wstring text;
    if (!ReadLogText(path, true, text))
        return 0;
    std::size_t pos = 0;
    CsvFields::Record record = CsvFields::DecodeRecord(text, pos);
    if (!record.complete && !ReadLogText(path, false, text))
        return 0;
    if (!record.complete) {
        pos = 0;
        record = CsvFields::DecodeRecord(text, pos);
    }
    header = ParseHeader(record);
    return 1;
}

int ChangeLogReader::ReadEntries(const std::wstring& path, ChangeLogEntries& entries) {
    entries = {};
    std::wstring text;
    if (!ReadLogText(path, false, text))
        return 0;
    ParseEntries(text, entries);
    return 1;
}

} // namespace KelmEngine
