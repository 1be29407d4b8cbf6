#include <KelmEngine/FormSettingsStore.h>
#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmLibraryUtils/IniDocument.h>
#include <KelmLibraryUtils/PathUtils.h>
#include <KelmPlatform/NativeName.h>

#include <TempDir.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using KelmEngine::FormSettings;
using KelmEngine::FormSettingsStore;
using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::DateTimeValue;
using KelmLibraryUtils::IniDocument;
using KelmLibraryUtils::PathUtils;

namespace {

DateTimeValue At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return DateTimeUtils::MakeDateTime(y, mo, d, h, mi, s);
}

DateTimeValue TimeAt(int h, int mi, int s) {
    return At(1899, 12, 30, h, mi, s);
}

// A moment that no test file names, so a value that was not read from the
// file shows.
const DateTimeValue kNow = At(2024, 6, 15, 12, 30, 45);

// Every member away from its first-start value, each date-time distinct.
FormSettings Changed() {
    FormSettings s = FormSettings::GetDefaults(kNow);
    auto& g = s.General;
    g.ModifiedMethod = 1, g.ModifiedMethodSameTime = 1;
    g.DateCreated = 0, g.DateModified = 0, g.DateAccessed = 0;
    g.DateCreatedDate = At(2001, 2, 3), g.DateCreatedTime = TimeAt(4, 5, 6);
    g.DateModifiedDate = At(2002, 12, 31), g.DateModifiedTime = TimeAt(23, 59, 59);
    g.DateAccessedDate = At(1980, 1, 1), g.DateAccessedTime = TimeAt(0, 0, 1);
    g.DateSpecifyDate = At(2099, 7, 8), g.DateSpecifyTime = TimeAt(13, 14, 15);
    g.DateCreatedDateStatus = 0, g.DateCreatedTimeStatus = 0, g.DateModifiedDateStatus = 0;
    g.DateModifiedTimeStatus = 0, g.DateAccessedDateStatus = 0, g.DateAccessedTimeStatus = 0;
    g.DateSpecifyDateStatus = 0, g.DateSpecifyTimeStatus = 0;
    g.Attributes = {1, 2, 1, 2, 1, 2};
    g.ZoneIdentifier = 0, g.AllowModifiedReadOnlyFiles = 0, g.AllowModifiedSubfolders = 0;
    auto& a = s.Advanced;
    a.ModifiedMethod = 2, a.OtherDateTime = 1;
    a.Stagger = {0, At(2030, 11, 30), TimeAt(22, 33, 44), 1, 1, 256, 16, 12, 1024, 23, 58, 57};
    return s;
}

void ExpectSame(const FormSettings& actual, const FormSettings& expected) {
#define KELM_EXPECT_INT(m) EXPECT_EQ(actual.m, expected.m) << #m
#define KELM_EXPECT_DATETIME(m)                                                                    \
    EXPECT_TRUE(actual.m == expected.m)                                                            \
        << #m << ": " << actual.m.GetDays() << " status " << actual.m.GetStatus() << ", expected " \
        << expected.m.GetDays() << " status " << expected.m.GetStatus()
    KELM_EXPECT_INT(General.ModifiedMethod);
    KELM_EXPECT_INT(General.ModifiedMethodSameTime);
    KELM_EXPECT_INT(General.DateCreated);
    KELM_EXPECT_INT(General.DateModified);
    KELM_EXPECT_INT(General.DateAccessed);
    KELM_EXPECT_DATETIME(General.DateCreatedDate);
    KELM_EXPECT_DATETIME(General.DateCreatedTime);
    KELM_EXPECT_DATETIME(General.DateModifiedDate);
    KELM_EXPECT_DATETIME(General.DateModifiedTime);
    KELM_EXPECT_DATETIME(General.DateAccessedDate);
    KELM_EXPECT_DATETIME(General.DateAccessedTime);
    KELM_EXPECT_INT(General.DateCreatedDateStatus);
    KELM_EXPECT_INT(General.DateCreatedTimeStatus);
    KELM_EXPECT_INT(General.DateModifiedDateStatus);
    KELM_EXPECT_INT(General.DateModifiedTimeStatus);
    KELM_EXPECT_INT(General.DateAccessedDateStatus);
    KELM_EXPECT_INT(General.DateAccessedTimeStatus);
    KELM_EXPECT_INT(General.DateSpecifyDateStatus);
    KELM_EXPECT_INT(General.DateSpecifyTimeStatus);
    KELM_EXPECT_DATETIME(General.DateSpecifyDate);
    KELM_EXPECT_DATETIME(General.DateSpecifyTime);
    KELM_EXPECT_INT(General.Attributes.ReadOnly);
    KELM_EXPECT_INT(General.Attributes.Hidden);
    KELM_EXPECT_INT(General.Attributes.System);
    KELM_EXPECT_INT(General.Attributes.Archive);
    KELM_EXPECT_INT(General.Attributes.Temporary);
    KELM_EXPECT_INT(General.Attributes.NotContentIndexed);
    KELM_EXPECT_INT(General.ZoneIdentifier);
    KELM_EXPECT_INT(General.AllowModifiedReadOnlyFiles);
    KELM_EXPECT_INT(General.AllowModifiedSubfolders);
    KELM_EXPECT_INT(Advanced.ModifiedMethod);
    KELM_EXPECT_INT(Advanced.OtherDateTime);
    KELM_EXPECT_INT(Advanced.Stagger.EnabledStartDateTime);
    KELM_EXPECT_DATETIME(Advanced.Stagger.StartDate);
    KELM_EXPECT_DATETIME(Advanced.Stagger.StartTime);
    KELM_EXPECT_INT(Advanced.Stagger.Type);
    KELM_EXPECT_INT(Advanced.Stagger.Method);
    KELM_EXPECT_INT(Advanced.Stagger.StartValue);
    KELM_EXPECT_INT(Advanced.Stagger.IntervalYears);
    KELM_EXPECT_INT(Advanced.Stagger.IntervalMonths);
    KELM_EXPECT_INT(Advanced.Stagger.IntervalDays);
    KELM_EXPECT_INT(Advanced.Stagger.IntervalHours);
    KELM_EXPECT_INT(Advanced.Stagger.IntervalMinutes);
    KELM_EXPECT_INT(Advanced.Stagger.IntervalSeconds);
#undef KELM_EXPECT_DATETIME
#undef KELM_EXPECT_INT
}

std::string Bytes(const std::wstring& path) {
    std::ifstream in(KelmPlatform::ToNative(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Utf16le(const std::string& ascii) {
    std::string bytes;
    for (char c : ascii)
        bytes += std::string{c, '\0'};
    return bytes;
}

IniDocument Document(const std::wstring& path) {
    IniDocument document;
    document.Load(path);
    return document;
}

} // namespace

TEST(TheSettingsStore, givesBackEveryValueThroughFormViewIniAndAnExportedFile) {
    kelmtest::TempDir dir;
    const FormSettings saved = Changed();
    const std::wstring exported = dir.Child(L"Kelm Horalux.ini");
    ASSERT_TRUE(FormSettingsStore::SaveFormViewSettings(saved));
    ASSERT_TRUE(FormSettingsStore::Save(exported, saved));
    EXPECT_TRUE(
        std::filesystem::exists(KelmPlatform::ToNative(PathUtils::GetFormViewSettingsFilePath())));

    FormSettings fromFormView = FormSettings::GetDefaults(kNow);
    ASSERT_TRUE(FormSettingsStore::LoadFormViewSettings(fromFormView));
    ExpectSame(fromFormView, saved);

    FormSettings imported = FormSettings::GetDefaults(kNow);
    ASSERT_TRUE(FormSettingsStore::Load(exported, imported, kNow));
    ExpectSame(imported, saved);
    EXPECT_EQ(Bytes(exported), Bytes(PathUtils::GetFormViewSettingsFilePath()));
}

TEST(TheSettingsStore, writesUtf16WithTheFormViewCommentFirstWhateverTheFileName) {
    kelmtest::TempDir dir;
    const std::wstring path = dir.Child(L"my settings.ini");
    ASSERT_TRUE(FormSettingsStore::Save(path, FormSettings::GetDefaults(kNow)));
    const std::string head =
        "\xFF\xFE" + Utf16le("; formview.ini\r\n[FormViewSettings\\General]\r\n"
                             "ModifiedMethod=0\r\nDateCreated=1\r\n");
    EXPECT_EQ(Bytes(path).substr(0, head.size()), head);
}

TEST(TheSettingsStore, writesTheKeysInTheirDocumentedOrder) {
    kelmtest::TempDir dir;
    const std::wstring path = dir.Child(L"order.ini");
    ASSERT_TRUE(FormSettingsStore::Save(path, FormSettings::GetDefaults(kNow)));
    const IniDocument document = Document(path);
    EXPECT_EQ(
        document.GetSectionNames(),
        (std::vector<std::wstring>{L"FormViewSettings\\General", L"FormViewSettings\\Advanced",
                                   L"FormViewSettings\\Advanced\\Stagger"}));
    EXPECT_EQ(document.GetKeyNames(L"FormViewSettings\\General"),
              (std::vector<std::wstring>{L"ModifiedMethod",
                                         L"DateCreated",
                                         L"DateModified",
                                         L"DateAccessed",
                                         L"DateCreatedDate",
                                         L"DateCreatedTime",
                                         L"DateCreatedDateStatus",
                                         L"DateCreatedTimeStatus",
                                         L"DateModifiedDate",
                                         L"DateModifiedTime",
                                         L"DateModifiedDateStatus",
                                         L"DateModifiedTimeStatus",
                                         L"DateAccessedDate",
                                         L"DateAccessedTime",
                                         L"DateAccessedDateStatus",
                                         L"DateAccessedTimeStatus",
                                         L"ModifiedMethodSameTime",
                                         L"DateSpecifyDate",
                                         L"DateSpecifyTime",
                                         L"DateSpecifyDateStatus",
                                         L"DateSpecifyTimeStatus",
                                         L"ReadOnly",
                                         L"Hidden",
                                         L"System",
                                         L"Archive",
                                         L"Temporary",
                                         L"NotContentIndexed",
                                         L"ZoneIdentifier",
                                         L"AllowModifiedReadOnlyFiles",
                                         L"AllowModifiedSubfolders"}));
    EXPECT_EQ(document.GetKeyNames(L"FormViewSettings\\Advanced"),
              (std::vector<std::wstring>{L"ModifiedMethod", L"OtherDateTime"}));
    EXPECT_EQ(document.GetKeyNames(L"FormViewSettings\\Advanced\\Stagger"),
              (std::vector<std::wstring>{L"EnabledStartDateTime", L"StartDate", L"StartTime",
                                         L"Type", L"Method", L"StartValue", L"IntervalYears",
                                         L"IntervalMonths", L"IntervalDays", L"IntervalHours",
                                         L"IntervalMinutes", L"IntervalSeconds"}));
    // Dates alone and times alone, in the locale's forms.
    EXPECT_EQ(document.GetString(L"FormViewSettings\\General", L"DateCreatedDate", L""),
              DateTimeUtils::Format(At(2024, 6, 15), DateTimeUtils::DateValueOnly));
    EXPECT_EQ(document.GetString(L"FormViewSettings\\General", L"DateCreatedTime", L""),
              L"12:30:45");
    EXPECT_EQ(document.GetString(L"FormViewSettings\\Advanced\\Stagger", L"StartTime", L""),
              L"00:00:00");
}

TEST(TheSettingsStore, bringsAClearedPickerBackCleared) {
    kelmtest::TempDir dir;
    const std::wstring path = dir.Child(L"cleared.ini");
    FormSettings s = FormSettings::GetDefaults(kNow);
    s.General.DateModifiedDate = DateTimeValue::MakeNull();
    s.General.DateModifiedDateStatus = 0;
    ASSERT_TRUE(FormSettingsStore::Save(path, s));
    EXPECT_EQ(Document(path).GetString(L"FormViewSettings\\General", L"DateModifiedDate", L"?"),
              L"");

    FormSettings loaded = FormSettings::GetDefaults(kNow);
    ASSERT_TRUE(FormSettingsStore::Load(path, loaded, kNow));
    EXPECT_EQ(loaded.General.DateModifiedDateStatus, 0);
    EXPECT_TRUE(loaded.General.DateModifiedDate.IsValid()) << "loaded values are valid";
    EXPECT_TRUE(loaded.BuildGeneralItem().DateModifiedDate.IsNull());
    EXPECT_TRUE(loaded.BuildGeneralItem().DateModifiedTime == TimeAt(12, 30, 45));
}

TEST(TheSettingsStore, leavesTheSettingsAsTheyAreWithoutAFile) {
    kelmtest::TempDir dir;
    std::filesystem::remove(KelmPlatform::ToNative(PathUtils::GetFormViewSettingsFilePath()));
    const FormSettings before = Changed();
    FormSettings s = before;
    EXPECT_FALSE(FormSettingsStore::LoadFormViewSettings(s));
    ExpectSame(s, before);
    EXPECT_FALSE(FormSettingsStore::Load(dir.Child(L"missing.ini"), s, kNow));
    EXPECT_FALSE(FormSettingsStore::Load(dir.Path(), s, kNow)) << "a folder";
    ExpectSame(s, before);
}

// Integer keys fall back on the value held, date-time keys on the moment
// of loading.
TEST(TheSettingsStore, keepsHeldIntegersAndTakesTheCurrentMomentForMissingOrBadKeys) {
    kelmtest::TempDir dir;
    const std::wstring path = dir.MakeFile("partial.ini", "[FormViewSettings\\General]\n"
                                                          "DateCreated=abc\n"
                                                          "DateModified=0\n"
                                                          "ReadOnly= 2 \n"
                                                          "Hidden=7\n"
                                                          "System=1x\n"
                                                          "DateCreatedDate=not a date\n"
                                                          "DateModifiedDate=23:00:00\n"
                                                          "DateModifiedTime=\n"
                                                          "[FormViewSettings\\Advanced]\n"
                                                          "OtherDateTime=9\n"
                                                          "[FormViewSettings\\Advanced\\Stagger]\n"
                                                          "StartValue=300\n"
                                                          "IntervalDays=99999999999\n"
                                                          "IntervalHours=-1\n"
                                                          "StartTime=25:61:00\n");
    const FormSettings before = Changed();
    FormSettings s = before;
    ASSERT_TRUE(FormSettingsStore::Load(path, s, kNow));
    EXPECT_EQ(s.General.DateCreated, before.General.DateCreated);
    EXPECT_EQ(s.General.DateModified, 0);
    EXPECT_EQ(s.General.Attributes.ReadOnly, 2);
    EXPECT_EQ(s.General.Attributes.Hidden, before.General.Attributes.Hidden);
    EXPECT_EQ(s.General.Attributes.System, before.General.Attributes.System);
    EXPECT_EQ(s.Advanced.OtherDateTime, before.Advanced.OtherDateTime);
    EXPECT_EQ(s.Advanced.Stagger.StartValue, before.Advanced.Stagger.StartValue);
    EXPECT_EQ(s.Advanced.Stagger.IntervalDays, before.Advanced.Stagger.IntervalDays);
    EXPECT_EQ(s.Advanced.Stagger.IntervalHours, -1) << "what an invalid interval picker gives";
    EXPECT_TRUE(s.General.DateCreatedDate == At(2024, 6, 15)) << "unparsable";
    EXPECT_TRUE(s.General.DateModifiedDate == At(2024, 6, 15)) << "a time is no date";
    EXPECT_TRUE(s.General.DateModifiedTime == TimeAt(12, 30, 45)) << "empty";
    EXPECT_TRUE(s.General.DateAccessedDate == At(2024, 6, 15)) << "missing";
    EXPECT_TRUE(s.General.DateSpecifyTime == TimeAt(12, 30, 45)) << "missing";
    EXPECT_TRUE(s.Advanced.Stagger.StartTime == TimeAt(0, 0, 0));
    EXPECT_EQ(s.General.ZoneIdentifier, before.General.ZoneIdentifier) << "missing";
}

TEST(TheSettingsStore, readsAHandWrittenUtf8FileWithIsoDates) {
    kelmtest::TempDir dir;
    const std::wstring path = dir.MakeFile("hand.ini", "; 手書きの設定\n"
                                                       "[formviewsettings\\general]\n"
                                                       "DateCreatedDate=2024-01-31\n"
                                                       "DateCreatedTime=23:00:00\n"
                                                       "DateSpecifyDate = 1999-12-31 \n"
                                                       "DateSpecifyTime=\"07:08:09\"\n"
                                                       "[FormViewSettings\\Advanced\\Stagger]\n"
                                                       "StartDate=2020-02-29\n"
                                                       "StartTime=12:00:01\n");
    FormSettings s = FormSettings::GetDefaults(kNow);
    ASSERT_TRUE(FormSettingsStore::Load(path, s, kNow));
    EXPECT_TRUE(s.General.DateCreatedDate == At(2024, 1, 31));
    EXPECT_TRUE(s.General.DateCreatedTime == TimeAt(23, 0, 0));
    EXPECT_TRUE(s.General.DateSpecifyDate == At(1999, 12, 31));
    EXPECT_TRUE(s.General.DateSpecifyTime == TimeAt(7, 8, 9));
    EXPECT_TRUE(s.Advanced.Stagger.StartDate == At(2020, 2, 29));
    EXPECT_TRUE(s.Advanced.Stagger.StartTime == TimeAt(12, 0, 1));
}

TEST(TheSettingsStore, replacesAFileWholeAndReportsAFileItCannotWrite) {
    kelmtest::TempDir dir;
    const std::wstring path = dir.MakeFile("old.ini", "[FormViewSettings\\General]\n"
                                                      "Leftover=1\n"
                                                      "[Other]\n"
                                                      "Key=2\n");
    ASSERT_TRUE(FormSettingsStore::Save(path, FormSettings::GetDefaults(kNow)));
    const IniDocument document = Document(path);
    EXPECT_FALSE(document.HasKey(L"FormViewSettings\\General", L"Leftover"));
    EXPECT_FALSE(document.HasSection(L"Other"));

    EXPECT_FALSE(FormSettingsStore::Save(dir.Child(L"no folder/x.ini"), FormSettings()));
    EXPECT_FALSE(FormSettingsStore::Save(dir.Path(), FormSettings())) << "a folder";
}
