// COleDateTime: a calendar date and time of day, with a valid/invalid status. The current time
// comes from the host's clock, which tests may replace (see Reloj).
#pragma once

#include "Modelo/base/CString.h"

#include <functional>

class MODELO_API COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default; // a null date: "no date"
    COleDateTime(int year, int month, int day, int hour, int minute, int second);

    // Today and now, as the host's clock says.
    static COleDateTime GetCurrentTime();

    // Sets the date part with the time at 00:00:00; returns false and marks the value invalid
    // when the three numbers are not a date of the Gregorian calendar.
    bool SetDate(int year, int month, int day);
    bool SetDateTime(int year, int month, int day, int hour, int minute, int second);
    void SetStatus(DateTimeStatus s) { status_ = s; }
    DateTimeStatus GetStatus() const { return status_; }

    int GetYear() const { return year_; }
    int GetMonth() const { return month_; }
    int GetDay() const { return day_; }
    int GetHour() const { return hour_; }
    int GetMinute() const { return minute_; }
    int GetSecond() const { return second_; }

    // strftime-style conversions %d %m %y %Y %H %M %S %%; anything else is copied as it is.
    CString Format(const char* format) const;

    friend MODELO_API bool operator==(const COleDateTime& a, const COleDateTime& b);
    friend MODELO_API bool operator<(const COleDateTime& a, const COleDateTime& b);
    friend bool operator>(const COleDateTime& a, const COleDateTime& b) { return b < a; }

    static bool IsValidDate(int year, int month, int day);
    static int DaysInMonth(int year, int month);

private:
    long long key() const;
    int year_ = 0, month_ = 0, day_ = 0, hour_ = 0, minute_ = 0, second_ = 0;
    DateTimeStatus status_ = null;
};

// The host's clock. Production reads the machine's local time; a test installs its own source
// so that "today" and "tomorrow" hold on any day.
namespace Reloj {
using Fuente = std::function<COleDateTime()>;
MODELO_API void Fijar(Fuente source); // an empty function restores the machine's clock
MODELO_API COleDateTime Ahora();
} // namespace Reloj
