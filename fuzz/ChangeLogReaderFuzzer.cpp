// Feeds arbitrary bytes to the change log's record decoder as a log file's
// contents: it must never crash, must always move forward, and every record
// it reads must encode and decode back to the same values.
#include <KelmEngine/CsvFields.h>

#include <KelmLibraryUtils/UnicodeText.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using KelmEngine::CsvFields;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = KelmLibraryUtils::UnicodeText::DecodeFileBytes(bytes);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const CsvFields::Record record = CsvFields::DecodeRecord(text, pos);
        if (pos <= start || pos > text.size() || record.fields.empty())
            std::abort();
        const std::wstring line = CsvFields::EncodeRecord(record.fields) + L"\r\n";
        std::size_t again = 0;
        const CsvFields::Record reread = CsvFields::DecodeRecord(line, again);
        if (!reread.complete || reread.fields != record.fields || again != line.size())
            std::abort();
    }
    return 0;
}
