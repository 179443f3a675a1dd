#include "Format.h"

#include <cmath>
#include <cstdio>

namespace samplegen {

std::string money(Cents c) {
    const bool neg = c < 0;
    const uint64_t a = neg ? static_cast<uint64_t>(-c) : static_cast<uint64_t>(c);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s%llu.%02llu", neg ? "-" : "", static_cast<unsigned long long>(a / 100),
                  static_cast<unsigned long long>(a % 100));
    return buf;
}

std::string number(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string integer(int64_t v) { return std::to_string(v); }

std::string date(int year, int month, int day) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
    return buf;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

Cents convert(Cents foreign, double rate) {
    return static_cast<Cents>(std::llround(static_cast<double>(foreign) * rate));
}

Cents percentOf(Cents amount, double percent) {
    return static_cast<Cents>(std::llround(static_cast<double>(amount) * percent / 100.0));
}

}  // namespace samplegen
