// The checks of the general-ledger stage: each reads the staging copies
// through one query and logs what it finds as one entry with a detail table.
#include <functional>

#include <QStringList>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDetailLogInfo.h"
#include "platform/PnwError.h"
#include "platform/PnwList.h"
#include "platform/ado/Recordset.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/common/UpgradeGlobals.h"
#include "upgrade/ledger/clsEboGL.h"

namespace {

struct Check {
    QString project;
    QString description;
    QString detail;
    QString title;
    QStringList captions;
    QStringList fields;  // the field of each caption's cell
    QString fetchMessage;
    int status;  // of a finding
};

QString lines(const QStringList &fragments) { return fragments.join(QStringLiteral("\r\n")); }

// Runs the query and logs its rows as the check's finding; onRow sees each
// record. True when nothing was found or the finding is a warning.
bool runCheck(StepKit &kit, const Check &check, const QString &sql, bool &warned,
              const std::function<void(const ado::Recordset &)> &onRow = nullptr) {
    try {
        auto rs = kit.query(sql);
        if (!rs)
            throw PnwError(-1, QString(), check.fetchMessage + QStringLiteral("\r\n") + sql + QStringLiteral("\r\n"));
        if (rs->Eof()) return true;
        clsDetailLogInfo detail;
        detail.setTitle(check.title);
        for (const QString &caption : check.captions) detail.InsertCaption(caption);
        for (; !rs->Eof(); rs->MoveNext()) {
            PnwList row;
            for (const QString &name : check.fields) AddValueCell(row, rs->value(name).toString());
            detail.InsertSingleEntry(row);
            if (onRow) onRow(*rs);
        }
        WriteUpgradeLog(check.project, check.description, check.detail, check.status, detail.PackDetailLog());
        if (check.status == 2) return false;
        warned = true;
        return true;
    } catch (const std::exception &e) {
        WriteUpgradeLog(check.project, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return false;
    }
}

const QStringList kAcctCaptions = {QStringLiteral("科目代码"), QStringLiteral("科目名称")};
const QStringList kAcctFields = {QStringLiteral("FAcctID"), QStringLiteral("FAcctName")};

QString groupMissing(const QString &what) {
    return QStringLiteral("存在") + what + QStringLiteral("缺少凭证字，升级后这些") + what +
           QStringLiteral("将使用系统默认的凭证字'") + g_StdVoucherGroupName + QStringLiteral("'。");
}

}  // namespace

bool clsEboGL::CheckAccountPeriod(StepKit &kit, bool &warned) {
    if (!BalanceOnly) return true;
    const Check check{QStringLiteral("科目余额表"),
                      QStringLiteral("科目当期有发生额，不允许只升级余额。"),
                      QStringLiteral("当期有发生额的科目列表"),
                      QStringLiteral("存在当期发生额的科目列表"),
                      kAcctCaptions,
                      kAcctFields,
                      QStringLiteral("获取科目余额资料时发生错误: "),
                      2};
    const QString sql = lines({
        QStringLiteral(" SELECT DISTINCT * FROM ("),
        QStringLiteral(" SELECT DISTINCT T1.FAcctID, T2.FAcctName FROM AIS_GLBal T1 "),
        QStringLiteral(" INNER JOIN AIS_GLAcct T2 ON T1.FAcctID = T2.FAcctID "),
        QStringLiteral(" INNER JOIN AIS_GLPref T3 ON T1.FPeriod = T3.FCurrPeriod "),
        QStringLiteral(" WHERE ISNULL(T1.FDebit,0) <> 0 OR ISNULL(T1.FCredit,0) <> 0  "),
        QStringLiteral(" UNION "),
        QStringLiteral(" SELECT DISTINCT T1.FAcctID, T2.FAcctName FROM AIS_GLVch T1 "),
        QStringLiteral(" INNER JOIN AIS_GLAcct T2 ON T1.FAcctID = T2.FAcctID "),
        QStringLiteral(" INNER JOIN AIS_GLPref T3 ON T1.FPeriod = T3.FCurrPeriod "),
        QStringLiteral(" WHERE T1.FDebit <> 0 OR T1.FCredit <> 0 "),
        QStringLiteral(" ) AS T "),
        QStringLiteral(" ORDER BY FAcctID "),
    });
    return runCheck(kit, check, sql, warned);
}

bool clsEboGL::CheckQtyAccountPeriod(StepKit &kit, bool &warned) {
    if (!BalanceOnly) return true;
    const Check check{QStringLiteral("数量余额表"),
                      QStringLiteral("科目当期有发生额，不允许只升级余额。"),
                      QStringLiteral("当期有数量发生额的科目列表"),
                      QStringLiteral("存在当期数量发生额的科目列表"),
                      kAcctCaptions,
                      kAcctFields,
                      QStringLiteral("获取数量余额资料时发生错误: "),
                      2};
    const QString sql = lines({
        QStringLiteral(" SELECT DISTINCT T1.FAcctID, T2.FAcctName FROM AIS_GLQtyBal T1 "),
        QStringLiteral(" INNER JOIN AIS_GLAcct T2 ON T1.FAcctID = T2.FAcctID "),
        QStringLiteral(" INNER JOIN AIS_GLPref T3 ON T1.FPeriod = T3.FCurrPeriod "),
        QStringLiteral(" WHERE ISNULL(T1.FDebit,0) <> 0 OR ISNULL(T1.FCredit,0) <> 0 "),
        QStringLiteral(" ORDER BY T1.FAcctID "),
    });
    return runCheck(kit, check, sql, warned);
}

bool clsEboGL::CheckGLTrans(StepKit &kit, bool &warned) {
    const Check check{
        QStringLiteral("往来业务余额表"),
        QStringLiteral("某些科目在往来业务历史余额表下挂了往来单位核算项目，但科目当前核算项目非往来单位，"
                       "系统升级后将清除往来业务历史余额的核算项目值。"),
        QStringLiteral("科目列表"),
        QStringLiteral("系统将会清除往来业务历史余额表中核算项目值的科目列表"),
        kAcctCaptions,
        kAcctFields,
        QStringLiteral("获取往来业务余额资料时发生错误: "),
        1};
    const QString sql = lines({
        QStringLiteral(" SELECT DISTINCT T1.FAcctID, T2.FAcctName FROM AIS_GLTrans T1 "),
        QStringLiteral(" INNER JOIN AIS_GLAcct T2 ON T1.FAcctID = T2.FAcctID "),
        QStringLiteral(" WHERE (T1.FClsID = 1 OR T1.FCustID <> '*') AND (ISNULL(T2.FClsID,0) <> 1 AND "
                       "T2.FCustomer = 0)"),
        QStringLiteral(" ORDER BY T1.FAcctID "),
    });
    return runCheck(kit, check, sql, warned, [](const ado::Recordset &rs) {
        g_TransClearAccounts.setItem(rs.value(QStringLiteral("FAcctID")).toString(), 1);
    });
}

bool clsEboGL::CheckRateAdjust(StepKit &kit, bool &warned) {
    const Check check{
        QStringLiteral("调汇记录表"),
        QStringLiteral("调汇科目以前年度下挂了核算项目，年结后对应的核算项目已被删除，"
                       "这部分核算项目的调汇记录将不升级。"),
        QStringLiteral("核算项目列表"),
        QStringLiteral("系统将忽略相应调汇记录的核算项目列表"),
        {QStringLiteral("核算项目类别代码"), QStringLiteral("核算项目类别名称"), QStringLiteral("核算项目代码")},
        {QStringLiteral("FClsID"), QStringLiteral("FClsName"), QStringLiteral("FObjID")},
        QStringLiteral("获取调汇记录表资料时发生错误: "),
        1};
    // Only history rows that carry an item can miss it: rows without a class
    // or code are account-level history and convert as such.
    const QString sql = lines({
        QStringLiteral(" SELECT DISTINCT T1.FClsID, T1.FObjID, ISNULL(T3.FClsName,'') AS FClsName "),
        QStringLiteral(" FROM dbo.AIS_GLRateAdjHist T1"),
        QStringLiteral(" LEFT JOIN dbo.AIS_GLObj T2 ON T1.FClsID = T2.FClsID AND T1.FObjID = T2.FObjID "),
        QStringLiteral(" LEFT JOIN dbo.AIS_GLCls T3 ON T1.FClsID = T3.FClsID "),
        QStringLiteral(" WHERE T2.FObjID Is Null AND T1.FClsID > 0 AND ISNULL(T1.FObjID, '') <> ''"),
        QString(),
    });
    return runCheck(kit, check, sql, warned, [](const ado::Recordset &rs) {
        g_RateAdjustSkipList.setItem(rs.value(QStringLiteral("FClsID")).toString() + QLatin1Char(' ') +
                                         rs.value(QStringLiteral("FObjID")).toString(),
                                     1);
    });
}

bool clsEboGL::CheckVoucherGroup(StepKit &kit, bool &warned) {
    const Check check{QStringLiteral("凭证"),
                      groupMissing(QStringLiteral("凭证")),
                      QStringLiteral("缺少凭证字的凭证列表"),
                      QStringLiteral("缺少凭证字的凭证列表"),
                      {QStringLiteral("序列号"), QStringLiteral("凭证号")},
                      {QStringLiteral("FSerialNum"), QStringLiteral("FNum")},
                      QStringLiteral("获取凭证资料时发生错误: "),
                      1};
    const QString sql = lines({
        QStringLiteral(" SELECT DISTINCT FSerialNum, FNum "),
        QStringLiteral(" FROM AIS_GLVch "),
        QStringLiteral(" WHERE ISNULL(FGroup, '') = '' "),
        QStringLiteral(" ORDER BY FSerialNum, FNum "),
    });
    return runCheck(kit, check, sql, warned);
}

bool clsEboGL::CheckVoucherTemplateGroup(StepKit &kit, bool &warned) {
    const Check check{QStringLiteral("模式凭证"),
                      groupMissing(QStringLiteral("模式凭证")),
                      QStringLiteral("缺少凭证字的模式凭证列表"),
                      QStringLiteral("缺少凭证字的模式凭证列表"),
                      {QStringLiteral("类型"), QStringLiteral("名称")},
                      {QStringLiteral("FTypeName"), QStringLiteral("FName")},
                      QStringLiteral("获取模式凭证资料时发生错误: "),
                      1};
    const QString sql = lines({
        QStringLiteral(" SELECT T2.FTypeName, T1.FName "),
        QStringLiteral(" FROM AIS_GLVchTemplate T1 "),
        QStringLiteral(" INNER JOIN AIS_GLVchTemplateType T2 ON T1.FTypeID = T2.FTypeID "),
        QStringLiteral(" WHERE ISNULL(T1.FVchGroup, '') = '' "),
        QStringLiteral(" ORDER BY T1.FTypeID, T1.FID "),
    });
    return runCheck(kit, check, sql, warned);
}

bool clsEboGL::CheckAutoTransferGroup(StepKit &kit, bool &warned) {
    const Check check{QStringLiteral("自动转账凭证"),
                      groupMissing(QStringLiteral("自动转账凭证")),
                      QStringLiteral("缺少凭证字的自动转账凭证列表"),
                      QStringLiteral("缺少凭证字的自动转账凭证列表"),
                      {QStringLiteral("名称")},
                      {QStringLiteral("FRecurName")},
                      QStringLiteral("获取自动转账凭证资料时发生错误: "),
                      1};
    const QString sql = lines({
        QStringLiteral(" SELECT FRecurName "),
        QStringLiteral(" FROM AIS_GLRecur "),
        QStringLiteral(" WHERE ISNULL(FVchGroup, '') = '' "),
        QStringLiteral(" ORDER BY FRecurID "),
    });
    return runCheck(kit, check, sql, warned);
}
