// Colour values of the drawn controls and the arithmetic both controls share.
// A value is 32 bits with red in the low byte, green in the second and blue
// in the third; a value with the high bit set refers to a system colour by
// the index in its low byte. Pure functions; system colours read the
// application palette, so translate() belongs to the UI thread.
#pragma once

#include <cstdint>

#include <QColor>

namespace colour {

using Value = std::uint32_t;

// What a failed translation yields (the all-ones value, used as it stands).
constexpr Value kInvalid = 0xFFFFFFFFu;

constexpr Value rgb(int r, int g, int b) { return Value(r & 255) | (Value(g & 255) << 8) | (Value(b & 255) << 16); }
constexpr int red(Value c) { return int(c & 255); }
constexpr int green(Value c) { return int((c >> 8) & 255); }
constexpr int blue(Value c) { return int((c >> 16) & 255); }
constexpr bool isSystemRef(Value c) { return (c & 0x80000000u) != 0; }
constexpr Value systemRef(int index) { return 0x80000000u | Value(index & 255); }

QColor toQColor(Value c);
Value fromQColor(const QColor &c);

// Round to the nearest whole number, halves to the even neighbour.
int roundHalfEven(double x);

// A system-colour reference becomes the palette's colour; a plain value
// passes; an unknown reference gives kInvalid.
Value translate(Value c);

// Lightens (factor > 0) or darkens each channel by factor x 255, the factor
// taken at single precision; clamps only on the side it moves towards.
Value shift(Value c, float factor);
// Channel-wise mean, halves to even.
Value mean(Value a, Value b);
// The grey of a colour: the rounded mean of its three channels.
Value grey(Value c);
// Adds amount to every channel, capped at 255.
Value lighten(Value c, int amount);

}  // namespace colour
