#include "upgrade/payroll_cashier/PayrollDataTypes.h"

#include <QStringList>

PayrollDataType PayrollDataTypeOf(int code) {
    switch (code) {
    case 200: return {80, 0, QStringLiteral("varchar(80)")};
    case 5: return {18, 2, QStringLiteral("float")};
    case 11: return {1, 0, QStringLiteral("bit")};
    case 135: return {10, 0, QStringLiteral("datetime")};
    case 3: return {10, 0, QStringLiteral("int")};
    case 6: return {15, 2, QStringLiteral("money")};
    default: return {80, 2, QStringLiteral("text")};
    }
}

int PayrollItemAttribute(const QString &itemName) {
    static const QStringList systemItems{QStringLiteral("部门代码"), QStringLiteral("银行账号"),
                                         QStringLiteral("职员代码"), QStringLiteral("职员姓名")};
    return systemItems.contains(itemName) ? 0 : 2;
}

QString PayrollMatchName(QString name) {
    name.remove(QStringLiteral("VEQ"), Qt::CaseSensitive);
    qsizetype start = 0;
    qsizetype end = name.size();
    while (start < end && name.at(start) == QLatin1Char(' ')) ++start;
    while (end > start && name.at(end - 1) == QLatin1Char(' ')) --end;
    return name.mid(start, end - start);
}
