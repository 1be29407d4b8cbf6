#pragma once
// Finds a PDF file's creation and modification dates in one pass over its
// bytes, fed in pieces of any size.
//
// The file is taken as runs of bytes between zero bytes. For each key
// ("/CreationDate", "/ModDate") the first run that contains it decides: from
// the key onward, the first "D:" in that run is looked for, and the date is
// the 14 characters after it (fewer when the run ends sooner; empty when the
// run has no "D:"). Both keys are followed at once, byte by byte, so a key or
// "D:" split across two pieces is found, and nothing of a run is kept but a
// few bytes of each date: memory stays constant however long a run is.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace KelmLibraryUtils {

class PdfDateScanner {
public:
    // Fourteen characters of up to four UTF-8 bytes each.
    static constexpr std::size_t kValueBytes = 56;

    void Feed(const std::uint8_t* data, std::size_t size);
    // The end of the file ends the last run.
    void Finish();
    // Both dates are decided; more bytes would change nothing.
    bool IsDone() const;

    std::wstring Created() const { return m_created.Text(); }
    std::wstring Modified() const { return m_modified.Text(); }

    // Scans a whole buffer.
    static void Scan(const std::uint8_t* data, std::size_t size, std::wstring& created,
                     std::wstring& modified);

private:
    enum class Phase { Key, Mark, Value, Done };

    // The search for one key's date.
    struct Search {
        explicit Search(std::string_view k) : key(k) {}
        void Step(std::uint8_t byte);
        void EndRun();
        bool IsIdle() const {
            return phase == Phase::Done || (phase == Phase::Key && matched == 0);
        }
        std::wstring Text() const;

        std::string_view key;
        Phase phase = Phase::Key;
        std::size_t matched = 0;
        std::string value;
    };

    Search m_created{"/CreationDate"};
    Search m_modified{"/ModDate"};
};

} // namespace KelmLibraryUtils
