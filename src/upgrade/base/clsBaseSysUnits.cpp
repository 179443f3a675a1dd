// Measure units (from the units the source accounts name) and the three
// auxiliary lists of the payroll side: employee categories, duties and
// degrees, each a type of T_SubMessage.
#include "upgrade/base/clsBaseSys.h"

#include <QRegularExpression>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/SqlText.h"
#include "platform/PnwConvert.h"
#include "platform/PnwError.h"
#include "upgrade/base/PhaseLog.h"
#include "upgrade/common/IdentityMapping.h"
#include "upgrade/common/MeasureUnits.h"
#include "upgrade/common/ValueConvert.h"

namespace {

QString text(const QVariant &value) { return PnwConvert::ToText(value, QString()); }

// The next unit number: one above the highest number the target's units
// hold (the unit dialog numbers the same way).
int nextUnitNumber(clsDataInfo &dataInfo, const QString &connectString) {
    QString error;
    auto rs = dataInfo.GetRs(connectString, QStringLiteral("SELECT FNumber FROM T_MeasureUnit"), true, error);
    int highest = 0;
    if (rs) {
        for (; !rs->Eof(); rs->MoveNext()) {
            bool ok = false;
            const int n = text(rs->value(QStringLiteral("FNumber"))).trimmed().toInt(&ok);
            if (ok && n > highest) highest = n;
        }
    }
    return highest + 1;
}

// How the three auxiliary lists differ.
struct AuxList {
    QString table, keyColumn, nameColumn;
    int typeID;
    QString project, fetchFailed, countText, title;
    QStringList captions;
    bool codeAndName;  // detail row: code and name, else name and upgrade type
    QString failureDetail;
};

const AuxList kEmpGroups{QStringLiteral("AIS_GLEmpGroup"),
                         QStringLiteral("FEmpGroupID"),
                         QStringLiteral("FEmpGroupName"),
                         30,
                         QStringLiteral("辅助资料-职员类别"),
                         QStringLiteral("获取源账套辅助资料-职员类别资料时发生错误"),
                         QStringLiteral("辅助资料-职员类别数目："),
                         QStringLiteral("职员类别"),
                         {QStringLiteral("类别名称"), QStringLiteral("升级类型")},
                         false,
                         QStringLiteral("详细日志")};
const AuxList kDuties{QStringLiteral("AIS_GLDuty"),
                      QStringLiteral("FDuty"),
                      QStringLiteral("FDutyName"),
                      29,
                      QStringLiteral("辅助资料-职员职务"),
                      QStringLiteral("获取源账套辅助资料-职员职务资料时发生错误"),
                      QStringLiteral("辅助资料-职员职务数目："),
                      QStringLiteral("职员职务"),
                      {QStringLiteral("代码"), QStringLiteral("名称")},
                      true,
                      QString()};
const AuxList kDegrees{QStringLiteral("AIS_GLDegree"),
                       QStringLiteral("FDegree"),
                       QStringLiteral("FDegreeName"),
                       23,
                       QStringLiteral("辅助资料-文化程度"),
                       QStringLiteral("获取源账套辅助资料-文化程度资料时发生错误"),
                       QStringLiteral("辅助资料-文化程度数目："),
                       QStringLiteral("文化程度"),
                       {QStringLiteral("代码"), QStringLiteral("名称")},
                       true,
                       QString()};

// Copies one auxiliary list into T_SubMessage. Each new row's FInterID is
// written into the staged row's FZ8InterID, so the employees find their
// category, duty and degree by mapping rather than by a name that a clash
// suffix may have changed.
int upgradeAuxList(clsDataInfo &dataInfo, const QString &connectString, const AuxList &list) {
    try {
        QString error;
        auto rs = dataInfo.GetRs(connectString,
                                 SqlText("SELECT {key}, {name} FROM {table} ORDER BY {key}")
                                     .raw("key", list.keyColumn)
                                     .raw("name", list.nameColumn)
                                     .raw("table", list.table)
                                     .str(),
                                 true, error);
        if (!rs) {
            WriteUpgradeLog(list.project, list.fetchFailed, QString(), 2);
            return 2;
        }
        clsDetailLogInfo detail = DetailTable(list.title, list.captions);
        AddInterIDColumn(dataInfo, connectString, list.table, QStringLiteral("FZ8InterID"));

        const QVariant maxNum = [&] {
            auto max = dataInfo.GetRs(connectString,
                                      QStringLiteral("SELECT FMaxNum FROM ICMaxNum WHERE FTableName = N'T_SubMessage'"),
                                      true, error);
            if (!max || max->Eof())
                throw PnwError(-1, QStringLiteral("clsBaseSys"),
                               QStringLiteral("ICMaxNum 中没有 T_SubMessage 的记录。"));
            return max->value(QStringLiteral("FMaxNum"));
        }();
        int interID = 0;
        if (!maxNum.isNull() && !ToLong(maxNum, interID))
            throw PnwError(-1, QStringLiteral("clsBaseSys"), QStringLiteral("ICMaxNum 中 T_SubMessage 的值无效。"));

        int number = 0;
        int rows = 0;
        QString errors;
        for (; !rs->Eof(); rs->MoveNext()) {
            ++rows;
            const QVariant key = rs->value(list.keyColumn);
            const QString name = text(rs->value(list.nameColumn));
            QString written = name;
            QString kind = QStringLiteral("新增");
            auto clash =
                dataInfo.GetRs(connectString,
                               SqlText("SELECT FInterID FROM T_SubMessage WHERE FTypeID = {type} AND FName = {name}")
                                   .arg("type", list.typeID)
                                   .arg("name", name)
                                   .str(),
                               true, error);
            if (clash && !clash->Eof()) {
                written = name + QLatin1Char('_') + g_SourceEdition;
                kind = QStringLiteral("新增（名称加后缀）");
            }
            ++number;
            ++interID;
            const QString batch = SqlText("INSERT INTO T_SubMessage (FBrNo, FInterID, FID, FParentID, FName, FTypeID) "
                                          "VALUES ('', {id}, {fid}, {type}, {name}, {type})\r\n"
                                          "UPDATE ICMaxNum SET FMaxNum = {id} WHERE FTableName = N'T_SubMessage'\r\n"
                                          "UPDATE {table} SET FZ8InterID = {id} WHERE {key} = {keyValue}")
                                      .arg("id", interID)
                                      .arg("fid", QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')))
                                      .arg("type", list.typeID)
                                      .arg("name", written)
                                      .raw("table", list.table)
                                      .raw("key", list.keyColumn)
                                      .arg("keyValue", key)
                                      .str();
            QString batchError;
            if (dataInfo.ExecuteSQL(connectString, batch, batchError)) {
                AddDetailRow(detail, list.codeAndName ? QStringList{text(key), name} : QStringList{name, kind});
            } else {
                errors += FailedStatement(batch) + kCrLf + batchError + kCrLf;
            }
        }
        if (errors.isEmpty()) {
            WriteUpgradeLog(list.project, list.countText + QString::number(rows), QStringLiteral("详细日志"), 0,
                            detail.PackDetailLog());
            return 0;
        }
        WriteUpgradeLog(list.project, QStringLiteral("错误：") + errors, list.failureDetail, 2);
        return 2;
    } catch (const std::exception &e) {
        WriteUpgradeLog(list.project, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}

}  // namespace

int clsBaseSys::UpgradeMeteringUnit(clsDataInfo &dataInfo, const QString &connectString) {
    const QString project = QStringLiteral("计量单位");
    try {
        QString error;
        if (!dataInfo.ExecuteSQL(
                connectString,
                QStringLiteral("IF NOT EXISTS(SELECT 1 FROM SysObjects WHERE Name = 'AIS_GLUnit' AND "
                               "XType = 'U')\r\n"
                               " CREATE TABLE AIS_GLUnit(FUnit NVARCHAR(10) NULL, FUnitAux NVARCHAR(10) "
                               "NULL, FOper NVARCHAR(1) NULL, FCoef FLOAT NULL, "
                               "FZ8InterID INTEGER NULL, FZ8InterID_2 INTEGER NULL)"),
                error))
            throw PnwError(-1, QStringLiteral("UpgradeMeteringUnit"),
                           QStringLiteral("创建账套缺失的计量单位数据表时发生错误，原因：") + kCrLf + error);

        auto rs = dataInfo.GetRs(
            connectString,
            QStringLiteral("SELECT DISTINCT FUnit FROM AIS_GLAcct WHERE FUnit <> '' AND FUnit <> '*' ORDER BY FUnit"),
            true, error);
        if (!rs) {
            WriteUpgradeLog(project, QStringLiteral("获取源账套计量单位资料时发生错误"), QString(), 2);
            return 2;
        }
        clsDetailLogInfo detail = DetailTable(project, {QStringLiteral("代码")});
        int number = nextUnitNumber(dataInfo, connectString);

        AddInterIDColumn(dataInfo, connectString, QStringLiteral("AIS_GLUnit"), QStringLiteral("FZ8InterID"));
        AddInterIDColumn(dataInfo, connectString, QStringLiteral("AIS_GLUnit"), QStringLiteral("FZ8InterID_2"));
        dataInfo.ExecuteSQL(connectString,
                            QStringLiteral("UPDATE AIS_GLUnit SET FZ8InterID = 0, FZ8InterID_2 = 0 WHERE FUnit = '*'"),
                            error);

        int units = 0;
        QString errors;
        for (; !rs->Eof(); rs->MoveNext()) {
            ++units;
            const QString unit = text(rs->value(QStringLiteral("FUnit")));
            int groupItem = 0;
            QString itemError;
            if (!InsertItem(7, unit, 0, 1, 0, unit, unit, unit, unit, groupItem, itemError))
                throw PnwError(-1, QStringLiteral("UpgradeMeteringUnit"), QStringLiteral("插入核算项目表记录时错误。"));
            const QString groupSql =
                SqlText("INSERT INTO T_UnitGroup (FUnitGroupID, FName, FDefaultUnitID) VALUES({group}, {name}, 0)")
                    .arg("group", groupItem)
                    .arg("name", unit)
                    .str();
            QString batchError;
            if (!dataInfo.ExecuteSQL(connectString, groupSql, batchError)) {
                errors += FailedStatement(groupSql) + kCrLf + batchError + kCrLf;
                continue;
            }
            const QString numberText = MeasureUnitNumber(number);
            int unitItem = 0;
            if (!InsertItem(7, numberText, groupItem, 2, 1, unit, unit, unit, unit, unitItem, itemError))
                throw PnwError(-1, QStringLiteral("UpgradeMeteringUnit"), QStringLiteral("插入核算项目表记录时错误。"));
            const QString batch =
                SqlText("INSERT INTO T_MeasureUnit (FMeasureUnitID, FItemID, FUnitGroupID, FParentID, FNumber, "
                        "FShortNumber, FName) VALUES({unit}, {unit}, {group}, {group}, {number}, {number}, {name})\r\n"
                        "UPDATE T_UnitGroup SET FDefaultUnitID = {unit} WHERE FUnitGroupID = {group}\r\n"
                        "INSERT INTO AIS_GLUnit (FUnit) VALUES({name})")
                    .arg("unit", unitItem)
                    .arg("group", groupItem)
                    .arg("number", numberText)
                    .arg("name", unit)
                    .str();
            if (dataInfo.ExecuteSQL(connectString, batch, batchError)) {
                SetZ8InterIDByName(dataInfo, connectString, QStringLiteral("AIS_GLUnit"), QStringLiteral("FUnit"), unit,
                                   groupItem, true);
                SetZ8InterIDByName(dataInfo, connectString, QStringLiteral("AIS_GLUnit"), QStringLiteral("FUnit"), unit,
                                   unitItem, false);
                AddDetailRow(detail, {unit});
            } else {
                errors += FailedStatement(batch) + kCrLf + batchError + kCrLf;
            }
            ++number;
        }
        if (errors.isEmpty()) {
            WriteUpgradeLog(project, QStringLiteral("计量单位数目：") + QString::number(units),
                            QStringLiteral("详细日志"), 0, detail.PackDetailLog());
            return 0;
        }
        WriteUpgradeLog(project, QStringLiteral("错误：") + errors, QString(), 2);
        return 2;
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}

int clsBaseSys::UpgradeEmpGroups(clsDataInfo &dataInfo, const QString &connectString) {
    return upgradeAuxList(dataInfo, connectString, kEmpGroups);
}

int clsBaseSys::UpgradeDuties(clsDataInfo &dataInfo, const QString &connectString) {
    return upgradeAuxList(dataInfo, connectString, kDuties);
}

int clsBaseSys::UpgradeDegrees(clsDataInfo &dataInfo, const QString &connectString) {
    return upgradeAuxList(dataInfo, connectString, kDegrees);
}
