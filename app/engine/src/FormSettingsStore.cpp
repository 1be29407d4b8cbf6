#include "KelmEngine/FormSettingsStore.h"

#include "FormSettingsKeys.h"
#include "FormSettingsReader.h"

#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmLibraryUtils/IniDocument.h>
#include <KelmLibraryUtils/PathUtils.h>

namespace KelmEngine {
namespace {

using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::DateTimeValue;
using KelmLibraryUtils::IniDocument;
using KelmLibraryUtils::PathUtils;
using Key = FormSettingsKey;

std::wstring DateTimeText(const Key& key, const DateTimeValue& value) {
    if (!value.IsValid())
        return std::wstring();
    return DateTimeUtils::Format(value, key.kind == Key::Date ? DateTimeUtils::DateValueOnly
                                                              : DateTimeUtils::TimeValueOnly);
}

} // namespace

int FormSettingsStore::Load(const std::wstring& path, FormSettings& settings) {
    return Load(path, settings, DateTimeUtils::GetCurrentDateTime());
}

int FormSettingsStore::Load(const std::wstring& path, FormSettings& settings,
                            const DateTimeValue& now) {
    IniDocument document;
    if (!document.Load(path) || !document.Exists())
        return 0;
    FormSettingsReader::ReadKeys(document, settings, now);
    return 1;
}

// Every file starts with the comment naming formview.ini, exported ones
// too, so that an export reads as what it is.
int FormSettingsStore::Save(const std::wstring& path, const FormSettings& settings) {
    IniDocument document = IniDocument::NewSettingsFile(PathUtils::GetFormViewSettingsFileName());
    FormSettings values = settings;
    for (const Key& key : FormSettingsKeys::GetKeys()) {
        if (key.kind == Key::Integer)
            document.SetInt(key.section, key.name, key.integer(values));
        else
            document.SetString(key.section, key.name, DateTimeText(key, key.value(values)));
    }
    return document.Save(path);
}

int FormSettingsStore::LoadFormViewSettings(FormSettings& settings) {
    return Load(PathUtils::GetFormViewSettingsFilePath(), settings);
}

int FormSettingsStore::SaveFormViewSettings(const FormSettings& settings) {
    return Save(PathUtils::GetFormViewSettingsFilePath(), settings);
}

} // namespace KelmEngine
