// What a pay item's data type (the ADO type code the operator chose) means
// for the item's row and its column in t_PANewData.
#pragma once

#include <QString>

struct PayrollDataType {
    int fieldSize;
    int decimals;
    QString columnType;
};

// Size, decimal places and column type of a type code; a code that is not
// one of the six offered gives 80, 2 and text.
PayrollDataType PayrollDataTypeOf(int code);
// Fattrib of a new item: 0 for the four system items (部门代码, 银行账号,
// 职员代码, 职员姓名), 2 for every other.
int PayrollItemAttribute(const QString &itemName);
// An item name as items are matched by it: every "VEQ" removed (exact
// case) and the blanks at both ends trimmed.
QString PayrollMatchName(QString name);
