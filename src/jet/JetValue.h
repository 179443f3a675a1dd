// One decoded Jet value. Text is UTF-8; money is exact (scaled by 10,000);
// a Date/Time keeps Jet's own double (see JetDate.h).
#pragma once

#include <cstdint>
#include <string>

namespace jet {

enum class ValueKind { Null, Boolean, Integer, Currency, Single, Double, DateTime, Text, Binary };

struct Value {
    ValueKind kind = ValueKind::Null;
    int64_t integer = 0;  // Boolean (1 true, 0 false), Byte, Integer, Long, Currency x 10,000
    double real = 0;      // Single, Double, DateTime
    std::string bytes;    // Text (UTF-8) or Binary

    bool isNull() const { return kind == ValueKind::Null; }
    bool operator==(const Value &other) const = default;

    static Value null() { return {}; }
    static Value boolean(bool b) { return {ValueKind::Boolean, b ? 1 : 0, 0, {}}; }
    static Value integral(int64_t v) { return {ValueKind::Integer, v, 0, {}}; }
    static Value currency(int64_t scaled) { return {ValueKind::Currency, scaled, 0, {}}; }
    static Value single(float v) { return {ValueKind::Single, 0, v, {}}; }
    static Value dbl(double v) { return {ValueKind::Double, 0, v, {}}; }
    static Value dateTime(double v) { return {ValueKind::DateTime, 0, v, {}}; }
    static Value text(std::string utf8) { return {ValueKind::Text, 0, 0, std::move(utf8)}; }
    static Value binary(std::string raw) { return {ValueKind::Binary, 0, 0, std::move(raw)}; }
};

}  // namespace jet
