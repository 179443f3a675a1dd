// Jet's Date/Time: a double counting days since 1899-12-30, the fraction
// being the time of day. Before that day the whole part is negative while
// the time still counts forwards: -1.25 is 1899-12-29 06:00.
#pragma once

#include <cstdint>
#include <string>

namespace jet {

struct DateTimeParts {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};

// Throws JetError(kErrValue) for a date outside 100-01-01 .. 9999-12-31.
double jetDateFromParts(const DateTimeParts &parts);
DateTimeParts jetDateToParts(double value);

// "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss"; throws JetError(kErrValue).
double jetDateFromText(const std::string &text);
// "yyyy-MM-dd HH:mm:ss", or "yyyy-MM-dd" when the time is midnight.
std::string jetDateToText(double value);

}  // namespace jet
