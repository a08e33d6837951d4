#include "Modelo/base/COleDateTime.h"

#include <ctime>

bool COleDateTime::IsValidDate(int year, int month, int day) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    return day <= DaysInMonth(year, month);
}

int COleDateTime::DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second) {
    SetDateTime(year, month, day, hour, minute, second);
}

bool COleDateTime::SetDate(int year, int month, int day) {
    return SetDateTime(year, month, day, 0, 0, 0);
}

bool COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
    const bool ok = IsValidDate(year, month, day) && hour >= 0 && hour < 24 && minute >= 0 &&
                    minute < 60 && second >= 0 && second < 60;
    if (!ok) {
        *this = COleDateTime();
        status_ = invalid;
        return false;
    }
    year_ = year, month_ = month, day_ = day;
    hour_ = hour, minute_ = minute, second_ = second;
    status_ = valid;
    return true;
}

COleDateTime COleDateTime::GetCurrentTime() {
    return Reloj::Ahora();
}

// Digits are written by hand: dates are formatted once per tariff query.
CString COleDateTime::Format(const char* format) const {
    if (status_ != valid || !format)
        return CString();
    std::string out;
    auto dos = [&out](int v) {
        out += char('0' + v / 10 % 10);
        out += char('0' + v % 10);
    };
    for (const char* p = format; *p; ++p) {
        if (*p != '%' || !p[1]) {
            out += *p;
            continue;
        }
        switch (*++p) {
        case 'd':
            dos(day_);
            break;
        case 'm':
            dos(month_);
            break;
        case 'y':
            dos(year_ % 100);
            break;
        case 'Y':
            dos(year_ / 100);
            dos(year_ % 100);
            break;
        case 'H':
            dos(hour_);
            break;
        case 'M':
            dos(minute_);
            break;
        case 'S':
            dos(second_);
            break;
        case '%':
            out += '%';
            break;
        default:
            out += '%';
            out += *p;
            break;
        }
    }
    return CString(std::move(out));
}

long long COleDateTime::key() const {
    return ((((year_ * 100LL + month_) * 100 + day_) * 100 + hour_) * 100 + minute_) * 100 +
           second_;
}

bool operator==(const COleDateTime& a, const COleDateTime& b) {
    return a.status_ == b.status_ && a.key() == b.key();
}

bool operator<(const COleDateTime& a, const COleDateTime& b) {
    return a.key() < b.key();
}

namespace Reloj {
static Fuente& fuente() {
    static Fuente f;
    return f;
}

void Fijar(Fuente source) {
    fuente() = std::move(source);
}

COleDateTime Ahora() {
    if (fuente())
        return fuente()();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // A leap second (60) is not a time of the calendar: it reads as the second before it.
    return COleDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec);
}
} // namespace Reloj
