#include "KelmLibraryFuncs/AttributesFuncs.h"

#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>

#include <cwctype>

namespace KelmLibraryFuncs {
namespace {

std::uint32_t BitOfCode(int code) {
    switch (code) {
    case 0:
        return KelmPlatform::kReadOnly;
    case 1:
        return KelmPlatform::kHidden;
    case 2:
        return KelmPlatform::kSystem;
    case 4:
        return KelmPlatform::kArchive;
    case 5:
        return KelmPlatform::kTemporary;
    case 10:
        return KelmPlatform::kNotContentIndexed;
    default:
        return 0;
    }
}

} // namespace

int AttributesFuncs::SetModifiedFileAttributes(const std::wstring& path,
                                               const ATTRIBUTESITEM& item) {
    // Every setting is applied even when an earlier one failed.
    int ok = SetModifiedReadOnlyAttributes(path, item.ReadOnly) != 0;
    ok &= SetModifiedHiddenAttributes(path, item.Hidden) != 0;
    ok &= SetModifiedSystemAttributes(path, item.System) != 0;
    ok &= SetModifiedArchiveAttributes(path, item.Archive) != 0;
    ok &= SetModifiedTemporaryAttributes(path, item.Temporary) != 0;
    ok &= SetModifiedNotContentIndexedAttributes(path, item.NotContentIndexed) != 0;
    return ok;
}

int AttributesFuncs::SetReadOnlyAttributes(const std::wstring& path, int on) {
    return SetAttributes(path, on, ReadOnlyCode);
}
int AttributesFuncs::SetHiddenAttributes(const std::wstring& path, int on) {
    return SetAttributes(path, on, HiddenCode);
}
int AttributesFuncs::SetSystemAttributes(const std::wstring& path, int on) {
    return SetAttributes(path, on, SystemCode);
}
int AttributesFuncs::SetArchiveAttributes(const std::wstring& path, int on) {
    return SetAttributes(path, on, ArchiveCode);
}
int AttributesFuncs::SetTemporaryAttributes(const std::wstring& path, int on) {
    return SetAttributes(path, on, TemporaryCode);
}
int AttributesFuncs::SetNotContentIndexedAttributes(const std::wstring& path, int on) {
    return SetAttributes(path, on, NotContentIndexedCode);
}

int AttributesFuncs::GetSelectedReadOnlyAttributes(const std::wstring& attributes) {
    return GetSelectedAttributes(attributes, L'R');
}
int AttributesFuncs::GetSelectedHiddenAttributes(const std::wstring& attributes) {
    return GetSelectedAttributes(attributes, L'H');
}
int AttributesFuncs::GetSelectedSystemAttributes(const std::wstring& attributes) {
    return GetSelectedAttributes(attributes, L'S');
}
int AttributesFuncs::GetSelectedArchiveAttributes(const std::wstring& attributes) {
    return GetSelectedAttributes(attributes, L'A');
}
int AttributesFuncs::GetSelectedTemporaryAttributes(const std::wstring& attributes) {
    return GetSelectedAttributes(attributes, L'T');
}
int AttributesFuncs::GetSelectedNotContentIndexedAttributes(const std::wstring& attributes) {
    return GetSelectedAttributes(attributes, L'I');
}

int AttributesFuncs::GetArrtibutesPriority(const std::wstring& letter) {
    static const std::wstring kOrder = L"RHSDATPLCOIEXV";
    if (letter.size() != 1)
        return -1;
    const auto position = kOrder.find(static_cast<wchar_t>(std::towupper(letter[0])));
    return position == std::wstring::npos ? -1 : static_cast<int>(position);
}

int AttributesFuncs::SetModifiedReadOnlyAttributes(const std::wstring& path, int value) {
    return SetModifiedAttributes(path, value, ReadOnlyCode);
}
int AttributesFuncs::SetModifiedHiddenAttributes(const std::wstring& path, int value) {
    return SetModifiedAttributes(path, value, HiddenCode);
}
int AttributesFuncs::SetModifiedSystemAttributes(const std::wstring& path, int value) {
    return SetModifiedAttributes(path, value, SystemCode);
}
int AttributesFuncs::SetModifiedArchiveAttributes(const std::wstring& path, int value) {
    return SetModifiedAttributes(path, value, ArchiveCode);
}
int AttributesFuncs::SetModifiedTemporaryAttributes(const std::wstring& path, int value) {
    return SetModifiedAttributes(path, value, TemporaryCode);
}
int AttributesFuncs::SetModifiedNotContentIndexedAttributes(const std::wstring& path, int value) {
    return SetModifiedAttributes(path, value, NotContentIndexedCode);
}

int AttributesFuncs::SetModifiedAttributes(const std::wstring& path, int value, int code) {
    if (value == Leave)
        return 1;
    return SetAttributes(path, value == On, code);
}

int AttributesFuncs::SetAttributes(const std::wstring& path, int on, int code) {
    // Read afresh each time, so successive changes build on each other.
    std::uint32_t bits = 0;
    if (!KelmPlatform::ReadItemAttributes(path, bits))
        return 0;
    const std::uint32_t bit = BitOfCode(code);
    bits = on ? (bits | bit) : (bits & ~bit);
    return KelmPlatform::WriteItemAttributes(path, bits);
}

int AttributesFuncs::GetSelectedAttributes(const std::wstring& attributes, wchar_t letter) {
    return attributes.find(letter) != std::wstring::npos ? On : Off;
}

} // namespace KelmLibraryFuncs
