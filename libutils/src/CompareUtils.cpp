#include "KelmLibraryUtils/CompareUtils.h"

#include "KelmLibraryUtils/DateTimeUtils.h"

#include <QChar>
#include <QCollator>
#include <QLocale>
#include <QString>

#include <array>

namespace KelmLibraryUtils {

namespace {

int Sign(long long value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

int Directed(int result, int descending) {
    return descending ? -result : result;
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

char32_t Folded(wchar_t c) {
    return QChar::toCaseFolded(static_cast<char32_t>(c));
}

// A run of digits from `pos`: where its significant digits start and where it ends.
struct DigitRun {
    size_t first;
    size_t end;
    size_t zeros;
};

DigitRun ReadDigitRun(const std::wstring& text, size_t pos) {
    DigitRun run{pos, pos, 0};
    while (run.first < text.size() && text[run.first] == L'0') {
        ++run.first;
    }
    run.zeros = run.first - pos;
    run.end = run.first;
    while (run.end < text.size() && IsDigit(text[run.end])) {
        ++run.end;
    }
    // An all-zero run keeps one zero as its value.
    if (run.first == run.end && run.zeros > 0) {
        --run.first;
        --run.zeros;
    }
    return run;
}

// Compares two digit runs by value: more significant digits is larger, then digit by digit.
int CompareRuns(const std::wstring& a, const DigitRun& ra, const std::wstring& b,
                const DigitRun& rb) {
    size_t la = ra.end - ra.first;
    size_t lb = rb.end - rb.first;
    if (la != lb) {
        return la < lb ? -1 : 1;
    }
    return Sign(a.compare(ra.first, la, b, rb.first, lb));
}

int LogicalCompare(const std::wstring& a, const std::wstring& b) {
    size_t i = 0;
    size_t j = 0;
    int zerosTieBreak = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            DigitRun ra = ReadDigitRun(a, i);
            DigitRun rb = ReadDigitRun(b, j);
            if (int result = CompareRuns(a, ra, b, rb)) {
                return result;
            }
            if (zerosTieBreak == 0 && ra.zeros != rb.zeros) {
                zerosTieBreak = ra.zeros < rb.zeros ? -1 : 1;
            }
            i = ra.end;
            j = rb.end;
            continue;
        }
        char32_t ca = Folded(a[i]);
        char32_t cb = Folded(b[j]);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) {
        return i < a.size() ? 1 : -1;
    }
    return zerosTieBreak;
}

// Collators are not safe to share between threads; each thread keeps its own.
QCollator& CollatorFor(bool ignoreCase) {
    thread_local std::array<QCollator, 2> collators = [] {
        std::array<QCollator, 2> made{QCollator(QLocale::system()), QCollator(QLocale::system())};
        made[0].setCaseSensitivity(Qt::CaseSensitive);
        made[1].setCaseSensitivity(Qt::CaseInsensitive);
        return made;
    }();
    return collators[ignoreCase ? 1 : 0];
}

int CompareMoments(const DateTimeValue& a, const DateTimeValue& b) {
    const std::array<int, 6> ka{a.GetYear(), a.GetMonth(),  a.GetDay(),
                                a.GetHour(), a.GetMinute(), a.GetSecond()};
    const std::array<int, 6> kb{b.GetYear(), b.GetMonth(),  b.GetDay(),
                                b.GetHour(), b.GetMinute(), b.GetSecond()};
    return ka < kb ? -1 : (kb < ka ? 1 : 0);
}

} // namespace

int CompareUtils::CompareNumber(std::int64_t a, std::int64_t b, int descending) {
    return Directed(a < b ? -1 : (a > b ? 1 : 0), descending);
}

int CompareUtils::CompareFileName(const std::wstring& a, const std::wstring& b, int descending) {
    return Directed(LogicalCompare(a, b), descending);
}

int CompareUtils::CompareText(const std::wstring& a, const std::wstring& b, int descending,
                              int flags, int /*locale: always the user's default*/) {
    bool ignoreCase = (flags & IgnoreCase) != 0;
    QString qa = QString::fromStdWString(a);
    QString qb = QString::fromStdWString(b);
    int result = Sign(CollatorFor(ignoreCase).compare(qa, qb));
    return Directed(result, descending);
}

int CompareUtils::CompareFileTime(const std::wstring& a, const std::wstring& b, int descending) {
    DateTimeValue va = DateTimeUtils::GetParseDateTime(a, 1);
    DateTimeValue vb = DateTimeUtils::GetParseDateTime(b, 1);
    int result = 0;
    if (va.IsValid() && vb.IsValid()) {
        result = CompareMoments(va, vb);
    } else if (va.IsValid() != vb.IsValid()) {
        result = va.IsValid() ? -1 : 1;
    }
    return Directed(result, descending);
}

} // namespace KelmLibraryUtils
