#include <KelmEngine/CsvFields.h>

#include <gtest/gtest.h>

using KelmEngine::CsvFields;

namespace {

std::vector<std::wstring> Decode(std::wstring_view text, bool* complete = nullptr) {
    std::size_t pos = 0;
    CsvFields::Record record = CsvFields::DecodeRecord(text, pos);
    if (complete)
        *complete = record.complete;
    return record.fields;
}

} // namespace

TEST(ACsvRecord, roundTripsValuesWithCommasQuotesAndLineBreaks) {
    const std::vector<std::wstring> values = {
        L"",           L"plain",        L"/a,b/c",       L"say \"hi\"", L"\"",
        L"\"\"",       L"\",",          L"line\r\nnext", L"cr\ronly",   L"lf\n",
        L"日本語.txt", L"\xDC80\xDCFF", L"ends with\"",  L",",          L"\r\n",
    };
    const std::wstring line = CsvFields::EncodeRecord(values);
    std::size_t pos = 0;
    const std::wstring text = line + L"\r\n" + line + L"\r\n";
    for (int copy = 0; copy < 2; ++copy) {
        const CsvFields::Record record = CsvFields::DecodeRecord(text, pos);
        EXPECT_TRUE(record.complete);
        EXPECT_EQ(record.fields, values);
    }
    EXPECT_EQ(pos, text.size());
}

TEST(ACsvRecord, quotesEveryValueAndDoublesInnerQuotes) {
    EXPECT_EQ(CsvFields::EncodeRecord({L"a", L"b\"c", L""}), L"\"a\",\"b\"\"c\",\"\"");
}

// Earlier versions wrote quotes inside values as they were.
TEST(ACsvRecord, readsTheUndoubledQuotesOfEarlierLogs) {
    struct Case {
        std::wstring_view text;
        std::vector<std::wstring> fields;
    } cases[] = {
        {L"\"a\"b\",\"c\"", {L"a\"b", L"c"}}, {L"\"/x/a,b\",\"1\"", {L"/x/a,b", L"1"}},
        {L"\"\",\"\"\r\n", {L"", L""}},       {L"\"1\",2,,\"3\"", {L"1", L"2", L"", L"3"}},
        {L"\"a\",\"b\"\n", {L"a", L"b"}},     {L"\r\n", {L""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Decode(c.text), c.fields) << std::wstring(c.text).size();
}

TEST(ACsvRecord, isIncompleteWhenTheTextEndsInsideAQuotedValue) {
    bool complete = true;
    EXPECT_EQ(Decode(L"\"a\",\"b", &complete), (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_FALSE(complete);
    Decode(L"\"a\",\"b\"", &complete);
    EXPECT_TRUE(complete);
}

TEST(ACsvText, splitsIntoRecordsAtLineEndsOutsideQuotes) {
    const auto records = CsvFields::DecodeRecords(L"\"a\r\nb\",\"c\"\r\n\"d\"\r\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fields, (std::vector<std::wstring>{L"a\r\nb", L"c"}));
    EXPECT_EQ(records[1].fields, (std::vector<std::wstring>{L"d"}));
}
