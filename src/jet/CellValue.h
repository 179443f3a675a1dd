// Conversions between the cells of the table text form and decoded values.
#pragma once

#include <string>

#include "jet/JetValue.h"
#include "jet/TableText.h"

namespace jet {

// Parses a cell for its column; throws JetError(kErrValue) naming the
// column when the cell does not fit (out of range, too long, not a number,
// more than four decimals of money, NULL in a Required column).
Value valueFromCell(const ColumnSpec &column, const Cell &cell);

// The cell text of a value, readable again by valueFromCell.
Cell cellFromValue(const Value &value);

// "1234.5678" <-> 12345678; throws JetError(kErrValue).
int64_t parseCurrency(const std::string &text);
std::string formatCurrency(int64_t scaled);

}  // namespace jet
