#include <KelmLibraryFuncs/FilterFuncs.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using KelmLibraryFuncs::FilterFuncs;
using KelmLibraryFuncs::FILTERITEM;

namespace {

constexpr int kIgnoreCase = 0;
constexpr int kDistinguishCase = 1;

FILTERITEM Entry(const std::wstring& name, int condition, int caseInsensitive, int enable = 1) {
    FILTERITEM item;
    item.ID = 1;
    item.Enable = enable;
    item.Name = name;
    item.Condition = condition;
    item.CaseInsensitive = caseInsensitive;
    return item;
}

struct ConditionCase {
    const char* file;
    const wchar_t* name;
    int condition;
    int caseInsensitive;
    int matches;
};

} // namespace

TEST(AFilterCondition, matchesNamesAsEachConditionAndCaseRuleSays) {
    const ConditionCase cases[] = {
        {"IMG_1.JPG", L".jpg", FilterFuncs::EndsWith, kIgnoreCase, 1},
        {"IMG_1.JPG", L".jpg", FilterFuncs::EndsWith, kDistinguishCase, 0},
        {"IMG_1.JPG", L".JPG", FilterFuncs::EndsWith, kDistinguishCase, 1},
        {"abab", L"ab", FilterFuncs::EndsWith, kDistinguishCase, 1},
        {"b", L"ab", FilterFuncs::EndsWith, kDistinguishCase, 0},
        {"xab", L"ab", FilterFuncs::StartsWith, kIgnoreCase, 0},
        {"abx", L"AB", FilterFuncs::StartsWith, kIgnoreCase, 1},
        {"abx", L"AB", FilterFuncs::StartsWith, kDistinguishCase, 0},
        {"xab", L"ab", FilterFuncs::Contains, kIgnoreCase, 1},
        {"xAb", L"ab", FilterFuncs::Contains, kDistinguishCase, 0},
        {"Report.txt", L"report.txt", FilterFuncs::Exact, kIgnoreCase, 1},
        {"Report.txt", L"report.txt", FilterFuncs::Exact, kDistinguishCase, 0},
        {"report.txt", L"report", FilterFuncs::Exact, kIgnoreCase, 0},
        // An empty text is in every name, but equals none.
        {"any.txt", L"", FilterFuncs::Contains, kDistinguishCase, 1},
        {"any.txt", L"", FilterFuncs::StartsWith, kDistinguishCase, 1},
        {"any.txt", L"", FilterFuncs::EndsWith, kDistinguishCase, 1},
        {"any.txt", L"", FilterFuncs::Exact, kDistinguishCase, 0},
        {"any.txt", L"any.txt", 4, kDistinguishCase, 0},
        {"any.txt", L"any.txt", -1, kIgnoreCase, 0},
        // Letters beyond A-Z fold the same under every locale.
        {"\xC3\x84PFEL.txt", L"\u00e4pfel", FilterFuncs::StartsWith, kIgnoreCase, 1},
        {"\xC3\x84PFEL.txt", L"\u00e4pfel", FilterFuncs::StartsWith, kDistinguishCase, 0},
    };
    kelmtest::TempDir dir;
    for (const ConditionCase& c : cases) {
        const std::wstring path = dir.MakeFile(c.file);
        const std::vector<FILTERITEM> items{Entry(c.name, c.condition, c.caseInsensitive)};
        EXPECT_EQ(FilterFuncs::IsMatch(path, FilterFuncs::Include, items), c.matches)
            << c.file << " / " << c.condition << " / " << c.caseInsensitive;
        EXPECT_EQ(FilterFuncs::IsMatch(path, FilterFuncs::Exclude, items), 1 - c.matches) << c.file;
    }
}

TEST(AnExcludeFilter, dropsThumbsDbInAnyLetterCaseUntilTheEntryIsDisabled) {
    kelmtest::TempDir dir;
    const std::vector<FILTERITEM> enabled{Entry(L"Thumbs.db", FilterFuncs::Exact, kIgnoreCase)};
    const std::vector<FILTERITEM> disabled{Entry(L"Thumbs.db", FilterFuncs::Exact, kIgnoreCase, 0)};
    const struct {
        const char* file;
        int passes;
    } cases[] = {{"Thumbs.db", 0},     {"THUMBS.DB", 0},   {"thumbs.Db", 0},
                 {"Thumbs.db.txt", 1}, {"MyThumbs.db", 1}, {"photo.jpg", 1}};
    for (const auto& c : cases) {
        const std::wstring path = dir.MakeFile(c.file);
        EXPECT_EQ(FilterFuncs::IsMatch(path, FilterFuncs::Exclude, enabled), c.passes) << c.file;
        EXPECT_EQ(FilterFuncs::IsMatch(path, FilterFuncs::Exclude, disabled), 1) << c.file;
    }
    // A folder is matched by its name too, also when given with a trailing "/".
    const std::wstring folder = dir.MakeFolder("thumbs.db");
    EXPECT_EQ(FilterFuncs::IsMatch(folder, FilterFuncs::Exclude, enabled), 0);
    EXPECT_EQ(FilterFuncs::IsMatch(folder + L"/", FilterFuncs::Exclude, enabled), 0);
}

TEST(AnIncludeFilter, keepsWhatAnyEnabledEntryMatchesAndNothingWithoutOne) {
    kelmtest::TempDir dir;
    const std::wstring photo = dir.MakeFile("photo.jpg");
    const std::wstring text = dir.MakeFile("notes.txt");
    const std::vector<FILTERITEM> twoEntries{Entry(L".png", FilterFuncs::EndsWith, kIgnoreCase),
                                             Entry(L".JPG", FilterFuncs::EndsWith, kIgnoreCase)};
    EXPECT_EQ(FilterFuncs::IsMatch(photo, FilterFuncs::Include, twoEntries), 1);
    EXPECT_EQ(FilterFuncs::IsMatch(text, FilterFuncs::Include, twoEntries), 0);

    // The only entry that would match is disabled.
    const std::vector<FILTERITEM> allDisabled{
        Entry(L".jpg", FilterFuncs::EndsWith, kIgnoreCase, 0),
        Entry(L"notes", FilterFuncs::StartsWith, kIgnoreCase, 0)};
    EXPECT_EQ(FilterFuncs::IsMatch(photo, FilterFuncs::Include, allDisabled), 0);
    EXPECT_EQ(FilterFuncs::IsMatch(text, FilterFuncs::Include, {}), 0);
    EXPECT_EQ(FilterFuncs::IsMatch(text, FilterFuncs::Exclude, {}), 1);
}

TEST(TheFilterList, letsMissingItemsAndUnknownFilterTypesThrough) {
    kelmtest::TempDir dir;
    const std::wstring text = dir.MakeFile("notes.txt");
    const std::vector<FILTERITEM> none{Entry(L"nothing", FilterFuncs::Exact, kDistinguishCase)};
    const std::vector<FILTERITEM> all{Entry(L"", FilterFuncs::Contains, kDistinguishCase)};
    EXPECT_EQ(FilterFuncs::IsMatch(dir.Child(L"gone.txt"), FilterFuncs::Include, none), 1);
    EXPECT_EQ(FilterFuncs::IsMatch(dir.Child(L"gone.txt"), FilterFuncs::Exclude, all), 1);
    // "*" is an ordinary character of a Linux name, not a pattern that
    // makes a missing item look present.
    EXPECT_EQ(FilterFuncs::IsMatch(dir.Child(L"*.txt"), FilterFuncs::Include, none), 1);
    for (const int type : {2, -1}) {
        EXPECT_EQ(FilterFuncs::IsMatch(text, type, none), 1);
        EXPECT_EQ(FilterFuncs::IsMatch(text, type, all), 1);
    }
}

TEST(IsAlreadyAdded, findsANameIgnoringCaseOnly) {
    const std::vector<std::wstring> names{L"Thumbs.db", L"Desktop.ini", L"\u00c4pfel"};
    EXPECT_EQ(FilterFuncs::IsAlreadyAdded(L"THUMBS.DB", names), 1);
    EXPECT_EQ(FilterFuncs::IsAlreadyAdded(L"desktop.ini", names), 1);
    EXPECT_EQ(FilterFuncs::IsAlreadyAdded(L"\u00e4PFEL", names), 1);
    EXPECT_EQ(FilterFuncs::IsAlreadyAdded(L"Thumbs", names), 0);
    EXPECT_EQ(FilterFuncs::IsAlreadyAdded(L"Thumbs.db ", names), 0);
    EXPECT_EQ(FilterFuncs::IsAlreadyAdded(L"", {}), 0);
}
