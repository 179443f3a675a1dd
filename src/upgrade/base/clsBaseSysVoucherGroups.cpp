// Voucher groups (merged into a target group of the same name), voucher
// explanations with their categories (merged by text and by name) and
// settlement methods (always added, a clashing name suffixed).
#include <exception>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/SqlText.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDetailLogInfo.h"
#include "upgrade/base/BaseSysKit.h"
#include "upgrade/base/clsBaseSys.h"
#include "upgrade/common/AccountLookups.h"
#include "upgrade/common/IdentityMapping.h"
#include "upgrade/common/UpgradeGlobals.h"

using namespace basesys;

namespace {

clsDetailLogInfo detailTable(const QString &title, std::initializer_list<QString> captions) {
    clsDetailLogInfo table;
    table.setTitle(title);
    for (const QString &caption : captions) table.InsertCaption(caption);
    return table;
}

// The first value of a one-value query as a number.
int scalarNumber(clsDataInfo &dataInfo, const QString &connectString, const QString &sql, const QString &field) {
    ado::Recordset rs = openOrRaise(dataInfo, connectString, sql, sql);
    if (rs.Eof()) return 0;
    return number(rs, field);
}

}  // namespace

int clsBaseSys::UpgradeVoucherGroups(clsDataInfo &dataInfo, const QString &connectString) {
    const QString project = QStringLiteral("凭证字");
    bool tableStarted = false;
    try {
        static const char *const ranges[] = {"FDRange", "FCRange", "FDCRange", "FNDRange", "FNCRange", "FNDCRange"};
        auto rs = open(dataInfo, connectString,
                       QStringLiteral("SELECT FGroup, ISNULL(FDRange, '') AS FDRange, ISNULL(FCRange, '') AS FCRange, "
                                      "ISNULL(FDCRange, '') AS FDCRange, ISNULL(FNDRange, '') AS FNDRange, "
                                      "ISNULL(FNCRange, '') AS FNCRange, ISNULL(FNDCRange, '') AS FNDCRange FROM "
                                      "AIS_GLVchGroup ORDER BY FOrder"));
        int result = 0;
        if (!rs) {
            WriteUpgradeLog(project, QStringLiteral("获取源账套凭证字资料时发生错误"), QString(), 2);
            result = 2;
        } else {
            clsDetailLogInfo table = detailTable(project, {QStringLiteral("凭证字"), QStringLiteral("升级类型")});
            tableStarted = true;
            int nextID = scalarNumber(dataInfo, connectString,
                                      QStringLiteral("SELECT ISNULL(MAX(FGroupID), 0) AS FMaxID FROM T_VoucherGroup"),
                                      QStringLiteral("FMaxID"));
            int rows = 0;
            QString errors;
            for (; !rs->Eof(); rs->MoveNext()) {
                ++rows;
                const QString group = text(*rs, QStringLiteral("FGroup"));
                QStringList converted;
                for (const char *range : ranges)
                    converted << ParseAccountNumber(g_AcctLevelCount, g_AcctLevelLengths,
                                                    text(*rs, QString::fromLatin1(range)), dataInfo, connectString)
                                     .number;
                auto existing = openOrRaise(
                    dataInfo, connectString,
                    QStringLiteral("SELECT FGroupID FROM T_VoucherGroup WHERE FName = ") + SqlNString(group), group);
                if (!existing.Eof()) {
                    SetZ8InterIDByName(dataInfo, connectString, QStringLiteral("AIS_GLVchGroup"),
                                       QStringLiteral("FGroup"), group, number(existing, QStringLiteral("FGroupID")),
                                       false);
                    table.InsertSingleEntry(row({group, QStringLiteral("合并")}));
                    continue;
                }
                const int id = ++nextID;
                QString insert = QStringLiteral("INSERT INTO T_VoucherGroup (FGroupID, FName, FDRange, FCRange, "
                                                "FDCRange, FNDRange, FNCRange, FNDCRange, FStandard) VALUES (") +
                                 QString::number(id) + QStringLiteral(", ") + SqlString(group);
                for (const QString &range : converted) insert += QStringLiteral(", ") + SqlString(range);
                insert += QStringLiteral(", 0)");
                QString error;
                if (dataInfo.ExecuteSQL(connectString, insert, error)) {
                    SetZ8InterIDByName(dataInfo, connectString, QStringLiteral("AIS_GLVchGroup"),
                                       QStringLiteral("FGroup"), group, id, false);
                    table.InsertSingleEntry(row({group, QStringLiteral("新增")}));
                } else {
                    errors += QStringLiteral("（SQL语句执行错误）") + error + kCrLf + insert + kCrLf;
                }
            }
            if (errors.isEmpty()) {
                WriteUpgradeLog(project, QStringLiteral("凭证字数目：") + QString::number(rows),
                                QStringLiteral("详细日志"), 0, table.PackDetailLog());
            } else {
                WriteUpgradeLog(project, QStringLiteral("错误：") + errors, QStringLiteral("详细日志"), 2);
                result = 2;
            }
        }
        GetStandardVoucherGroup(dataInfo, connectString, g_StdVoucherGroupID, g_StdVoucherGroupName);
        return result;
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("发生错误：") + ErrorDescription(e),
                        tableStarted ? QStringLiteral("详细日志") : QString(), 2);
        return 2;
    }
}

int clsBaseSys::UpgradeVoucherExplanations(clsDataInfo &dataInfo, const QString &connectString) {
    const QString project = QStringLiteral("会计常用摘要");
    try {
        auto rs = open(dataInfo, connectString,
                       QStringLiteral("SELECT T1.FExpID, T1.FExp AS FName, T1.FExpGroupID AS FGroupID, "
                                      "T2.FExpGroupName AS FGroupName FROM AIS_GLExp T1 INNER JOIN AIS_GLExpGroup T2 "
                                      "ON T1.FExpGroupID = T2.FExpGroupID ORDER BY T1.FExpGroupID, T1.FExpID"));
        if (!rs) {
            WriteUpgradeLog(project, QStringLiteral("获取源账套会计常用摘要资料时发生错误"), QString(), 2);
            return 2;
        }
        clsDetailLogInfo table =
            detailTable(project, {QStringLiteral("摘要类别"), QStringLiteral("摘要名称"), QStringLiteral("升级类型")});
        int category = 0;
        int previousSourceCategory = 0;
        bool first = true;
        int rows = 0;
        for (; !rs->Eof(); rs->MoveNext()) {
            ++rows;
            const int expID = number(*rs, QStringLiteral("FExpID"));
            const QString name = text(*rs, QStringLiteral("FName"));
            const int sourceCategory = number(*rs, QStringLiteral("FGroupID"));
            const QString categoryName = text(*rs, QStringLiteral("FGroupName"));
            QStringList batch;

            int id = 0;
            QString expNumber;
            auto existing = openOrRaise(dataInfo, connectString,
                                        QStringLiteral("SELECT FVoucherExpID FROM T_VoucherExp WHERE FExplanation = ") +
                                            SqlNString(name),
                                        name);
            const bool merged = !existing.Eof();
            if (merged) {
                id = number(existing, QStringLiteral("FVoucherExpID"));
            } else {
                ado::Recordset next =
                    openOrRaise(dataInfo, connectString,
                                QStringLiteral("SELECT ISNULL(MAX(FVoucherExpID), 0) + 1 AS FNextID, "
                                               "ISNULL(MAX(CONVERT(INTEGER, FNumber)), 0) AS FMaxNumber FROM "
                                               "T_VoucherExp"),
                                QStringLiteral("T_VoucherExp"));
                id = number(next, QStringLiteral("FNextID"));
                const int n = number(next, QStringLiteral("FMaxNumber")) + 1;
                expNumber = n < 10 ? QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')) : QString::number(n);
            }

            if (first || sourceCategory != previousSourceCategory) {
                auto found = openOrRaise(dataInfo, connectString,
                                         QStringLiteral("SELECT FGroupID FROM T_VoucherExpGroup WHERE FName = ") +
                                             SqlNString(categoryName),
                                         categoryName);
                if (!found.Eof()) {
                    category = number(found, QStringLiteral("FGroupID"));
                } else {
                    category = scalarNumber(
                        dataInfo, connectString,
                        QStringLiteral("SELECT ISNULL(MAX(FGroupID), 0) + 1 AS FNextID FROM T_VoucherExpGroup"),
                        QStringLiteral("FNextID"));
                    batch << QStringLiteral("INSERT INTO T_VoucherExpGroup (FGroupID, FName) VALUES (") +
                                 QString::number(category) + QStringLiteral(", ") + SqlNString(categoryName) +
                                 QStringLiteral(")");
                }
                previousSourceCategory = sourceCategory;
                first = false;
            }
            if (!merged)
                batch << QStringLiteral("INSERT INTO T_VoucherExp (FVoucherExpID, FGroupID, FNumber, FExplanation, "
                                        "FAccountID) VALUES (%1, %2, %3, %4, 0)")
                             .arg(id)
                             .arg(category)
                             .arg(SqlNString(expNumber), SqlNString(name));
            const QString sql = batch.join(kCrLf);
            QString error;
            if (!sql.isEmpty() && !dataInfo.ExecuteSQL(connectString, sql, error)) {
                WriteUpgradeLog(project,
                                QStringLiteral("错误：") + QStringLiteral("（插入会计常用摘要的SQL语句错误）") + error +
                                    kCrLf + sql,
                                QStringLiteral("详细日志"), 2);
                return 2;
            }
            SetZ8InterIDByID(dataInfo, connectString, QStringLiteral("AIS_GLExp"), QStringLiteral("FExpID"), expID, id,
                             false);
            SetZ8InterIDByID(dataInfo, connectString, QStringLiteral("AIS_GLExpGroup"), QStringLiteral("FExpGroupID"),
                             sourceCategory, category, false);
            table.InsertSingleEntry(
                row({categoryName, name, merged ? QStringLiteral("合并") : QStringLiteral("新增")}));
        }
        WriteUpgradeLog(project, QStringLiteral("会计常用摘要数目：") + QString::number(rows),
                        QStringLiteral("详细日志"), 0, table.PackDetailLog());
        return 0;
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("发生错误：") + ErrorDescription(e), QStringLiteral("详细日志"), 2);
        return 2;
    }
}

int clsBaseSys::UpgradeSettlements(clsDataInfo &dataInfo, const QString &connectString) {
    const QString project = QStringLiteral("结算方式");
    try {
        auto rs =
            open(dataInfo, connectString, QStringLiteral("SELECT FSettCode FROM AIS_GLSettle ORDER BY FSettCode"));
        if (!rs) {
            WriteUpgradeLog(project, QStringLiteral("获取源账套结算方式资料时发生错误"), QString(), 2);
            return 2;
        }
        clsDetailLogInfo table = detailTable(project, {QStringLiteral("代码")});
        AddInterIDColumn(dataInfo, connectString, QStringLiteral("AIS_GLSettle"), QStringLiteral("FZ8InterID"));
        int id = scalarNumber(dataInfo, connectString,
                              QStringLiteral("SELECT ISNULL(MAX(FItemID), 0) AS FMaxID FROM T_Settle"),
                              QStringLiteral("FMaxID"));
        int running = 0, rows = 0;
        QString errors;
        for (; !rs->Eof(); rs->MoveNext()) {
            ++rows;
            const QString code = text(*rs, QStringLiteral("FSettCode"));
            auto clash =
                openOrRaise(dataInfo, connectString,
                            QStringLiteral("SELECT FItemID FROM T_Settle WHERE FName = ") + SqlNString(code), code);
            const QString name = clash.Eof() ? code : code + QStringLiteral("_") + g_SourceEdition;
            ++running;
            ++id;
            const QString insert = QStringLiteral("INSERT INTO T_Settle (FItemID, FName, FNumber, FStatus) VALUES "
                                                  "(%1, %2, '%3', 0)")
                                       .arg(id)
                                       .arg(SqlNString(name))
                                       .arg(running, 3, 10, QLatin1Char('0'));
            QString error;
            if (dataInfo.ExecuteSQL(connectString, insert, error)) {
                SetZ8InterIDByName(dataInfo, connectString, QStringLiteral("AIS_GLSettle"), QStringLiteral("FSettCode"),
                                   code, id, false);
                table.InsertSingleEntry(row({code}));
            } else {
                errors += QStringLiteral("（SQL语句执行错误）") + error + kCrLf + insert + kCrLf;
            }
        }
        if (errors.isEmpty()) {
            WriteUpgradeLog(project, QStringLiteral("结算方式数目：") + QString::number(rows),
                            QStringLiteral("详细日志"), 0, table.PackDetailLog());
            return 0;
        }
        WriteUpgradeLog(project, QStringLiteral("错误：") + errors, QString(), 2);
        return 2;
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}
