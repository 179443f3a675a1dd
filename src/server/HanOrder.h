// Order of Chinese characters under the text collation. Code page 936 puts
// the first level of GB 2312 in pinyin order but the second level in
// radical order and the GBK additions in code order; the server's Chinese
// collation sorts all of them by pinyin. Each of these other characters is
// placed right after the first-level character that precedes it in a
// pinyin collation (ICU's "zh"), so first-level texts keep their order.
#pragma once

#include <cstdint>

namespace server {

// The collation key of a Han character of code page 936: its code page
// bytes (first level) or those of its first-level neighbour, followed by
// two bytes (0x40 0x40 for the first level itself, more for the others).
// 0 for other characters, or when no pinyin collation is available.
uint32_t hanOrderKey(char32_t c);

}  // namespace server
