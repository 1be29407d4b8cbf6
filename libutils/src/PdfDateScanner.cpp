#include "KelmLibraryUtils/PdfDateScanner.h"

#include <KelmPlatform/NativeName.h>

#include <cstring>

namespace KelmLibraryUtils {
namespace {

constexpr std::string_view kMark = "D:";
constexpr std::size_t kDateLength = 14;

// One step of a match of `pattern` against the byte stream. The patterns
// searched for have no prefix that is also a suffix, so after a mismatch
// only the current byte can start a new match.
bool Advance(std::string_view pattern, std::size_t& matched, std::uint8_t byte) {
    if (byte == static_cast<std::uint8_t>(pattern[matched])) {
        if (++matched < pattern.size())
            return false;
        matched = 0;
        return true;
    }
    matched = byte == static_cast<std::uint8_t>(pattern[0]) ? 1 : 0;
    return false;
}

// The first `byte` in [from, to), or `to`.
const std::uint8_t* Find(const std::uint8_t* from, const std::uint8_t* to, std::uint8_t byte) {
    const void* at = std::memchr(from, byte, static_cast<std::size_t>(to - from));
    return at ? static_cast<const std::uint8_t*>(at) : to;
}

} // namespace

void PdfDateScanner::Search::Step(std::uint8_t byte) {
    switch (phase) {
    case Phase::Key:
        if (Advance(key, matched, byte))
            phase = Phase::Mark;
        break;
    case Phase::Mark:
        if (Advance(kMark, matched, byte))
            phase = Phase::Value;
        break;
    case Phase::Value:
        value.push_back(static_cast<char>(byte));
        if (value.size() == kValueBytes)
            phase = Phase::Done;
        break;
    case Phase::Done:
        break;
    }
}

// A run without the key leaves the search open; the run that had the key
// decides it, "D:" or not.
void PdfDateScanner::Search::EndRun() {
    matched = 0;
    if (phase != Phase::Key)
        phase = Phase::Done;
}

// The bytes are text in the system's encoding; a byte that is no valid UTF-8
// stays a character of its own, so the count of 14 still holds.
std::wstring PdfDateScanner::Search::Text() const {
    if (value.empty())
        return {};
    std::wstring text = KelmPlatform::FromNative(value);
    if (text.size() > kDateLength)
        text.resize(kDateLength);
    return text;
}

void PdfDateScanner::Feed(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* p = data;
    const std::uint8_t* const end = data + size;
    const std::uint8_t* zero = nullptr; // the next zero byte at or after p, or end
    while (p < end && !IsDone()) {
        // Outside a match only a zero byte or the keys' common first
        // character can change anything: skip to the nearer of the two.
        if (m_created.IsIdle() && m_modified.IsIdle()) {
            if (!zero || zero < p)
                zero = Find(p, end, 0);
            p = Find(p, zero, '/');
            if (p == end)
                break;
        }
        if (*p == 0) {
            m_created.EndRun();
            m_modified.EndRun();
        } else {
            m_created.Step(*p);
            m_modified.Step(*p);
        }
        ++p;
    }
}

void PdfDateScanner::Finish() {
    m_created.EndRun();
    m_modified.EndRun();
}

bool PdfDateScanner::IsDone() const {
    return m_created.phase == Phase::Done && m_modified.phase == Phase::Done;
}

void PdfDateScanner::Scan(const std::uint8_t* data, std::size_t size, std::wstring& created,
                          std::wstring& modified) {
    PdfDateScanner scanner;
    scanner.Feed(data, size);
    scanner.Finish();
    created = scanner.Created();
    modified = scanner.Modified();
}

} // namespace KelmLibraryUtils
