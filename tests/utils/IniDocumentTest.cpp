#include <KelmLibraryUtils/IniDocument.h>

#include <gtest/gtest.h>

using KelmLibraryUtils::IniDocument;

namespace {

IniDocument Parsed(const std::wstring& text) {
    IniDocument document;
    document.Parse(text);
    return document;
}

} // namespace

// The reader follows the Windows private-profile rules.
TEST(AnIniDocument, readsValuesAsTheWindowsProfileReaderDoes) {
    struct Case {
        const wchar_t* line;
        const wchar_t* expected; // nullptr: the default
    };
    const Case cases[] = {
        {L"key=value", L"value"},
        {L"  key  =  value with  blanks\t ", L"value with  blanks"},
        {L"key=\"quoted\"", L"quoted"},
        {L"key=' single '", L" single "},
        {L"key=\"\"quoted twice\"\"", L"\"quoted twice\""},
        {L"key=\"open only", L"\"open only"},
        {L"key=\"mixed'", L"\"mixed'"},
        {L"key=\"", L"\""},
        {L"key=", L""},
        {L"key=a=b;c", L"a=b;c"},
        {L"key=日本語のテキスト", L"日本語のテキスト"},
        {L"key", nullptr},
        {L"; key=commented out", nullptr},
        {L"=no name", nullptr},
    };
    for (const Case& c : cases) {
        const IniDocument document = Parsed(std::wstring(L"[s]\r\n") + c.line + L"\r\n");
        EXPECT_EQ(document.GetString(L"s", L"key", L"<default>"),
                  c.expected ? c.expected : L"<default>")
            << "line: " << testing::PrintToString(std::wstring(c.line));
    }
}

TEST(AnIniDocument, comparesSectionAndKeyNamesIgnoringCase) {
    const IniDocument document =
        Parsed(L"[Options]\r\nShowGrid=1\r\n[ Größe ]\r\nÄrger=ja\r\n[ΣΊΣΥΦΟΣ]\r\nκλειδί=2\r\n");
    EXPECT_EQ(document.GetString(L"OPTIONS", L"showgrid", L""), L"1");
    EXPECT_EQ(document.GetString(L"größe", L"ärger", L""), L"ja");
    EXPECT_EQ(document.GetString(L"σίσυφος", L"ΚΛΕΙΔΊ", L""), L"2");
    EXPECT_EQ(document.GetString(L"  options ", L" SHOWGRID ", L""), L"1");
    EXPECT_EQ(document.GetString(L"Option", L"ShowGrid", L"none"), L"none");
}

TEST(AnIniDocument, takesTheFirstOfDuplicatesAndIgnoresKeysBeforeAnySection) {
    const IniDocument document =
        Parsed(L"orphan=1\n[s]\nk=first\nk=second\n[S]\nk=third\nother=4\n");
    EXPECT_EQ(document.GetString(L"s", L"k", L""), L"first");
    EXPECT_EQ(document.GetString(L"s", L"other", L"none"), L"none");
    EXPECT_FALSE(document.HasKey(L"", L"orphan"));
    EXPECT_EQ(document.GetSectionNames(), (std::vector<std::wstring>{L"s"}));
    EXPECT_EQ(document.GetKeyNames(L"S"), (std::vector<std::wstring>{L"k"}));
}

TEST(AnIniDocument, readsIntegersAsTheWindowsReaderDoes) {
    struct Case {
        const wchar_t* value;
        int expected;
    };
    const Case cases[] = {{L"12", 12},         {L"-5", -5}, {L"+7", 7}, {L" 42 ", 42},
                          {L"12abc", 12},      {L"abc", 0}, {L"", 99},  {L"2147483647", 2147483647},
                          {L"4294967295", -1}, {L"0x10", 0}};
    for (const Case& c : cases) {
        const IniDocument document = Parsed(std::wstring(L"[s]\nn=") + c.value + L"\n");
        EXPECT_EQ(document.GetInt(L"s", L"n", 99), c.expected)
            << testing::PrintToString(std::wstring(c.value));
    }
    EXPECT_EQ(Parsed(L"[s]\n").GetInt(L"s", L"n", -3), -3);
}

TEST(AnIniDocument, changesOnlyTheLinesItIsAskedTo) {
    IniDocument document = Parsed(L"; settings.ini\r\n"
                                  L"[First]\r\n"
                                  L"; about A\r\n"
                                  L"  A = 1 \r\n"
                                  L"B=2\r\n"
                                  L"\r\n"
                                  L"; about the second\r\n"
                                  L"[Second]\r\n"
                                  L"C=3\n");
    EXPECT_TRUE(document.SetString(L"first", L"a", L"changed"));
    EXPECT_TRUE(document.SetString(L"First", L"New", L"appended"));
    EXPECT_TRUE(document.SetInt(L"Third", L"D", -4));
    EXPECT_EQ(document.ToText(), L"; settings.ini\r\n"
                                 L"[First]\r\n"
                                 L"; about A\r\n"
                                 L"A=changed\r\n"
                                 L"B=2\r\n"
                                 L"New=appended\r\n"
                                 L"\r\n"
                                 L"; about the second\r\n"
                                 L"[Second]\r\n"
                                 L"C=3\r\n"
                                 L"[Third]\r\n"
                                 L"D=-4\r\n");
}

TEST(AnIniDocument, removesKeysAndSectionsWithTheirDuplicates) {
    IniDocument document = Parsed(L"[a]\nx=1\ny=2\nx=3\n[b]\nz=4\n[A]\nx=5\n");
    EXPECT_TRUE(document.RemoveKey(L"A", L"X"));
    EXPECT_EQ(document.ToText(), L"[a]\r\ny=2\r\n[b]\r\nz=4\r\n[A]\r\nx=5\r\n");
    EXPECT_FALSE(document.RemoveKey(L"a", L"x"));
    EXPECT_TRUE(document.RemoveSection(L"a"));
    EXPECT_EQ(document.ToText(), L"[b]\r\nz=4\r\n");
    EXPECT_FALSE(document.RemoveSection(L"missing"));
}

// Values the reader would alter are quoted on writing, so every value reads
// back exactly as it was set.
TEST(AnIniDocument, readsBackEveryValueItStores) {
    const std::wstring values[] = {L"",
                                   L"plain",
                                   L"  leading and trailing blanks\t",
                                   L"\"quoted\"",
                                   L"'single'",
                                   L"\"",
                                   L"\" \"",
                                   L"a=b; [c]",
                                   L"ファイルを変更することができませんでした。",
                                   L"\U00020BB7野家 🎌",
                                   std::wstring(100000, L'x')};
    for (const std::wstring& value : values) {
        IniDocument document = Parsed(L"[s]\r\n");
        ASSERT_TRUE(document.SetString(L"s", L"k", value));
        EXPECT_EQ(Parsed(document.ToText()).GetString(L"s", L"k", L"<default>"), value)
            << testing::PrintToString(value);
    }
}

TEST(AnIniDocument, refusesNamesAndValuesALineCannotHold) {
    IniDocument document = Parsed(L"[s]\r\nk=1\r\n");
    const struct {
        std::wstring section, key, value;
    } cases[] = {{L"s", L"k", L"two\r\nlines"},
                 {L"s", L"k", L"injected\n[s]\nk=2"},
                 {L"s", L"k", std::wstring(L"nul\0byte", 8)},
                 {L"s", L"a=b", L"v"},
                 {L"s", L"", L"v"},
                 {L"", L"k", L"v"},
                 {L"s", L";k", L"v"},
                 {L"s", L"[k]", L"v"},
                 {L"s\n", L"k", L"v"}};
    for (const auto& c : cases)
        EXPECT_FALSE(document.SetString(c.section, c.key, c.value))
            << testing::PrintToString(c.key) << testing::PrintToString(c.value);
    EXPECT_EQ(document.ToText(), L"[s]\r\nk=1\r\n");
}
