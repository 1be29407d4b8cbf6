// The writing half of OfficePropertyFuncs: one summary date into a document.
#include "KelmLibraryFuncs/OfficePropertyFuncs.h"

#include "ExclusiveFile.h"
#include "SummaryDateWriter.h"

#include <KelmLibraryUtils/PropertyUtils.h>
#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace KelmLibraryFuncs {
namespace {

// The debugger output of the structured-storage path: plain developer
// messages on standard error, as the diagnostic trace does.
void DebugOutput(const std::string& text) {
    ssize_t ignored = ::write(STDERR_FILENO, text.data(), text.size());
    (void)ignored;
}

bool IsReadOnly(const std::wstring& path) {
    std::uint32_t attributes = 0;
    return !KelmPlatform::ReadItemAttributes(path, attributes) ||
           (attributes & KelmPlatform::kReadOnly) != 0;
}

} // namespace

int OfficePropertyFuncs::SetDumpProps(const std::wstring& path, std::uint32_t propertyId,
                                      KelmPlatform::FileTime value,
                                      const KelmLibraryUtils::ClassId& classId) {
    // No property handler on this platform can write: the one for Office
    // Open XML packages is a reader. Whatever the class id, such files give 0.
    (void)classId;
    if (!KelmLibraryUtils::PropertyUtils::IsOLE2Document(path) || IsReadOnly(path))
        return 0;
    const ExclusiveFile file(path);
    if (!file.IsOpen())
        return 0;
    SummaryDateWriter storage(file.Descriptor());
    return SetDumpBuiltInProps(storage, propertyId, value);
}

int OfficePropertyFuncs::SetDumpBuiltInProps(SummaryDateWriter& storage, std::uint32_t propertyId,
                                             KelmPlatform::FileTime value) {
    if (!storage.OpenSummary()) {
        DebugOutput("No Summary-Information.\n");
        return 0;
    }
    std::uint32_t error = 0;
    if (storage.WriteFileTime(propertyId, value, error))
        return 1;
    char text[64];
    std::snprintf(text, sizeof text, "IPropertyStg::WriteMultiple() failed w/error %08lx\n",
                  static_cast<unsigned long>(error));
    DebugOutput(text);
    return 0;
}

} // namespace KelmLibraryFuncs
