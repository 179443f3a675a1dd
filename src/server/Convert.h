// Conversions between T-SQL types as the server does them: which texts a
// number or a date accepts, how numbers turn into text, rounding to a scale.
// Failures throw SqlError with the server's number (245, 8114, 235, 241,
// 242, 8115, 8152).
#pragma once

#include <cstdint>
#include <string>

#include "server/SqlType.h"
#include "server/Value.h"

namespace server {

enum class ConvertMode {
    Store,     // into a column: overlong text is 8152
    Cast,      // CAST/CONVERT, variables, ISNULL: text is cut silently
    Implicit,  // comparison or arithmetic operand
};

// Packs a type into one integer for the SQL functions (and back).
int64_t packType(const SqlType &t);
SqlType unpackType(int64_t code);

Value convertValue(const Value &v, const SqlType &from, const SqlType &to, ConvertMode mode, int style = -1);

// Exact decimal helpers: doubles that hold a decimal rounded to `scale`.
double roundScale(double v, int scale);  // half away from zero
std::string formatScaled(double v, int scale);

// "yyyy-mm-dd hh:mm:ss.fff" from a text in one of the accepted forms.
std::string parseDateTime(const std::string &text);  // throws 241 / 242
std::string dateTimeFromDays(double days);           // days since 1900-01-01
double daysFromDateTime(const std::string &iso);
std::string currentDateTime();

std::string formatFloat(double v);

// A value as a client shows it: NULL, digits, all scale digits of money and
// decimal, datetime as stored, binary as 0x hex.
std::string displayText(const Value &v, const SqlType &type);  // at most 6 significant digits, as CAST to varchar

}  // namespace server
