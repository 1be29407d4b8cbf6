// Feeds arbitrary bytes to the settings-file reader as a file's contents: it
// must never crash, and what it writes back must read back the same.
#include <KelmLibraryUtils/IniDocument.h>
#include <KelmLibraryUtils/UnicodeText.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using KelmLibraryUtils::IniDocument;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniDocument document;
    document.Parse(KelmLibraryUtils::UnicodeText::DecodeFileBytes(bytes));
    for (const std::wstring& section : document.GetSectionNames()) {
        for (const std::wstring& key : document.GetKeyNames(section))
            document.SetString(section, key, document.GetString(section, key, L"") + L" ");
    }
    const std::wstring text = document.ToText();
    IniDocument reread;
    reread.Parse(KelmLibraryUtils::UnicodeText::DecodeFileBytes(
        KelmLibraryUtils::UnicodeText::EncodeUtf16LeWithBom(text)));
    if (reread.ToText() != text)
        std::abort();
    return 0;
}
