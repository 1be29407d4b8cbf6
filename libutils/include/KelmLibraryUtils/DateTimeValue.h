#pragma once
// A calendar moment in local time as an OLE-automation date: days since
// 1899-12-30 00:00, the fraction being the time of day, with a status. A null
// value is what a date or time picker with a cleared check box yields.
namespace KelmLibraryUtils {

class DateTimeValue {
public:
    enum Status { Valid = 0, Invalid = 1, Null = 2 };

    DateTimeValue() = default; // the valid value 0, 1899-12-30 00:00:00
    explicit DateTimeValue(double days, Status status = Valid) : m_days(days), m_status(status) {}

    static DateTimeValue MakeNull() { return DateTimeValue(0, Null); }
    static DateTimeValue MakeInvalid(double days = 0) { return DateTimeValue(days, Invalid); }

    double GetDays() const { return m_days; }
    Status GetStatus() const { return m_status; }
    bool IsValid() const { return m_status == Valid; }
    bool IsNull() const { return m_status == Null; }

    // Calendar components of a valid value; -1 when the value is not valid.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;

    bool operator==(const DateTimeValue& other) const = default;

private:
    double m_days = 0;
    Status m_status = Valid;
};

} // namespace KelmLibraryUtils
