#pragma once
// Changes the six settable Windows attributes of a file or folder from
// tri-state settings, and reads an attribute text back into such settings.
#include <string>

namespace KelmLibraryFuncs {

// One tri-state value per attribute: 0 leave, 1 set, anything else clear.
struct ATTRIBUTESITEM {
    int ReadOnly = 0;
    int Hidden = 0;
    int System = 0;
    int Archive = 0;
    int Temporary = 0;
    int NotContentIndexed = 0;
};

class AttributesFuncs {
public:
    enum TriState { Leave = 0, On = 1, Off = 2 };

    // Applies all six values in order, each even after a failure; nonzero
    // only when all six succeeded.
    static int SetModifiedFileAttributes(const std::wstring& path, const ATTRIBUTESITEM& item);

    static int SetReadOnlyAttributes(const std::wstring& path, int on);
    static int SetHiddenAttributes(const std::wstring& path, int on);
    static int SetSystemAttributes(const std::wstring& path, int on);
    static int SetArchiveAttributes(const std::wstring& path, int on);
    static int SetTemporaryAttributes(const std::wstring& path, int on);
    static int SetNotContentIndexedAttributes(const std::wstring& path, int on);

    // 1 when the attribute's letter occurs in `attributes`, else 2.
    static int GetSelectedReadOnlyAttributes(const std::wstring& attributes);
    static int GetSelectedHiddenAttributes(const std::wstring& attributes);
    static int GetSelectedSystemAttributes(const std::wstring& attributes);
    static int GetSelectedArchiveAttributes(const std::wstring& attributes);
    static int GetSelectedTemporaryAttributes(const std::wstring& attributes);
    static int GetSelectedNotContentIndexedAttributes(const std::wstring& attributes);

    // The sort rank of one attribute letter, case ignored; -1 for any other text.
    static int GetArrtibutesPriority(const std::wstring& letter);

private:
    // Codes are the ranks of the attributes' letters.
    enum Code {
        ReadOnlyCode = 0,
        HiddenCode = 1,
        SystemCode = 2,
        ArchiveCode = 4,
        TemporaryCode = 5,
        NotContentIndexedCode = 10
    };

    static int SetModifiedReadOnlyAttributes(const std::wstring& path, int value);
    static int SetModifiedHiddenAttributes(const std::wstring& path, int value);
    static int SetModifiedSystemAttributes(const std::wstring& path, int value);
    static int SetModifiedArchiveAttributes(const std::wstring& path, int value);
    static int SetModifiedTemporaryAttributes(const std::wstring& path, int value);
    static int SetModifiedNotContentIndexedAttributes(const std::wstring& path, int value);
    static int SetModifiedAttributes(const std::wstring& path, int value, int code);
    static int SetAttributes(const std::wstring& path, int on, int code);
    static int GetSelectedAttributes(const std::wstring& attributes, wchar_t letter);
};

} // namespace KelmLibraryFuncs
