// Text codecs of Jet 4: UTF-8 <-> UTF-16, and the stored forms of text
// (plain UCS-2 little-endian, or the "compressed" form that starts with
// FF FE and switches between one-byte and two-byte runs at every 00 byte).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace jet {

// Throws JetError(kErrValue) on malformed UTF-8.
std::u16string utf8ToUtf16(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view utf16);

// The stored bytes of a text value; compressed when that is shorter and
// every two-byte run can be told apart from a mode switch.
std::string encodeJetText(std::u16string_view text, bool allowCompression = true);
// Decodes either stored form; never reads past the given bytes.
std::u16string decodeJetText(const unsigned char *bytes, size_t size);

}  // namespace jet
