#include "upgrade/common/AccountLookups.h"

#include <exception>

#include "foundation/SqlText.h"
#include "foundation/clsDataInfo.h"
#include "platform/PnwError.h"
#include "upgrade/common/ValueConvert.h"

namespace {

// The first row's value of column as a number; 0 for no row, no recordset,
// a value that does not convert or any error.
int firstLongOrZero(clsDataInfo &dataInfo, const QString &connectString, const QString &sql, const QString &column) {
    try {
        QString error;
        auto rs = dataInfo.GetRs(connectString, sql, true, error);
        if (!rs || rs->Eof()) return 0;
        int value = 0;
        return ToLong(rs->value(column), value) ? value : 0;
    } catch (const std::exception &) {
        return 0;
    }
}

int yearOrPeriod(clsDataInfo &dataInfo, const QString &connectString, int source, const QString &targetSql,
                 const QString &sourceSql, const QString &column) {
    return firstLongOrZero(dataInfo, connectString, source == 1 ? targetSql : sourceSql, column);
}

}  // namespace

int GetAccountIDByNumber(clsDataInfo &dataInfo, const QString &connectString, const QString &number) {
    return firstLongOrZero(dataInfo, connectString,
                           QStringLiteral("SELECT FAccountID FROM T_Account WHERE FNumber = ") + SqlString(number),
                           QStringLiteral("FAccountID"));
}

QString GetSourceAccountName(clsDataInfo &dataInfo, const QString &connectString, const QString &code) {
    try {
        QString error;
        auto rs = dataInfo.GetRs(
            connectString,
            QStringLiteral("SELECT ISNULL(FAcctName, N'') AS FName FROM AIS_GLAcct WHERE FAcctID = ") + SqlString(code),
            true, error);
        if (!rs || rs->Eof()) return QString();
        return rs->value(QStringLiteral("FName")).toString();
    } catch (const std::exception &) {
        return QString();
    }
}

int GetAccountDefaultUnit(clsDataInfo &dataInfo, const QString &connectString, int accountID) {
    try {
        const QString sql =
            QStringLiteral("SELECT FMeasureUnitID FROM T_Account WHERE FAccountID = ") + QString::number(accountID);
        QString error;
        auto rs = dataInfo.GetRs(connectString, sql, true, error);
        if (!rs)
            throw PnwError(-1, QStringLiteral("modBusiness.GetAccountDefaultUnit"),
                           QStringLiteral("获取科目默认计量单位时发生错误，原因：") + error);
        if (rs->Eof()) return 0;
        int value = 0;
        return ToLong(rs->Fields(0).Value, value) ? value : 0;
    } catch (const std::exception &) {
        return 0;
    }
}

AccountNumberInfo ParseAccountNumber(int levelCount, const PnwDictionary &levelLengths, const QString &code,
                                     clsDataInfo &dataInfo, const QString &connectString) {
    AccountNumberInfo info;
    if (levelLengths.Count() == 0 || code.isEmpty()) return info;
    QString number;
    QString parentNumber;
    QString rootCode;
    QString rest = code;
    for (int i = 1; !rest.isEmpty() && i <= levelCount; ++i) {
        int n = 0;
        if (!ToLong(levelLengths.Item(QString::number(i)), n)) n = 0;
        // A code that ends inside its level (or a negative length) is a
        // failure: what was built so far of the name stays, the rest not.
        if (n < 0 || n > rest.size()) return info;
        const QString segment = rest.left(n);
        rest = rest.mid(n);
        number += segment;
        info.fullName += GetSourceAccountName(dataInfo, connectString, code.left(code.size() - rest.size()));
        if (!rest.isEmpty()) {
            number += QLatin1Char('.');
            info.fullName += QLatin1Char('_');
            if (!parentNumber.isEmpty()) parentNumber += QLatin1Char('.');
            parentNumber += segment;
        }
        if (i == 1) rootCode = segment;
    }
    info.parentID = parentNumber.isEmpty() ? 0 : GetAccountIDByNumber(dataInfo, connectString, parentNumber);
    info.rootID = rootCode == parentNumber ? info.parentID : GetAccountIDByNumber(dataInfo, connectString, rootCode);
    info.number = number;
    return info;
}

int GetStartYear(clsDataInfo &dataInfo, const QString &connectString, int source) {
    return yearOrPeriod(dataInfo, connectString, source,
                        QStringLiteral(" SELECT FValue AS FStartYear FROM t_SystemProfile WHERE FKey = N'StartYear' "
                                       "AND FCategory = N'GL'"),
                        QStringLiteral("SELECT FStartYear FROM AIS_GLPref "), QStringLiteral("FStartYear"));
}

int GetCurrentYear(clsDataInfo &dataInfo, const QString &connectString, int source) {
    return yearOrPeriod(dataInfo, connectString, source,
                        QStringLiteral(" SELECT FValue AS FCurrYear FROM t_SystemProfile WHERE FKey = N'CurrentYear' "
                                       "AND FCategory = N'GL'"),
                        QStringLiteral("SELECT FCurrYear FROM AIS_GLPref "), QStringLiteral("FCurrYear"));
}

int GetStartPeriod(clsDataInfo &dataInfo, const QString &connectString, int source) {
    return yearOrPeriod(dataInfo, connectString, source,
                        QStringLiteral(" SELECT FValue AS FStartPeriod FROM t_SystemProfile WHERE FKey = "
                                       "N'StartPeriod' AND FCategory = N'GL'"),
                        QStringLiteral("SELECT FStartPeriod FROM AIS_GLPref "), QStringLiteral("FStartPeriod"));
}

int GetCurrentPeriod(clsDataInfo &dataInfo, const QString &connectString, int source) {
    return yearOrPeriod(dataInfo, connectString, source,
                        QStringLiteral("SELECT FValue AS FCurrPeriod FROM t_SystemProfile WHERE FKey = "
                                       "N'CurrentPeriod' AND FCategory = N'GL'"),
                        QStringLiteral("SELECT FCurrPeriod FROM AIS_GLPref "), QStringLiteral("FCurrPeriod"));
}

void GetStandardVoucherGroup(clsDataInfo &dataInfo, const QString &connectString, int &groupID, QString &groupName) {
    try {
        QString error;
        auto rs = dataInfo.GetRs(connectString,
                                 QStringLiteral(" SELECT FGroupID, FName FROM t_VoucherGroup WHERE FStandard = 1 "),
                                 true, error);
        if (!rs || rs->Eof()) return;
        int id = 0;
        if (!ToLong(rs->value(QStringLiteral("FGroupID")).toString(), id)) return;
        groupID = id;
        const QVariant name = rs->value(QStringLiteral("FName"));
        if (name.isNull()) return;
        groupName = name.toString();
    } catch (const std::exception &) {}
}
