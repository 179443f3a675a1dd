// Text helpers of the engine: UTF-8 decoding, the server collation
// (case-insensitive, trailing blanks ignored, ordered by code page 936 bytes,
// Chinese characters by pinyin)
// and lengths as the server counts them. Text inside the engine is UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace server {

std::string lowerAscii(std::string_view s);
std::string upperAscii(std::string_view s);
bool iequals(std::string_view a, std::string_view b);

std::u32string decodeUtf8(std::string_view s);
std::string encodeUtf8(std::u32string_view s);
void appendUtf8(std::string &out, char32_t c);

char32_t foldCase(char32_t c);

// Collation compare: <0, 0, >0.
int collateCompare(std::string_view a, std::string_view b);
// A key that compares (bytewise) as the collation does.
std::string collationKey(std::string_view s);

// Length in UTF-16 code units (nvarchar) and in code page 936 bytes (varchar).
int utf16Length(std::string_view s);
int cp936Length(std::string_view s);
// The code page 936 code of a character (one or two bytes), 0 when it has none.
uint16_t cp936Code(char32_t c);
// Replaces characters that code page 936 cannot hold by '?'.
std::string toCp936Repertoire(std::string_view s);
// Cuts to at most n units of the given kind (UTF-16 units or CP936 bytes).
std::string cutToLength(std::string_view s, int n, bool unicode);

std::string trimRightBlanks(std::string_view s);
std::string trimLeftBlanks(std::string_view s);

// LIKE with %, _ and [...] sets, under the collation.
bool likeMatch(std::string_view text, std::string_view pattern);

// Position (1-based) of `find` in `s` under the collation, 0 when absent.
int charIndex(std::string_view find, std::string_view s);
std::string replaceCollated(std::string_view s, std::string_view from, std::string_view to);

}  // namespace server

namespace server {
// The code page 936 byte sequence of a text ('?' for what it cannot hold).
std::string toCp936Bytes(std::string_view s);
}  // namespace server
