// A voucher-entry-like table of any size, produced row by row (the same
// rows every time), for the large-table tests and the read benchmark.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "jet/JetWriter.h"

namespace jettest {

inline std::vector<jet::ColumnSpec> voucherColumns() {
    using jet::ColumnType;
    return {
        {"FEntryKey", ColumnType::Long, 0, true}, {"FDate", ColumnType::DateTime}, {"FPeriod", ColumnType::Integer},
        {"FGroup", ColumnType::Text, 10},         {"FNum", ColumnType::Long},      {"FEntryID", ColumnType::Integer},
        {"FExp", ColumnType::Text, 80},           {"FAcctID", ColumnType::Long},   {"FDebit", ColumnType::Currency},
        {"FCredit", ColumnType::Currency},        {"FQty", ColumnType::Double},    {"FPosted", ColumnType::Boolean},
        {"FNote", ColumnType::Text, 60}};
}

// The cells of row i (0-based).
inline jet::Row voucherRow(size_t i) {
    static const char *groups[] = {"记", "收", "付", "转"};
    static const char *texts[] = {"提取现金", "支付货款 Invoice", "收到销售款项", "结转本期损益", "Office supplies"};
    char date[16], money[32];
    std::snprintf(date, sizeof date, "20%02zu-%02zu-%02zu", 10 + i % 14, 1 + i % 12, 1 + i % 28);
    std::snprintf(money, sizeof money, "%zu.%04zu", (i * 7919) % 1000000, (i * 31) % 10000);
    const bool debit = i % 2 == 0;
    return {std::to_string(i + 1),
            std::string(date),
            std::to_string(1 + i % 12),
            std::string(groups[i % 4]),
            std::to_string(i / 4 + 1),
            std::to_string(i % 4),
            std::string(texts[i % 5]) + " #" + std::to_string(i),
            std::to_string(1001 + i % 300),
            debit ? jet::Cell(money) : jet::Cell("0"),
            debit ? jet::Cell("0") : jet::Cell(money),
            std::to_string(static_cast<double>(i % 1000) / 8.0),
            std::string(i % 3 ? "1" : "0"),
            i % 7 == 0 ? jet::Cell() : jet::Cell("备注 " + std::to_string(i % 97))};
}

inline jet::JetWriter::TableSource voucherSource(const std::string &name, size_t rows) {
    auto next = std::make_shared<size_t>(0);
    return {name, voucherColumns(), [rows, next](jet::Row &row) {
                if (*next >= rows) return false;
                row = voucherRow((*next)++);
                return true;
            }};
}

}  // namespace jettest
