// The base-data checks of the check run: periods per year, users, accounts
// (business-unit transactions, quotes in names, code lengths, the natures of
// business-unit accounts) and non-detail items used by vouchers or balances.
#include <exception>
#include <functional>

#include <QCoreApplication>

#include "foundation/ErrorText.h"
#include "foundation/SqlText.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDetailLogInfo.h"
#include "foundation/DataRecords.h"
#include "platform/PnwConvert.h"
#include "platform/PnwError.h"
#include "upgrade/base/BaseSysKit.h"
#include "upgrade/base/SubLedgerNatureAsker.h"
#include "upgrade/base/clsBaseSys.h"
#include "upgrade/common/UpgradeGlobals.h"

using namespace basesys;

namespace {

const QString kAccountsProject = QStringLiteral("会计科目设置");

// Runs a check; an error raised in it is its failure entry under project.
bool guarded(const QString &project, const std::function<bool()> &check) {
    try {
        return check();
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return false;
    }
}

// The text a query without a result set reports.
QString noResult(const QString &errorText, const QString &sql) { return errorText + kCrLf + sql + kCrLf; }

void letEventsRun() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

clsDetailLogInfo detailTable(const QString &title, std::initializer_list<QString> captions) {
    clsDetailLogInfo table;
    table.setTitle(title);
    for (const QString &caption : captions) table.InsertCaption(caption);
    return table;
}

// Accounts of a query, listed as a warning of the accounts project (no
// accounts: passed without an entry). withCleanName adds the name with its
// quotes removed.
bool listAccounts(clsDataInfo &dataInfo, const QString &connectString, const QString &sql, const QString &description,
                  bool withCleanName) {
    ado::Recordset rs =
        openOrRaise(dataInfo, connectString, sql, noResult(QStringLiteral("获取会计科目资料时发生错误: "), sql));
    if (rs.Eof()) return true;
    clsDetailLogInfo table =
        withCleanName ? detailTable(kAccountsProject, {QStringLiteral("科目代码"), QStringLiteral("科目名称（升级前）"),
                                                       QStringLiteral("科目名称（升级后）")})
                      : detailTable(kAccountsProject, {QStringLiteral("科目代码"), QStringLiteral("科目名称")});
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString code = text(rs, QStringLiteral("FAcctID"));
        const QString name = text(rs, QStringLiteral("FAcctName"));
        if (withCleanName)
            table.InsertSingleEntry(row({code, name, QString(name).remove(QLatin1Char('\''))}));
        else
            table.InsertSingleEntry(row({code, name}));
    }
    WriteUpgradeLog(kAccountsProject, description, QStringLiteral("会计科目列表"), 1, table.PackDetailLog());
    return true;
}

// Non-detail items of one class that vouchers or balances use.
struct ItemCheck {
    QString classCondition;  // "= 1", "= 2", "> 3"
    QString extraColumn;     // voucher column naming the item too, or ""
    int extraClass;          // the class that column names
    QString project;
    QString codeCaption;
    QString nameCaption;
    QString detail;
    QString description;
    QString errorText;
    bool withClassName;
};

bool checkNonDetailItems(clsDataInfo &dataInfo, const QString &connectString, const ItemCheck &c) {
    const QString cond = c.classCondition;
    QString used = QStringLiteral("SELECT DISTINCT FClsID, FObjID FROM AIS_GLVch WHERE FClsID ") + cond +
                   QStringLiteral(" UNION SELECT DISTINCT FClsID, FObjID FROM AIS_GLBal WHERE FClsID ") + cond +
                   QStringLiteral(" UNION SELECT DISTINCT FClsID, FObjID FROM AIS_GLQtyBal WHERE FClsID ") + cond;
    if (!c.extraColumn.isEmpty())
        used += QStringLiteral(" UNION SELECT DISTINCT %1 AS FClsID, %2 AS FObjID FROM AIS_GLVch WHERE %2 IS NOT "
                               "NULL AND %2 <> ''")
                    .arg(c.extraClass)
                    .arg(c.extraColumn);
    const QString sql =
        QStringLiteral("SELECT DISTINCT T1.FClsID, T1.FObjID, T1.FObjName") +
        (c.withClassName ? QStringLiteral(", T3.FClsName") : QString()) + QStringLiteral(" FROM AIS_GLObj T1") +
        (c.withClassName ? QStringLiteral(" INNER JOIN AIS_GLCls T3 ON T1.FClsID = T3.FClsID") : QString()) +
        QStringLiteral(" INNER JOIN (SELECT DISTINCT FClsID, FParentID FROM AIS_GLObj WHERE FClsID ") + cond +
        QStringLiteral(" AND FParentID <> '*') P ON P.FClsID = T1.FClsID AND P.FParentID = T1.FObjID") +
        QStringLiteral(" INNER JOIN (") + used +
        QStringLiteral(") U ON U.FClsID = T1.FClsID AND U.FObjID = T1.FObjID") + QStringLiteral(" WHERE T1.FClsID ") +
        cond +
        (c.withClassName ? QStringLiteral(" ORDER BY T1.FClsID, T1.FObjID") : QStringLiteral(" ORDER BY T1.FObjID"));
    ado::Recordset rs = openOrRaise(dataInfo, connectString, sql, noResult(c.errorText, sql));
    if (rs.Eof()) return true;
    clsDetailLogInfo table =
        c.withClassName ? detailTable(c.project, {QStringLiteral("核算项目类别"), c.codeCaption, c.nameCaption})
                        : detailTable(c.project, {c.codeCaption, c.nameCaption});
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString code = text(rs, QStringLiteral("FObjID"));
        const QString name = PnwConvert::ToText(rs.value(QStringLiteral("FObjName")), QString());
        if (c.withClassName)
            table.InsertSingleEntry(row({text(rs, QStringLiteral("FClsName")), code, name}));
        else
            table.InsertSingleEntry(row({code, name}));
    }
    WriteUpgradeLog(c.project, c.description, c.detail, 1, table.PackDetailLog());
    return false;
}

}  // namespace

bool clsBaseSys::CheckAccountPeriod(clsDataInfo &dataInfo, const QString &connectString) {
    const QString project = QStringLiteral("检测会计期间设置");
    return guarded(project, [&] {
        const QString sql = QStringLiteral("SELECT FPeriodsPerYear FROM AIS_GLPref");
        const QString failure = noResult(QStringLiteral("获取会计期间数时发生错误: "), sql);
        ado::Recordset rs = openOrRaise(dataInfo, connectString, sql, failure);
        if (rs.Eof()) throw PnwError(-1, QStringLiteral("clsBaseSys"), failure);
        const QVariant periods = rs.value(QStringLiteral("FPeriodsPerYear"));
        if (!periods.isNull() && (periods.toInt() == 12 || periods.toInt() == 13)) {
            WriteUpgradeLog(QStringLiteral("会计期间设置"), QStringLiteral("会计期间属于12、13期，可以升级。"),
                            QString(), 0);
            return true;
        }
        WriteUpgradeLog(project, QStringLiteral("系统只允许升级会计期间数为12期或者13期的账套。"), QString(), 2);
        return false;
    });
}

bool clsBaseSys::CheckUser(clsDataInfo &dataInfo, const QString &connectString) {
    const QString project = QStringLiteral("用户组及用户设置");
    return guarded(project, [&] {
        const QString sql =
            QStringLiteral("SELECT DISTINCT T1.FUserGroupName FROM AIS_GLUserGroup T1 INNER JOIN AIS_SysUsers T2 "
                           "ON T1.FUserGroupID = T2.FUserGroupID WHERE T1.FUserGroupName = T2.FUser");
        ado::Recordset rs = openOrRaise(dataInfo, connectString, sql,
                                        noResult(QStringLiteral("获取用户组及用户资料时发生错误: "), sql));
        const QString passwords = QStringLiteral("升级后需要重新设置操作员密码。");
        if (rs.Eof()) {
            WriteUpgradeLog(project, passwords + kCrLf, QString(), 1);
            return true;
        }
        clsDetailLogInfo table = detailTable(project, {QStringLiteral("用户组名称")});
        for (; !rs.Eof(); rs.MoveNext()) table.InsertSingleEntry(row({text(rs, QStringLiteral("FUserGroupName"))}));
        WriteUpgradeLog(project,
                        passwords + kCrLf + kCrLf +
                            QStringLiteral("存在用户组与用户名称相同的情况，系统升级之后用户组名称将会添加后缀'_组别'"
                                           "，详情见详细日志。"),
                        QStringLiteral("用户组列表"), 1, table.PackDetailLog());
        return false;
    });
}

bool clsBaseSys::CheckTransAccounts(clsDataInfo &dataInfo, const QString &connectString) {
    return guarded(kAccountsProject, [&] {
        return listAccounts(
            dataInfo, connectString,
            QStringLiteral("SELECT FAcctID, FAcctName FROM AIS_GLAcct WHERE FTrans = 1 AND FClsID <> 1 "
                           "AND FCustomer = 0 ORDER BY FAcctID"),
            QStringLiteral("某些会计科目设置了核算往来业务，但并未下挂往来单位核算项目，升级后系统自动取消"
                           "核算往来业务设置。"),
            false);
    });
}

bool clsBaseSys::CheckAccountNameQuote(clsDataInfo &dataInfo, const QString &connectString) {
    return guarded(kAccountsProject, [&] {
        return listAccounts(
            dataInfo, connectString,
            QStringLiteral("SELECT FAcctID, FAcctName FROM AIS_GLAcct WHERE FAcctName LIKE N'%''%' "
                           "ORDER BY FAcctID"),
            QStringLiteral("以下会计科目名称包含系统不支持的特殊字符（单引号），升级后系统自动去掉这些字"
                           "符。"),
            true);
    });
}

bool clsBaseSys::CheckGLAccountLength(clsDataInfo &dataInfo, const QString &connectString) {
    return guarded(kAccountsProject, [&] {
        QString sql = QStringLiteral("SELECT ISNULL(FACLevels, 0) AS FACLevels");
        for (int i = 1; i <= 10; ++i) sql += QStringLiteral(", ISNULL(FACLen%1, 0) AS FACLen%1").arg(i);
        sql += QStringLiteral(" FROM AIS_GLPref");
        auto rs = open(dataInfo, connectString, sql);
        if (!rs || rs->Eof()) {
            WriteUpgradeLog(kAccountsProject, QStringLiteral("发生错误：无法获取源账套的会计科目结构。"), QString(), 2);
            return false;
        }
        g_AcctLevelCount = number(*rs, QStringLiteral("FACLevels"));
        PnwDictionary lengths;
        int previous = 0;
        for (int i = 1; i <= 10; ++i) {
            const int cumulative = number(*rs, QStringLiteral("FACLen%1").arg(i));
            lengths.setItem(QString::number(i), cumulative - previous);
            previous = cumulative;
        }
        g_AcctLevelLengths = lengths;

        int maxLength = 0;
        for (int i = 1; i <= g_AcctLevelCount; ++i) maxLength += g_AcctLevelLengths.Item(QString::number(i)).toInt();
        const QString listSql = QStringLiteral("SELECT FAcctID, FAcctName FROM AIS_GLAcct WHERE LEN(FAcctID) > ") +
                                QString::number(maxLength) + QStringLiteral(" ORDER BY FAcctID");
        ado::Recordset accounts = openOrRaise(dataInfo, connectString, listSql,
                                              noResult(QStringLiteral("检测会计科目长度时发生错误: "), listSql));
        if (accounts.Eof()) return true;
        clsDetailLogInfo table =
            detailTable(kAccountsProject, {QStringLiteral("科目代码"), QStringLiteral("科目名称")});
        for (; !accounts.Eof(); accounts.MoveNext())
            table.InsertSingleEntry(
                row({text(accounts, QStringLiteral("FAcctID")), text(accounts, QStringLiteral("FAcctName"))}));
        WriteUpgradeLog(kAccountsProject,
                        QStringLiteral("某些科目代码长度超过了账套选项中设置的最大长度:") + QString::number(maxLength) +
                            QStringLiteral("，请修复后再升级。"),
                        QStringLiteral("会计科目列表"), 2, table.PackDetailLog());
        return false;
    });
}

bool clsBaseSys::CheckSubledgerNature(clsDataInfo &dataInfo, const QString &connectString) {
    try {
        const QString sql = QStringLiteral("SELECT T.FAcctID, A.FAcctName, 0 AS FIsCustomer, 0 AS FIsSupplier FROM ("
                                           "SELECT FAcctID FROM AIS_GLAcct WHERE FClsID = 1 OR FCustomer = 1 "
                                           "UNION SELECT FAcctID FROM AIS_GLBal WHERE FClsID = 1 "
                                           "UNION SELECT FAcctID FROM AIS_GLQtyBal WHERE FClsID = 1) T "
                                           "INNER JOIN AIS_GLAcct A ON T.FAcctID = A.FAcctID ORDER BY T.FAcctID");
        auto rs = open(dataInfo, connectString, sql);

        QString ignored;
        dataInfo.ExecuteSQL(connectString,
                            QStringLiteral("IF EXISTS (SELECT 1 FROM SysObjects WHERE Name = 'TempGLAcctMapping' AND "
                                           "xtype = 'U') DROP TABLE TempGLAcctMapping") +
                                kCrLf +
                                QStringLiteral("SELECT FAcctID, 0 AS FSubledgerType INTO TempGLAcctMapping FROM "
                                               "AIS_GLAcct WHERE 1 > 1"),
                            ignored);
        if (!rs) return false;
        if (rs->Eof()) return true;

        // The accounts asked about, kept for the finding of a closed dialog.
        QList<QPair<QString, QString>> asked;
        for (; !rs->Eof(); rs->MoveNext())
            asked.append({text(*rs, QStringLiteral("FAcctID")), text(*rs, QStringLiteral("FAcctName"))});
        rs->MoveFirst();
        const QVariant records = RecordsetToRecords(*rs);

        PnwList answer;
        const SubLedgerNatureAsker &asker = SubLedgerNatureAskerHook();
        const bool confirmed = asker ? asker(records, answer) : AcceptPreselectedNatures(records, answer);
        letEventsRun();

        if (confirmed) {
            for (int i = 1; i <= answer.Count(); ++i) {
                const PnwDictionary record = answer.DictionaryItem(i);
                const QString code = record.Item(QStringLiteral("FAcctID")).toString();
                const int nature = record.Item(QStringLiteral("FIsSupplier")).toInt() == 0   ? 0
                                   : record.Item(QStringLiteral("FIsCustomer")).toInt() == 0 ? 1
                                                                                             : 2;
                g_SubLedgerNatures.setItem(code, nature);
                const QString insert =
                    QStringLiteral("INSERT INTO TempGLAcctMapping (FAcctID, FSubledgerType) VALUES (") +
                    SqlString(code) + QStringLiteral(", ") + QString::number(nature == 0 ? 1 : 8) + QStringLiteral(")");
                QString error;
                if (!dataInfo.ExecuteSQL(connectString, insert, error)) {
                    WriteUpgradeLog(kAccountsProject,
                                    QStringLiteral("发生错误：") + error + kCrLf +
                                        QStringLiteral("（SQL语句执行错误）") + kCrLf + insert,
                                    QString(), 2);
                    return false;
                }
                letEventsRun();
            }
            return true;
        }

        clsDetailLogInfo table =
            detailTable(kAccountsProject, {QStringLiteral("科目代码"), QStringLiteral("科目名称")});
        for (const auto &account : asked) {
            table.InsertSingleEntry(row({account.first, account.second}));
            letEventsRun();
        }
        WriteUpgradeLog(kAccountsProject,
                        QStringLiteral("某些会计科目下挂了往来单位核算项目，但并未指定往来单位性质（客户/供应商）。"),
                        QStringLiteral("会计科目列表"), 2, table.PackDetailLog());
        return false;
    } catch (const std::exception &) {
        return false;
    }
}

bool clsBaseSys::CheckSubledger(clsDataInfo &dataInfo, const QString &connectString) {
    const ItemCheck c{
        QStringLiteral("= 1"),
        QStringLiteral("FCustID"),
        1,
        QStringLiteral("往来单位"),
        QStringLiteral("往来单位代码"),
        QStringLiteral("往来单位名称"),
        QStringLiteral("非明细往来单位列表"),
        QStringLiteral("存在凭证使用非明细往来单位的情况，升级到专业版后，这些非明细项目将不可在凭证中输入，"
                       "详情见详细日志。"),
        QStringLiteral("获取往来单位使用情况资料时发生错误: "),
        false};
    return guarded(c.project, [&] { return checkNonDetailItems(dataInfo, connectString, c); });
}

bool clsBaseSys::CheckDepartment(clsDataInfo &dataInfo, const QString &connectString) {
    const ItemCheck c{
        QStringLiteral("= 2"),
        QStringLiteral("FDeptID"),
        2,
        QStringLiteral("部门"),
        QStringLiteral("部门代码"),
        QStringLiteral("部门名称"),
        QStringLiteral("非明细部门列表"),
        QStringLiteral("存在凭证使用非明细部门的情况，升级到专业版后，这些非明细项目将不可在凭证中输入，详情"
                       "见详细日志。"),
        QStringLiteral("获取部门使用情况资料时发生错误: "),
        false};
    return guarded(c.project, [&] { return checkNonDetailItems(dataInfo, connectString, c); });
}

bool clsBaseSys::CheckCustomizeItem(clsDataInfo &dataInfo, const QString &connectString) {
    const ItemCheck c{
        QStringLiteral("> 3"),
        QString(),
        0,
        QStringLiteral("自定义核算项目"),
        QStringLiteral("核算项目代码"),
        QStringLiteral("核算项目名称"),
        QStringLiteral("非明细自定义核算项目列表"),
        QStringLiteral("存在凭证使用非明细自定义核算项目的情况，升级到专业版后，这些非明细项目将不可在凭证"
                       "中输入，详情见详细日志。"),
        QStringLiteral("获取自定义核算项目使用情况资料时发生错误: "),
        true};
    return guarded(c.project, [&] { return checkNonDetailItems(dataInfo, connectString, c); });
}
