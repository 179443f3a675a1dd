#include "upgrade/payroll_cashier/CashierSql.h"

#include <QStringList>

const QString kStartKeys = QStringLiteral(
    "DECLARE @StartYear varchar(10)\r\n"
    "DECLARE @StartPeriod varchar(10)\r\n"
    "SELECT @StartYear = FValue FROM t_SystemProfile WHERE FCategory = 'cn' AND FKey = 'cn_Start_year'\r\n"
    "SELECT @StartPeriod = FValue FROM t_SystemProfile WHERE FCategory = 'cn' AND FKey = 'cn_Start_period'\r\n");

const QString kStartDate = QStringLiteral("DECLARE @StartDate datetime\r\n"
                                          "SET @StartDate = convert(datetime, @StartYear + '-' + @StartPeriod + "
                                          "'-01')\r\n");

QString ToBase(const QString &amount, const QString &currency, const QString &rate) {
    return QStringLiteral("CASE WHEN ") + currency + QStringLiteral(".FOperator = '*' AND ") + rate +
           QStringLiteral(" IS NOT NULL THEN ") + amount + QStringLiteral(" * ") + rate + QStringLiteral(" WHEN ") +
           currency + QStringLiteral(".FOperator = '/' AND ISNULL(") + rate + QStringLiteral(", 0) <> 0 THEN ") +
           amount + QStringLiteral(" / ") + rate + QStringLiteral(" ELSE ") + amount + QStringLiteral(" END");
}

QString JournalBaseOpening(const QString &balance, const QString &currency) {
    return QStringLiteral("ISNULL(") + balance + QStringLiteral(".FBegBalBase, ") +
           ToBase(balance + QStringLiteral(".FBegBal"), currency, currency + QStringLiteral(".FExchangeRate")) +
           QLatin1Char(')');
}

QString BaseAmounts(const QString &table, QChar op) {
    const QString verb = op == QLatin1Char('*') ? QStringLiteral(" * ") : QStringLiteral(" / ");
    QString sql = QStringLiteral("UPDATE t1 SET t1.FCreditB = t1.FCredit") + verb +
                  QStringLiteral("t1.FRate, t1.FDebitB = t1.FDebitB") + verb + QStringLiteral("t1.FRate FROM ") +
                  table +
                  QStringLiteral(" t1 INNER JOIN cn_Account t2 ON t1.FKmID = t2.FID INNER JOIN T_Currency t3 ON "
                                 "t2.FBbID = t3.FCurrencyID WHERE t3.FOperator = '") +
                  op + QLatin1Char('\'');
    sql += op == QLatin1Char('/') ? QStringLiteral(" AND ISNULL(t1.FRate, 0) <> 0")
                                  : QStringLiteral(" AND t1.FRate IS NOT NULL");
    return sql;
}

QString UnconvertibleRows(const QString &table) {
    return QStringLiteral("SELECT t1.FID, t1.FDate, t1.FExp, t3.FName FROM ") + table +
           QStringLiteral(
               " t1 INNER JOIN cn_Account t2 ON t1.FKmID = t2.FID INNER JOIN T_Currency t3 ON t2.FBbID = "
               "t3.FCurrencyID WHERE (t3.FOperator = '/' AND ISNULL(t1.FRate, 0) = 0) OR (t3.FOperator = '*' AND "
               "t1.FRate IS NULL) ORDER BY t1.FID");
}

QString CnProfileKey(const QString &key, const QString &whenPresent, const QString &whenMissing) {
    return QStringLiteral("IF EXISTS (SELECT 1 FROM t_SystemProfile WHERE FCategory = 'cn' AND FKey = '") + key +
           QStringLiteral("')\r\n"
                          "UPDATE t1 SET t1.FValue = ") +
           whenPresent +
           QStringLiteral(" FROM t_SystemProfile t1, AIS_GLPref t2 WHERE t1.FCategory = 'cn' AND t1.FKey = '") + key +
           QStringLiteral("'\r\n"
                          "ELSE\r\n"
                          "INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) SELECT 'cn', '") +
           key + QStringLiteral("', ") + whenMissing + QStringLiteral(", 0, 2 FROM AIS_GLPref t2\r\n");
}

QString CnKeyQuery(const QString &key) {
    return QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'cn' AND FKey = '") + key +
           QLatin1Char('\'');
}

QString CnKeyValue(const QString &key) { return QLatin1Char('(') + CnKeyQuery(key) + QLatin1Char(')'); }

QString CarryCopy(const QString &table, const QString &year, const QString &period, const QString &where,
                  const QString &oldId) {
    const bool journal = table.compare(QStringLiteral("CN_YHRJZ"), Qt::CaseInsensitive) == 0;
    const QString columns =
        journal ? QStringLiteral("FKmID, FDate, FOperationDate, FGroup, FNum, FExp, FJsfs, FJsh, FAccountID2, "
                                 "FAcctidside, FDebit, FCredit, FDebitB, FCreditB, FRate, FLyr, FSource, FRemark")
                : QStringLiteral("FKmID, FDate, FExp, FJsfs, FJsh, FDebit, FCredit, FLyr, FSource, FRemark");
    QStringList copiedColumns;
    for (const QString &column : columns.split(QStringLiteral(", "))) copiedColumns << QStringLiteral("t.") + column;
    const QString copied = copiedColumns.join(QStringLiteral(", "));
    return QStringLiteral("INSERT INTO ") + table +
           QStringLiteral(" (FYear, FPeriod, FDzAlready, FDzNumber, FJz, FOldID, ") + columns +
           QStringLiteral(")\r\nSELECT ") + year + QStringLiteral(", ") + period + QStringLiteral(", 0, -1, 1, ") +
           oldId + QStringLiteral(", ") + copied + QStringLiteral(" FROM ") + table + QStringLiteral(" t\r\nWHERE ") +
           where + QStringLiteral("\r\nORDER BY t.FID\r\n");
}
