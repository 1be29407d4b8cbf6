// The XML half of the Office Open XML core-properties reader: the package
// relationships, the core-properties part and its W3CDTF date-times.
#include "KelmLibraryUtils/OoxmlCoreProperties.h"

#include "FileTimeCalendar.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

namespace KelmLibraryUtils {
namespace {

using KelmPlatform::FileTime;

const QString kRelationshipsNs =
    QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString kDctermsNs = QStringLiteral("http://purl.org/dc/terms/");
const QString kCorePropertiesNs =
    QStringLiteral("http://schemas.openxmlformats.org/package/2006/metadata/core-properties");
// Transitional and older writers differ in the start of the type.
const QString kCoreRelationshipSuffix = QStringLiteral("/metadata/core-properties");

QByteArray View(const std::string& bytes) {
    return QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A cursor over the date-time text.
class DateText {
public:
    explicit DateText(const std::wstring& text) : m_text(text) {}
    bool AtEnd() const { return m_at == m_text.size(); }
    bool Take(wchar_t c) {
        if (AtEnd() || m_text[m_at] != c)
            return false;
        ++m_at;
        return true;
    }
    bool Digits(int count, int& value) {
        value = 0;
        for (int i = 0; i < count; ++i, ++m_at) {
            if (AtEnd() || m_text[m_at] < L'0' || m_text[m_at] > L'9')
                return false;
            value = value * 10 + (m_text[m_at] - L'0');
        }
        return true;
    }
    void SkipDigits() {
        while (!AtEnd() && m_text[m_at] >= L'0' && m_text[m_at] <= L'9')
            ++m_at;
    }

private:
    const std::wstring& m_text;
    std::size_t m_at = 0;
};

// hh:mm[:ss[.s...]] after the T.
bool ReadTime(DateText& text, CalendarParts& parts) {
    if (!text.Digits(2, parts.hour) || !text.Take(L':') || !text.Digits(2, parts.minute))
        return false;
    if (text.Take(L':')) {
        if (!text.Digits(2, parts.second))
            return false;
        if (text.Take(L'.')) {
            int first = 0;
            if (!text.Digits(1, first))
                return false;
            text.SkipDigits(); // whole seconds only
        }
    }
    return IsValidTime(parts.hour, parts.minute, parts.second);
}

// Z, +hh:mm or -hh:mm as seconds east of UTC; nothing means UTC.
bool ReadZone(DateText& text, std::int64_t& seconds) {
    seconds = 0;
    if (text.AtEnd() || text.Take(L'Z'))
        return text.AtEnd();
    const bool east = text.Take(L'+');
    if (!east && !text.Take(L'-'))
        return false;
    int hours = 0, minutes = 0;
    if (!text.Digits(2, hours) || !text.Take(L':') || !text.Digits(2, minutes) || hours > 23 ||
        minutes > 59 || !text.AtEnd())
        return false;
    seconds = (east ? 1 : -1) * (hours * 3600 + minutes * 60);
    return true;
}

// YYYY, YYYY-MM, YYYY-MM-DD or YYYY-MM-DDThh:mm[:ss[.s]]TZD.
bool ReadDateTime(DateText& text, CalendarParts& parts, std::int64_t& zone) {
    parts = CalendarParts{0, 1, 1, 0, 0, 0};
    zone = 0;
    if (!text.Digits(4, parts.year))
        return false;
    if (text.AtEnd())
        return true;
    if (!text.Take(L'-') || !text.Digits(2, parts.month))
        return false;
    if (text.AtEnd())
        return true;
    if (!text.Take(L'-') || !text.Digits(2, parts.day))
        return false;
    if (text.AtEnd())
        return true;
    return text.Take(L'T') && ReadTime(text, parts) && ReadZone(text, zone);
}

std::wstring Trimmed(const QString& text) {
    return text.trimmed().toStdWString();
}

} // namespace

int OoxmlCoreProperties::ParseW3cdtf(const std::wstring& text, FileTime& utc) {
    utc = 0;
    DateText cursor(text);
    CalendarParts parts;
    std::int64_t zone = 0;
    FileTime local = 0;
    if (!ReadDateTime(cursor, parts, zone) || !FileTimeFromParts(parts, local))
        return 0;
    const std::int64_t shift = zone * static_cast<std::int64_t>(KelmPlatform::kTicksPerSecond);
    if (shift > 0 && local < static_cast<FileTime>(shift))
        return 0; // before 1601 in UTC
    utc = local - static_cast<FileTime>(shift);
    return 1;
}

std::string OoxmlCoreProperties::FindCorePart(const std::string& relationships) {
    QXmlStreamReader xml(View(relationships));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement ||
            xml.name() != QLatin1String("Relationship") || xml.namespaceUri() != kRelationshipsNs)
            continue;
        const auto attributes = xml.attributes();
        if (!attributes.value(QLatin1String("Type")).endsWith(kCoreRelationshipSuffix))
            continue;
        QString target = attributes.value(QLatin1String("Target")).toString();
        while (target.startsWith(QLatin1Char('/')))
            target.remove(0, 1);
        return target.toStdString();
    }
    return {};
}

int OoxmlCoreProperties::ParseCoreXml(const std::string& bytes, Dates& dates) {
    dates = Dates{};
    QXmlStreamReader xml(View(bytes));
    bool sawCore = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto ns = xml.namespaceUri();
        const auto name = xml.name();
        FileTime* target = nullptr;
        if (ns == kCorePropertiesNs && name == QLatin1String("coreProperties"))
            sawCore = true;
        else if (ns == kDctermsNs && name == QLatin1String("created"))
            target = &dates.created;
        else if (ns == kDctermsNs && name == QLatin1String("modified"))
            target = &dates.modified;
        else if (ns == kCorePropertiesNs && name == QLatin1String("lastPrinted"))
            target = &dates.lastPrinted;
        if (target && *target == 0)
            ParseW3cdtf(Trimmed(xml.readElementText()), *target);
    }
    if (xml.hasError() || !sawCore) {
        dates = Dates{};
        return 0;
    }
    return 1;
}

} // namespace KelmLibraryUtils
