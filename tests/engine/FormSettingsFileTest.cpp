// The strict read of a settings file that a script hands to a run.
#include <KelmEngine/FormSettingsStore.h>
#include <KelmLibraryUtils/DateTimeUtils.h>

#include <TempDir.h>
#include <gtest/gtest.h>

using KelmEngine::FormSettings;
using KelmEngine::FormSettingsStore;
using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::DateTimeValue;

namespace {

DateTimeValue At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return DateTimeUtils::MakeDateTime(y, mo, d, h, mi, s);
}

const DateTimeValue kNow = At(2024, 6, 15, 12, 30, 45);

} // namespace

TEST(ASettingsFileForARun, isReadWhenHandWrittenInUtf8) {
    kelmtest::TempDir dir;
    const std::wstring path = dir.MakeFile("run.ini", "[FormViewSettings\\General]\n"
                                                      "ModifiedMethod=1\n"
                                                      "DateSpecifyDate=2024-01-31\n"
                                                      "DateSpecifyTime=23:00:00\n"
                                                      "DateCreatedDate=\n"
                                                      "DateCreatedDateStatus=0\n"
                                                      "ReadOnly=2\n"
                                                      "[FormViewSettings\\Advanced\\Stagger]\n"
                                                      "StartValue=256\n"
                                                      "[Notes]\n"
                                                      "Author=a script\n");
    FormSettings s = FormSettings::GetDefaults(kNow);
    std::wstring error = L"stale";
    ASSERT_TRUE(FormSettingsStore::LoadSettingsFile(path, s, error))
        << testing::PrintToString(error);
    EXPECT_EQ(error, L"");
    EXPECT_EQ(s.General.ModifiedMethod, 1);
    EXPECT_EQ(s.General.Attributes.ReadOnly, 2);
    EXPECT_EQ(s.Advanced.Stagger.StartValue, 256);
    EXPECT_TRUE(s.General.DateSpecifyDate == At(2024, 1, 31));
    EXPECT_TRUE(s.General.DateSpecifyTime == At(1899, 12, 30, 23, 0, 0));
    EXPECT_TRUE(s.BuildGeneralItem().DateCreatedDate.IsNull());
    EXPECT_EQ(s.General.DateModified, 1) << "a missing key keeps the default";
}

TEST(ASettingsFileForARun, isReadWhenExported) {
    kelmtest::TempDir dir;
    const std::wstring path = dir.Child(L"exported.ini");
    FormSettings saved = FormSettings::GetDefaults(At(2001, 2, 3, 4, 5, 6));
    saved.Advanced.ModifiedMethod = 2;
    saved.Advanced.Stagger.IntervalDays = 1024;
    ASSERT_TRUE(FormSettingsStore::Save(path, saved));
    FormSettings s = FormSettings::GetDefaults(kNow);
    std::wstring error;
    ASSERT_TRUE(FormSettingsStore::LoadSettingsFile(path, s, error))
        << testing::PrintToString(error);
    EXPECT_EQ(s.Advanced.Stagger.IntervalDays, 1024);
    EXPECT_TRUE(s.General.DateAccessedDate == At(2001, 2, 3));
    EXPECT_TRUE(s.Advanced.Stagger.StartDate == At(2001, 2, 3));
}

TEST(ASettingsFileForARun, isRefusedNamingTheBadKey) {
    const struct {
        const char* contents;
        const wchar_t* expected;
    } cases[] = {
        {"[FormViewSettings\\General]\nDateCreated=yes\n",
         L"[FormViewSettings\\General] DateCreated = \"yes\": enter an integer between 0 and 1."},
        {"[FormViewSettings\\General]\nHidden=1.5\n", L"Hidden = \"1.5\""},
        {"[FormViewSettings\\General]\nZoneIdentifier=\n", L"ZoneIdentifier = \"\""},
        {"[FormViewSettings\\Advanced\\Stagger]\nStartValue=300\n",
         L"StartValue = \"300\": enter an integer between 0 and 256."},
        {"[FormViewSettings\\Advanced\\Stagger]\nIntervalHours=-1\n", L"IntervalHours = \"-1\""},
        {"[FormViewSettings\\Advanced\\Stagger]\nIntervalDays=4294967297\n", L"IntervalDays"},
        {"[FormViewSettings\\Advanced]\nOtherDateTime=4\n", L"OtherDateTime = \"4\""},
        {"[FormViewSettings\\General]\nDateCreate=1\n",
         L"[FormViewSettings\\General] DateCreate: unknown key."},
        {"[FormViewSettings\\General]\nDateCreatedDate=2024-02-30\n",
         L"DateCreatedDate = \"2024-02-30\": not a date"},
        {"[FormViewSettings\\General]\nDateModifiedDate=23:00:00\n",
         L"DateModifiedDate = \"23:00:00\": not a date"},
        {"[FormViewSettings\\General]\nDateCreatedTime=25:00:00\n",
         L"DateCreatedTime = \"25:00:00\": not a time"},
        {"[FormViewSettings\\General]\nDateAccessedDate=\n",
         L"DateAccessedDate is empty: give a date or set DateAccessedDateStatus=0."},
        {"[FormViewSettings\\Advanced\\Stagger]\nStartTime=\n",
         L"StartTime is empty: give a time or set EnabledStartDateTime=0."},
        {"[Options]\nDateCreated=1\n", L"not a change settings file"},
        {"", L"not a change settings file"},
    };
    kelmtest::TempDir dir;
    for (const auto& c : cases) {
        const std::wstring path = dir.MakeFile("bad.ini", c.contents);
        const FormSettings before = FormSettings::GetDefaults(kNow);
        FormSettings s = before;
        s.Advanced.Stagger.IntervalDays = 7;
        std::wstring error;
        EXPECT_FALSE(FormSettingsStore::LoadSettingsFile(path, s, error)) << c.contents;
        EXPECT_NE(error.find(c.expected), std::wstring::npos) << c.contents << "\n"
                                                              << testing::PrintToString(error);
        EXPECT_EQ(s.Advanced.Stagger.IntervalDays, 7) << "unchanged on failure";
    }
}

TEST(ASettingsFileForARun, listsEveryProblemOnItsOwnLine) {
    kelmtest::TempDir dir;
    const std::wstring path = dir.MakeFile("bad.ini", "[FormViewSettings\\General]\n"
                                                      "ReadOnly=3\n"
                                                      "Colour=blue\n"
                                                      "[FormViewSettings\\Advanced\\Stagger]\n"
                                                      "IntervalYears=17\n");
    FormSettings s = FormSettings::GetDefaults(kNow);
    std::wstring error;
    ASSERT_FALSE(FormSettingsStore::LoadSettingsFile(path, s, error));
    EXPECT_EQ(error, L"[FormViewSettings\\General] Colour: unknown key.\n"
                     L"[FormViewSettings\\General] ReadOnly = \"3\": enter an integer between 0 "
                     L"and 2.\n"
                     L"[FormViewSettings\\Advanced\\Stagger] IntervalYears = \"17\": enter an "
                     L"integer between 0 and 16.");
}

TEST(ASettingsFileForARun, isRefusedWhenItCannotBeRead) {
    kelmtest::TempDir dir;
    FormSettings s = FormSettings::GetDefaults(kNow);
    std::wstring error;
    EXPECT_FALSE(FormSettingsStore::LoadSettingsFile(dir.Child(L"missing.ini"), s, error));
    EXPECT_EQ(error, L"no such settings file.");
    EXPECT_FALSE(FormSettingsStore::LoadSettingsFile(dir.Path(), s, error));
    EXPECT_EQ(error, L"cannot read the settings file.");
}
