// The balance work-table layout (TempBal, #TempBal) in the order t_FABalance
// holds its 32 columns.
#pragma once

#include <QString>

// "FAssetID, FYear, ..., FAltDate".
QString FaBalanceColumns();
// The CREATE TABLE body of a balance work table.
QString FaBalanceDefinitions();
