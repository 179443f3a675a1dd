// The stored forms of Jet 4's Decimal and GUID columns, read as text.
// A Decimal is 17 bytes: a sign byte (0x80 negative), then a 128-bit
// unsigned integer as four little-endian 32-bit words, the most significant
// word first; the value is that integer over 10^scale. A GUID is 16 bytes:
// three little-endian fields (4, 2 and 2 bytes) and 8 bytes as they stand.
#pragma once

#include <string>

namespace jet {

// "-1234.50" for a Decimal of scale 2; "" when the bytes are not 17.
std::string decimalText(const std::string &stored, int scale);
// "00112233-4455-6677-8899-AABBCCDDEEFF"; "" when the bytes are not 16.
std::string guidText(const std::string &stored);

}  // namespace jet
