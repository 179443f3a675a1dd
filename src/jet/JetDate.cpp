#include "jet/JetDate.h"

#include <cmath>
#include <cstdio>

#include "jet/JetError.h"

namespace jet {

namespace {

// Days from 1970-01-01 in the proleptic Gregorian calendar.
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int &y, int &m, int &d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

const int64_t kEpoch = daysFromCivil(1899, 12, 30);

bool validDay(int y, int m, int d) {
    static const int len[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12 || d < 1) return false;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= len[m - 1] + (m == 2 && leap ? 1 : 0);
}

}  // namespace

double jetDateFromParts(const DateTimeParts &p) {
    if (p.year < 100 || p.year > 9999 || !validDay(p.year, p.month, p.day) || p.hour < 0 || p.hour > 23 ||
        p.minute < 0 || p.minute > 59 || p.second < 0 || p.second > 59)
        throw JetError(kErrValue, "date or time out of range");
    const int64_t days = daysFromCivil(p.year, p.month, p.day) - kEpoch;
    const double frac = (p.hour * 3600 + p.minute * 60 + p.second) / 86400.0;
    return days >= 0 ? days + frac : days - frac;
}

DateTimeParts jetDateToParts(double value) {
    if (!std::isfinite(value) || value < -657435.0 || value > 2958466.0)
        throw JetError(kErrValue, "date value out of range");
    const double whole = std::trunc(value);
    int64_t days = static_cast<int64_t>(whole);
    int64_t secs = std::llround(std::fabs(value - whole) * 86400.0);
    if (secs >= 86400) {  // rounding reached the next day
        secs -= 86400;
        days += value >= 0 ? 1 : -1;
    }
    DateTimeParts p;
    civilFromDays(days + kEpoch, p.year, p.month, p.day);
    p.hour = static_cast<int>(secs / 3600);
    p.minute = static_cast<int>(secs / 60 % 60);
    p.second = static_cast<int>(secs % 60);
    return p;
}

double jetDateFromText(const std::string &text) {
    DateTimeParts p;
    int used = 0;
    const bool dateOnly = text.size() == 10;
    const int n = dateOnly ? std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &p.year, &p.month, &p.day, &used)
                           : std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &p.year, &p.month, &p.day, &p.hour,
                                         &p.minute, &p.second, &used);
    if ((dateOnly ? n != 3 : n != 6) || used != static_cast<int>(text.size()) || (!dateOnly && text.size() != 19))
        throw JetError(kErrValue, "\"" + text + "\" is not a date (yyyy-MM-dd or yyyy-MM-dd HH:mm:ss)");
    return jetDateFromParts(p);
}

std::string jetDateToText(double value) {
    const DateTimeParts p = jetDateToParts(value);
    char buf[40];
    if (p.hour == 0 && p.minute == 0 && p.second == 0)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.year, p.month, p.day);
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                      p.second);
    return buf;
}

}  // namespace jet
