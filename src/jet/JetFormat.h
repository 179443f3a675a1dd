// Constants of the Jet 4 page format shared by the writer and the reader's
// own checks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace jet::format {

constexpr size_t kPageSize = 4096;      // Jet 4
constexpr size_t kPageSizeJet3 = 2048;  // Jet 3
constexpr size_t kDataHeader = 14;      // data page header before the row offsets (Jet 4)
constexpr size_t kMaxRowsPerPage = 255;
constexpr uint32_t kCatalogPage = 2;

enum PageType : uint8_t { kPageHeader = 0, kPageData = 1, kPageTableDef = 2, kPageUsageMap = 5 };

enum ColumnCode : uint8_t {
    kBool = 0x01,
    kByte = 0x02,
    kInt = 0x03,
    kLong = 0x04,
    kMoney = 0x05,
    kFloat = 0x06,
    kDouble = 0x07,
    kDateTime = 0x08,
    kBinary = 0x09,
    kText = 0x0A,
    kOle = 0x0B,
    kMemo = 0x0C,
    kUnknown0D = 0x0D,  // binary kinds the format reserves, read as bytes
    kUnknown0E = 0x0E,
    kGuid = 0x0F,
    kNumeric = 0x10,
    kUnknown11 = 0x11,  // the binary column of MSysAccessObjects
    kComplex = 0x12,    // a 4-byte key into a hidden table
};
constexpr uint8_t kLastColumnCode = kComplex;

// Flags in the high bits of a row offset: a deleted row (also set on the
// row a moved row now lives in, which is reached only through its pointer),
// and a row moved away whose 4 bytes name its new place (row:1, page:3).
constexpr uint16_t kRowDeleted = 0x8000;
constexpr uint16_t kRowOverflow = 0x4000;
constexpr uint16_t kRowOffsetMask = 0x1FFF;

enum ColumnFlag : uint8_t { kFlagFixed = 0x01, kFlagNullable = 0x02, kFlagAutoLong = 0x04 };

constexpr uint8_t kMemoInline = 0x80;
constexpr uint8_t kMemoSingle = 0x40;
constexpr uint8_t kMemoChain = 0x00;

inline uint16_t get16(const unsigned char *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t get32(const unsigned char *p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
inline void put16(unsigned char *p, uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
inline void put32(unsigned char *p, uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

// The page-0 header of Jet files is masked with RC4 under a fixed key.
void rc4(const unsigned char *key, size_t keyLen, unsigned char *data, size_t len);
constexpr unsigned char kHeaderKey[4] = {0xC7, 0xDA, 0x39, 0x6B};
constexpr size_t kHeaderMaskStart = 0x18;
constexpr size_t kHeaderMaskLenJet4 = 128;

}  // namespace jet::format
