// Text forms of the cell values the generator writes: amounts are whole
// cents, rates and quantities doubles written with as few digits as needed.
#pragma once

#include <cstdint>
#include <string>

namespace samplegen {

using Cents = int64_t;

std::string money(Cents c);                  // "-1234.50"
std::string number(double v, int decimals);  // trailing zeros dropped
std::string integer(int64_t v);
std::string date(int year, int month, int day);
int daysInMonth(int year, int month);
// Local amount of a currency amount at a rate, rounded half away from zero.
Cents convert(Cents foreign, double rate);
// Share of an amount in percent, rounded to the cent.
Cents percentOf(Cents amount, double percent);

}  // namespace samplegen
