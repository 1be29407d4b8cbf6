#include <KelmLibraryFuncs/OfficePropertyFuncs.h>
#include <KelmLibraryUtils/OoxmlCoreProperties.h>

#include <gtest/gtest.h>

using namespace KelmLibraryFuncs;
using KelmLibraryUtils::ClassId;
using KelmLibraryUtils::OoxmlCoreProperties;

namespace {

// The table the main program asks for at start.
std::vector<std::pair<std::wstring, int>> ProgramRequest() {
    std::vector<std::pair<std::wstring, int>> list;
    for (const wchar_t* ext : {L".doc", L".dot", L".xls", L".xlt", L".ppt", L".pot"})
        list.emplace_back(ext, 0);
    for (const wchar_t* ext : {L".docx", L".docm", L".dotx", L".dotm", L".xlsx", L".xlsm", L".xlsb",
                               L".xltx", L".xltm", L".pptx", L".pptm", L".potx", L".potm"})
        list.emplace_back(ext, 1);
    return list;
}

TEST(TheExtensionTable, givesOlderFormatsNoHandlerAndNewerOnesTheCorePropertiesReader) {
    const auto request = ProgramRequest();
    const std::vector<CLSID_ITEM> table = OfficePropertyFuncs::GetClassIdItems(request);
    ASSERT_EQ(table.size(), request.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].Extension, request[i].first);
        EXPECT_EQ(table[i].LookUpHandler, request[i].second);
        EXPECT_EQ(table[i].ClassId,
                  request[i].second ? OoxmlCoreProperties::kHandlerClassId : ClassId{})
            << i;
    }
}

TEST(TheExtensionTable, leavesOutAnExtensionWithoutAHandler) {
    const auto table = OfficePropertyFuncs::GetClassIdItems(
        {{L".txt", 1}, {L".docx", 1}, {L".odt", 1}, {L".txt", 0}});
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].Extension, L".docx");
    EXPECT_EQ(table[1].Extension, L".txt");
    EXPECT_TRUE(table[1].ClassId.IsNull());
}

TEST(TheExtensionTable, findsAClassIdIgnoringCase) {
    const auto table = OfficePropertyFuncs::GetClassIdItems(ProgramRequest());
    EXPECT_EQ(OfficePropertyFuncs::GetClassId(L".DOCX", table),
              OoxmlCoreProperties::kHandlerClassId);
    EXPECT_EQ(OfficePropertyFuncs::GetClassId(L".PpTm", table),
              OoxmlCoreProperties::kHandlerClassId);
    EXPECT_TRUE(OfficePropertyFuncs::GetClassId(L".DOC", table).IsNull());
    EXPECT_TRUE(OfficePropertyFuncs::GetClassId(L".pdf", table).IsNull());
    EXPECT_TRUE(OfficePropertyFuncs::GetClassId(L".docx", {}).IsNull());
}

TEST(ThePropertyHandlerKey, namesTheExtensionsShellExtensionKey) {
    EXPECT_EQ(OfficePropertyFuncs::GetPropertyHandlerRegKey(L".docx"),
              L".docx\\ShellEx\\PropertyHandler");
}

TEST(AClassId, readsBackTheTextItWrites) {
    const ClassId id = OoxmlCoreProperties::kHandlerClassId;
    EXPECT_EQ(id.ToString(), L"{EB756406-BDD8-4B46-8C63-5A6BF9C4074A}");
    ClassId parsed;
    for (const wchar_t* text :
         {L"{EB756406-BDD8-4B46-8C63-5A6BF9C4074A}", L"eb756406-bdd8-4b46-8c63-5a6bf9c4074a"}) {
        ASSERT_TRUE(ClassId::FromString(text, parsed)) << text;
        EXPECT_EQ(parsed, id);
    }
    for (const wchar_t* text :
         {L"", L"{EB756406-BDD8-4B46-8C63-5A6BF9C4074A", L"{EB756406BDD8-4B46-8C63-5A6BF9C4074A0}",
          L"{EB756406-BDD8-4B46-8C63-5A6BF9C4074G}", L"{EB756406-BDD8-4B46-8C63-5A6BF9C4074AA}",
          L" EB756406-BDD8-4B46-8C63-5A6BF9C4074A"}) {
        parsed = ClassId{};
        EXPECT_FALSE(ClassId::FromString(text, parsed)) << text;
        EXPECT_TRUE(parsed.IsNull());
    }
    EXPECT_EQ(ClassId{}.ToString(), L"{00000000-0000-0000-0000-000000000000}");
}

} // namespace
