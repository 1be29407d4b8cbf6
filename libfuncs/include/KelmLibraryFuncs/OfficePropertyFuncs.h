#pragma once
// The table that maps Office file extensions to the property handler that
// reads (and, for the writer, writes) their summary dates, and the writer of
// those dates.
#include <KelmLibraryUtils/ClassId.h>
#include <KelmPlatform/FileTime.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace KelmLibraryFuncs {

class SummaryDateWriter;

struct CLSID_ITEM {
    std::wstring Extension;            // with its dot, e.g. ".docx"; compared ignoring case
    KelmLibraryUtils::ClassId ClassId; // the property handler, or the null id
    int LookUpHandler = 0;             // 1: looked up; 0: no look-up, null class id
};

class OfficePropertyFuncs {
public:
    // One entry per pair of extension and look-up flag, in order. Flag 0
    // gives the null class id; flag 1 looks the handler up, and an
    // extension without one gets no entry. Linux has no registry of
    // property handlers: the handlers are this system's own readers, so
    // the Office Open XML extensions get the core-properties reader.
    static std::vector<CLSID_ITEM> GetClassIdItems(std::vector<std::pair<std::wstring, int>> list);

    // The class id of the first entry for `extension` (ignoring case), or
    // the null class id.
    static KelmLibraryUtils::ClassId GetClassId(const std::wstring& extension,
                                                const std::vector<CLSID_ITEM>& table);

    // "<extension>\ShellEx\PropertyHandler", where Windows registers an
    // extension's handler below the registered classes.
    static std::wstring GetPropertyHandlerRegKey(const std::wstring& extension);

    // Writes summary date `propertyId` (12 created, 13 last saved, 11 last
    // printed) as the UTC file time `value` into the document at `path`.
    // Nonzero on success; 0 on any failure, with the file unchanged:
    // - a compound file (told by its signature, whatever its name) is written
    //   in place when it is not read-only, no other process locks it or has
    //   it open for writing, its structure is sound and it has a
    //   summary-information set; a missing date is added only where the set's
    //   stream has room in the sectors it owns;
    // - any other file needs a property handler that can write, and this
    //   system has none: the Office Open XML handler only reads.
    // The file's own times change as with any write; callers that keep them
    // put them back afterwards.
    static int SetDumpProps(const std::wstring& path, std::uint32_t propertyId,
                            KelmPlatform::FileTime value, const KelmLibraryUtils::ClassId& classId);

private:
    // Writes into the summary-information set of an opened compound file.
    static int SetDumpBuiltInProps(SummaryDateWriter& storage, std::uint32_t propertyId,
                                   KelmPlatform::FileTime value);
};

} // namespace KelmLibraryFuncs
