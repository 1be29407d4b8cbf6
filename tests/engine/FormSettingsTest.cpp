#include <KelmEngine/FormSettings.h>
#include <KelmEngine/FormSettingsValidation.h>
#include <KelmLibraryUtils/DateTimeUtils.h>

#include <gtest/gtest.h>

#include <functional>

using KelmEngine::FORMADVANCEDITEM;
using KelmEngine::FORMGENERALITEM;
using KelmEngine::FormSettings;
using KelmEngine::FormSettingsValidation;
using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::DateTimeValue;

namespace {

DateTimeValue At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return DateTimeUtils::MakeDateTime(y, mo, d, h, mi, s);
}

DateTimeValue TimeAt(int h, int mi, int s) {
    return At(1899, 12, 30, h, mi, s);
}

} // namespace

TEST(TheDefaultSettings, areTheFirstStartValues) {
    const FormSettings s = FormSettings::GetDefaults(At(2024, 1, 31, 23, 4, 5));
    const FORMGENERALITEM& g = s.General;
    const struct {
        const char* name;
        int actual;
        int expected;
    } integers[] = {
        {"ModifiedMethod", g.ModifiedMethod, 0},
        {"ModifiedMethodSameTime", g.ModifiedMethodSameTime, 0},
        {"DateCreated", g.DateCreated, 1},
        {"DateModified", g.DateModified, 1},
        {"DateAccessed", g.DateAccessed, 1},
        {"DateCreatedDateStatus", g.DateCreatedDateStatus, 1},
        {"DateCreatedTimeStatus", g.DateCreatedTimeStatus, 1},
        {"DateModifiedDateStatus", g.DateModifiedDateStatus, 1},
        {"DateModifiedTimeStatus", g.DateModifiedTimeStatus, 1},
        {"DateAccessedDateStatus", g.DateAccessedDateStatus, 1},
        {"DateAccessedTimeStatus", g.DateAccessedTimeStatus, 1},
        {"DateSpecifyDateStatus", g.DateSpecifyDateStatus, 1},
        {"DateSpecifyTimeStatus", g.DateSpecifyTimeStatus, 1},
        {"ReadOnly", g.Attributes.ReadOnly, 0},
        {"Hidden", g.Attributes.Hidden, 0},
        {"System", g.Attributes.System, 0},
        {"Archive", g.Attributes.Archive, 0},
        {"Temporary", g.Attributes.Temporary, 0},
        {"NotContentIndexed", g.Attributes.NotContentIndexed, 0},
        {"ZoneIdentifier", g.ZoneIdentifier, 1},
        {"AllowModifiedReadOnlyFiles", g.AllowModifiedReadOnlyFiles, 1},
        {"AllowModifiedSubfolders", g.AllowModifiedSubfolders, 1},
        {"Advanced ModifiedMethod", s.Advanced.ModifiedMethod, 0},
        {"OtherDateTime", s.Advanced.OtherDateTime, 3},
        {"EnabledStartDateTime", s.Advanced.Stagger.EnabledStartDateTime, 1},
        {"Type", s.Advanced.Stagger.Type, 0},
        {"Method", s.Advanced.Stagger.Method, 0},
        {"StartValue", s.Advanced.Stagger.StartValue, 0},
        {"IntervalYears", s.Advanced.Stagger.IntervalYears, 0},
        {"IntervalMonths", s.Advanced.Stagger.IntervalMonths, 0},
        {"IntervalDays", s.Advanced.Stagger.IntervalDays, 0},
        {"IntervalHours", s.Advanced.Stagger.IntervalHours, 0},
        {"IntervalMinutes", s.Advanced.Stagger.IntervalMinutes, 0},
        {"IntervalSeconds", s.Advanced.Stagger.IntervalSeconds, 0},
    };
    for (const auto& i : integers)
        EXPECT_EQ(i.actual, i.expected) << i.name;

    const DateTimeValue date = At(2024, 1, 31);
    const DateTimeValue time = TimeAt(23, 4, 5);
    for (const DateTimeValue* d : {&g.DateCreatedDate, &g.DateModifiedDate, &g.DateAccessedDate,
                                   &g.DateSpecifyDate, &s.Advanced.Stagger.StartDate})
        EXPECT_TRUE(*d == date);
    for (const DateTimeValue* t :
         {&g.DateCreatedTime, &g.DateModifiedTime, &g.DateAccessedTime, &g.DateSpecifyTime})
        EXPECT_TRUE(*t == time);
    EXPECT_TRUE(s.Advanced.Stagger.StartTime == TimeAt(0, 0, 0));
}

TEST(TheDefaultSettings, takeTheCurrentMoment) {
    const DateTimeValue before = DateTimeUtils::GetCurrentDateTime();
    const FormSettings s = FormSettings::GetDefaults();
    const DateTimeValue after = DateTimeUtils::GetCurrentDateTime();
    const double moment = s.General.DateCreatedDate.GetDays() +
                          s.General.DateCreatedTime.GetDays() - TimeAt(0, 0, 0).GetDays();
    EXPECT_GE(moment, before.GetDays() - 1.0 / 86400);
    EXPECT_LE(moment, after.GetDays());
}

TEST(TheRunRecords, makeEveryValueWithAClearedBoxNull) {
    FormSettings s = FormSettings::GetDefaults(At(2024, 1, 31, 10, 0, 0));
    s.General.DateCreatedTimeStatus = 0;
    s.General.DateSpecifyDateStatus = 0;
    const FORMGENERALITEM g = s.BuildGeneralItem();
    EXPECT_TRUE(g.DateCreatedTime.IsNull());
    EXPECT_TRUE(g.DateSpecifyDate.IsNull());
    EXPECT_TRUE(g.DateCreatedDate == At(2024, 1, 31));
    EXPECT_TRUE(g.DateSpecifyTime == TimeAt(10, 0, 0));
    EXPECT_TRUE(s.General.DateCreatedTime.IsValid()) << "the settings themselves keep the value";

    const FormSettings back = FormSettings::FromRecords(g, s.BuildAdvancedItem());
    EXPECT_EQ(back.General.DateCreatedTimeStatus, 0);
    EXPECT_EQ(back.General.DateSpecifyDateStatus, 0);
    EXPECT_EQ(back.General.DateCreatedDateStatus, 1);
    EXPECT_EQ(back.General.DateAccessedTimeStatus, 1);
}

TEST(TheSettingsValidation, acceptsTheDefaultsAndTheRangeBounds) {
    FormSettings s = FormSettings::GetDefaults(At(2024, 1, 31));
    std::wstring error = L"stale";
    EXPECT_TRUE(FormSettingsValidation::ValidateSettings(s, error));
    EXPECT_EQ(error, L"");
    auto& st = s.Advanced.Stagger;
    st.StartValue = 256, st.IntervalYears = 16, st.IntervalMonths = 12, st.IntervalDays = 1024;
    st.IntervalHours = 23, st.IntervalMinutes = 59, st.IntervalSeconds = 59;
    s.Advanced.ModifiedMethod = 2, s.Advanced.OtherDateTime = 0;
    s.General.Attributes.NotContentIndexed = 2;
    s.General.DateCreatedDate = DateTimeValue::MakeNull(); // a cleared box
    EXPECT_TRUE(FormSettingsValidation::ValidateSettings(s, error))
        << testing::PrintToString(error);
}

TEST(TheSettingsValidation, namesEachValueOutOfRange) {
    const struct {
        std::function<void(FormSettings&)> change;
        const wchar_t* expected;
    } cases[] = {
        {[](FormSettings& s) { s.Advanced.Stagger.StartValue = 300; },
         L"[FormViewSettings\\Advanced\\Stagger] StartValue = \"300\": enter an integer between 0 "
         L"and 256."},
        {[](FormSettings& s) { s.Advanced.Stagger.StartValue = -1; }, L"StartValue = \"-1\""},
        {[](FormSettings& s) { s.Advanced.Stagger.IntervalYears = 17; }, L"IntervalYears"},
        {[](FormSettings& s) { s.Advanced.Stagger.IntervalMonths = 13; }, L"IntervalMonths"},
        {[](FormSettings& s) { s.Advanced.Stagger.IntervalDays = 1025; }, L"IntervalDays"},
        {[](FormSettings& s) { s.Advanced.Stagger.IntervalHours = -1; }, L"IntervalHours"},
        {[](FormSettings& s) { s.Advanced.Stagger.IntervalSeconds = 60; }, L"IntervalSeconds"},
        {[](FormSettings& s) { s.Advanced.ModifiedMethod = 3; },
         L"[FormViewSettings\\Advanced] ModifiedMethod"},
        {[](FormSettings& s) { s.Advanced.OtherDateTime = 4; }, L"OtherDateTime"},
        {[](FormSettings& s) { s.General.ModifiedMethod = 2; },
         L"[FormViewSettings\\General] ModifiedMethod"},
        {[](FormSettings& s) { s.General.Attributes.Hidden = 3; }, L"Hidden"},
        {[](FormSettings& s) { s.General.ZoneIdentifier = -1; }, L"ZoneIdentifier"},
        {[](FormSettings& s) { s.General.DateModifiedDate = DateTimeValue::MakeInvalid(); },
         L"[FormViewSettings\\General] DateModifiedDate: not a valid date."},
        {[](FormSettings& s) { s.Advanced.Stagger.StartTime = DateTimeValue::MakeNull(); },
         L"[FormViewSettings\\Advanced\\Stagger] StartTime: not a valid time."},
    };
    for (const auto& c : cases) {
        FormSettings s = FormSettings::GetDefaults(At(2024, 1, 31));
        c.change(s);
        std::wstring error;
        EXPECT_FALSE(FormSettingsValidation::ValidateSettings(s, error))
            << testing::PrintToString(std::wstring(c.expected));
        EXPECT_NE(error.find(c.expected), std::wstring::npos) << testing::PrintToString(error);
    }
}

TEST(TheSettingsValidation, ignoresDateTimesThatAreNotUsedAndListsEveryProblem) {
    FormSettings s = FormSettings::GetDefaults(At(2024, 1, 31));
    s.General.DateAccessedTimeStatus = 0;
    s.General.DateAccessedTime = DateTimeValue::MakeInvalid();
    s.Advanced.Stagger.EnabledStartDateTime = 0;
    s.Advanced.Stagger.StartDate = DateTimeValue::MakeNull();
    std::wstring error;
    EXPECT_TRUE(FormSettingsValidation::ValidateSettings(s, error));

    s.Advanced.Stagger.IntervalYears = 99;
    s.Advanced.Stagger.IntervalDays = 2000;
    EXPECT_FALSE(FormSettingsValidation::ValidateSettings(s, error));
    EXPECT_NE(error.find(L"IntervalYears"), std::wstring::npos);
    EXPECT_NE(error.find(L"\n"), std::wstring::npos);
    EXPECT_NE(error.find(L"IntervalDays"), std::wstring::npos);
}
