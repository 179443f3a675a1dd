#include "foundation/Messages.h"
#include "upgrade/common/IdentityMapping.h"

#include <exception>

#include "foundation/SqlText.h"
#include "foundation/clsDataInfo.h"
#include "platform/PnwError.h"
#include "upgrade/common/ValueConvert.h"

namespace {

QString mappingColumn(bool second) { return second ? QStringLiteral("FZ8InterID_2") : QStringLiteral("FZ8InterID"); }

// The first row's first value as a 32-bit number; raises when there is no
// recordset (source names the routine) or the value does not convert.
// found is false when there is no row.
int firstLong(clsDataInfo &dataInfo, const QString &connectString, const QString &sql, const QString &source,
              const QString &noRecordsetText, bool &found) {
    QString error;
    auto rs = dataInfo.GetRs(connectString, sql, true, error);
    if (!rs) throw PnwError(-1, source, noRecordsetText + error);
    found = !rs->Eof();
    if (!found) return 0;
    int value = 0;
    if (!ToLong(rs->Fields(0).Value, value)) throw PnwError(13, source, QStringLiteral("类型不匹配"));
    return value;
}

QString getByWhere(clsDataInfo &dataInfo, const QString &connectString, const QString &tableName, const QString &where,
                   bool second, const QString &source) {
    try {
        const QString sql = QStringLiteral("SELECT ") + mappingColumn(second) + kCrLf + QStringLiteral(" FROM ") +
                            tableName + kCrLf + where;
        bool found = false;
        const int value = firstLong(dataInfo, connectString, sql, source,
                                    QStringLiteral("获取专业版内码值时发生错误，原因："), found);
        return found ? QString::number(value) : QStringLiteral("0");
    } catch (const std::exception &) {
        return QStringLiteral("0");
    }
}

bool run(clsDataInfo &dataInfo, const QString &connectString, const QString &sql) {
    QString error;
    return dataInfo.ExecuteSQL(connectString, sql, error);
}

QString objWhere(const QString &objID, bool businessUnit, int itemClass) {
    QString code = objID;
    code.remove(QLatin1Char('.'));
    QString where = QStringLiteral(" WHERE REPLACE(FObjID,'.','') = ") + SqlNString(code);
    if (businessUnit)
        where += QStringLiteral(" AND FClsID = 1 ");
    else
        where += QStringLiteral(" AND FClsID = ") + QString::number(itemClass);
    return where;
}

}  // namespace

bool AddInterIDColumn(clsDataInfo &dataInfo, const QString &connectString, const QString &tableName,
                      const QString &columnName) {
    const QString sql = QStringLiteral("IF NOT EXISTS(SELECT 1 FROM sysobjects T1 INNER JOIN syscolumns T2 ON T1.ID = "
                                       "T2.ID ") +
                        kCrLf + QStringLiteral(" WHERE T1.Name = ") + SqlString(tableName) +
                        QStringLiteral(" AND T2.Name = ") + SqlString(columnName) + QStringLiteral(")") + kCrLf +
                        QStringLiteral(" ALTER TABLE ") + tableName + QStringLiteral(" ADD ") + columnName +
                        QStringLiteral(" INTEGER ") + kCrLf;
    return run(dataInfo, connectString, sql);
}

bool SetZ8InterIDByID(clsDataInfo &dataInfo, const QString &connectString, const QString &tableName,
                      const QString &keyColumn, int key, int newID, bool second) {
    const QString sql = QStringLiteral(" UPDATE ") + tableName + kCrLf + QStringLiteral(" SET ") +
                        mappingColumn(second) + QStringLiteral(" = ") + QString::number(newID) + kCrLf +
                        QStringLiteral(" WHERE ") + keyColumn + QStringLiteral(" = ") + QString::number(key);
    return run(dataInfo, connectString, sql);
}

bool SetZ8InterIDByName(clsDataInfo &dataInfo, const QString &connectString, const QString &tableName,
                        const QString &keyColumn, const QString &key, int newID, bool second) {
    const QString sql = QStringLiteral(" UPDATE ") + tableName + kCrLf + QStringLiteral(" SET ") +
                        mappingColumn(second) + QStringLiteral(" = ") + QString::number(newID) + kCrLf +
                        QStringLiteral(" WHERE ") + keyColumn + QStringLiteral(" = ") + SqlString(key);
    return run(dataInfo, connectString, sql);
}

QString GetZ8InterIDByID(clsDataInfo &dataInfo, const QString &connectString, const QString &tableName,
                         const QString &keyColumn, int key, bool second) {
    return getByWhere(dataInfo, connectString, tableName,
                      QStringLiteral(" WHERE ") + keyColumn + QStringLiteral(" = ") + QString::number(key), second,
                      QStringLiteral("modBusiness.GetZ8InterIDByID"));
}

QString GetZ8InterIDByName(clsDataInfo &dataInfo, const QString &connectString, const QString &tableName,
                           const QString &keyColumn, const QString &key, bool second) {
    return getByWhere(dataInfo, connectString, tableName,
                      QStringLiteral(" WHERE ") + keyColumn + QStringLiteral(" = ") + SqlNString(key), second,
                      QStringLiteral("modBusiness.GetZ8InterIDByName"));
}

int GetObjZ8InterID(clsDataInfo &dataInfo, const QString &connectString, int itemClass, const QString &objID, int which,
                    bool isBusinessUnit) {
    try {
        const bool supplier = isBusinessUnit && which == 1;
        const QString sql = QStringLiteral("SELECT ") + mappingColumn(supplier) + kCrLf +
                            QStringLiteral(" FROM AIS_GLObj ") + kCrLf + objWhere(objID, isBusinessUnit, itemClass);
        QString error;
        auto rs = dataInfo.GetRs(connectString, sql, true, error);
        if (!rs) return -2;
        if (rs->Eof()) return 0;
        int value = 0;
        return ToLong(rs->Fields(0).Value, value) ? value : -2;
    } catch (const std::exception &) {
        return -2;
    }
}

bool SetObjZ8InterID(clsDataInfo &dataInfo, const QString &connectString, int itemClass, const QString &objID,
                     int newID, int which) {
    const bool businessUnit = itemClass == 1 || itemClass == 8;
    const QString sql = QStringLiteral("UPDATE AIS_GLObj SET ") + mappingColumn(businessUnit && which == 1) +
                        QStringLiteral(" = ") + QString::number(newID) + kCrLf +
                        objWhere(objID, businessUnit, itemClass);
    return run(dataInfo, connectString, sql);
}

bool SetVoucherZ8InterID(clsDataInfo &dataInfo, const QString &connectString, int period, const QString &group,
                         int number, int voucherID) {
    const QString sql = QStringLiteral(" UPDATE AIS_GLVch ") + kCrLf + QStringLiteral(" SET FZ8InterID = ") +
                        QString::number(voucherID) + kCrLf + QStringLiteral(" WHERE FPeriod = ") +
                        QString::number(period) + QStringLiteral(" AND FGroup = ") + SqlNString(group) +
                        QStringLiteral(" AND FNum = ") + QString::number(number);
    return run(dataInfo, connectString, sql);
}

bool SetVoucherEntryZ8InterID(clsDataInfo &dataInfo, const QString &connectString, int period, const QString &group,
                              int number, int entry, int entryID) {
    const QString sql = QStringLiteral(" UPDATE AIS_GLVch ") + kCrLf + QStringLiteral(" SET FZ8InterID_2 = ") +
                        QString::number(entryID) + kCrLf + QStringLiteral(" WHERE FPeriod = ") +
                        QString::number(period) + QStringLiteral(" AND FGroup = ") + SqlNString(group) +
                        QStringLiteral(" AND FNum = ") + QString::number(number) + QStringLiteral(" AND FEntryID = ") +
                        QString::number(entry);
    return run(dataInfo, connectString, sql);
}
