// Users and groups, currencies (the base currency moved to identifier 1),
// and the intelligent-closing defaults of the target's own procedure.
#include <exception>

#include <QPair>

#include "foundation/ErrorText.h"
#include "foundation/SqlText.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDetailLogInfo.h"
#include "platform/PnwError.h"
#include "upgrade/base/BaseSysKit.h"
#include "upgrade/base/clsBaseSys.h"
#include "upgrade/common/IdentityMapping.h"

using namespace basesys;

namespace {

QString userInsert(int id, const QString &name, int group, int authRight) {
    return QStringLiteral("INSERT INTO T_User (FUserID, FName, FPrimaryGroup, FDescription, FAuthRight, FAccessUUID) "
                          "VALUES (%1, %2, %3, %2, %4, 0)")
        .arg(id)
        .arg(SqlNString(name))
        .arg(group)
        .arg(authRight);
}

QString membership(int user, int group) {
    return QStringLiteral("INSERT INTO T_Group (FUserID, FGroupID) VALUES (%1, %2)").arg(user).arg(group);
}

}  // namespace

int clsBaseSys::UpgradeUsers(clsDataInfo &dataInfo, const QString &connectString) {
    const QString project = QStringLiteral("用户资料");
    try {
        auto groups = open(dataInfo, connectString,
                           QStringLiteral("SELECT DISTINCT T1.FUserGroupID, T1.FUserGroupName, ISNULL(T2.FUser, '') AS "
                                          "FUserName FROM AIS_GLUserGroup T1 LEFT JOIN AIS_SysUsers T2 ON "
                                          "T1.FUserGroupName = T2.FUser ORDER BY T1.FUserGroupID"));
        if (!groups) {
            WriteUpgradeLog(project, QStringLiteral("获取源账套用户资料时发生错误"), QString(), 2);
            return 2;
        }
        AddInterIDColumn(dataInfo, connectString, QStringLiteral("AIS_SysUsers"), QStringLiteral("FZ8InterID"));
        int groupCounter = 10;
        int nextUser = 16500;
        int targetGroup = 0;
        int groupCount = 0, userCount = 0;
        QString errors;
        for (; !groups->Eof(); groups->MoveNext()) {
            ++groupCount;
            const int sourceGroup = number(*groups, QStringLiteral("FUserGroupID"));
            QString name = text(*groups, QStringLiteral("FUserGroupName"));
            if (!text(*groups, QStringLiteral("FUserName")).isEmpty()) name += QStringLiteral("_组别");
            QStringList batch;
            if (sourceGroup == 0) {
                targetGroup = 1;
            } else if (sourceGroup == 1) {
                targetGroup = 0;
            } else if (sourceGroup > 1) {
                targetGroup = ++groupCounter;
                batch << userInsert(targetGroup, name, targetGroup, 4);
            }
            QString groupError;
            // Users' mappings wait for their group's batch to succeed.
            QList<QPair<QString, int>> mappings;
            auto users = open(dataInfo, connectString,
                              QStringLiteral("SELECT FUser, FUID FROM AIS_SysUsers WHERE FUserGroupID = ") +
                                  QString::number(sourceGroup) + QStringLiteral(" ORDER BY FUser"));
            if (!users) {
                groupError = QStringLiteral("无法获取源账套用户资料，可能是数据库连接失败导致的问题。");
            } else {
                for (; !users->Eof(); users->MoveNext()) {
                    ++userCount;
                    const QString user = text(*users, QStringLiteral("FUser"));
                    if (number(*users, QStringLiteral("FUID")) == 312) {
                        SetZ8InterIDByName(dataInfo, connectString, QStringLiteral("AIS_SysUsers"),
                                           QStringLiteral("FUser"), user, 16394, false);
                        continue;
                    }
                    batch << userInsert(nextUser, user, targetGroup, 20) << membership(nextUser, 0);
                    if (targetGroup != 0) batch << membership(nextUser, targetGroup);
                    mappings.append({user, nextUser});
                    ++nextUser;
                }
                if (!batch.isEmpty()) {
                    const QString sql = batch.join(kCrLf);
                    QString error;
                    if (!dataInfo.ExecuteSQL(connectString, sql, error))
                        groupError = QStringLiteral("（SQL语句执行错误）") + error + kCrLf + sql;
                }
                if (groupError.isEmpty())
                    for (const auto &mapping : mappings)
                        SetZ8InterIDByName(dataInfo, connectString, QStringLiteral("AIS_SysUsers"),
                                           QStringLiteral("FUser"), mapping.first, mapping.second, false);
            }
            if (!groupError.isEmpty()) errors += groupError + kCrLf;
        }
        if (errors.isEmpty()) {
            WriteUpgradeLog(project,
                            QStringLiteral("用户组数目：") + QString::number(groupCount) +
                                QStringLiteral("；用户数目：") + QString::number(userCount),
                            QString(), 0);
            return 0;
        }
        WriteUpgradeLog(project, QStringLiteral("错误：") + errors, QString(), 2);
        return 2;
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}

int clsBaseSys::UpgradeCurrency(clsDataInfo &dataInfo, const QString &connectString, int currentPeriod,
                                const QString &baseCurrency) {
    try {
        auto rs = open(dataInfo, connectString,
                       QStringLiteral("SELECT T1.FCyID, T1.FCyName, T1.FOper, ISNULL(T2.FBegRate, 1) AS FBegRate FROM "
                                      "AIS_GLCy T1 LEFT JOIN AIS_GLRate T2 ON T1.FCyID = T2.FCyID AND T2.FPeriod = ") +
                           QString::number(currentPeriod) + QStringLiteral(" ORDER BY T1.FCyID"));
        if (!rs) {
            WriteUpgradeLog(QStringLiteral("基础资料-币种"), QStringLiteral("获取源账套货币资料时发生错误"), QString(),
                            2);
            return 2;
        }
        clsDetailLogInfo table;
        table.setTitle(QStringLiteral("货币"));
        table.InsertCaption(QStringLiteral("货币代码"));
        table.InsertCaption(QStringLiteral("货币名称"));
        const QString staged = QStringLiteral("AIS_GLCy");
        const QString key = QStringLiteral("FCyID");
        AddInterIDColumn(dataInfo, connectString, staged, QStringLiteral("FZ8InterID"));
        SetZ8InterIDByName(dataInfo, connectString, staged, key, QStringLiteral("*"), 0, false);
        SetZ8InterIDByName(dataInfo, connectString, staged, key, QStringLiteral("RMB"), 1, false);

        int nextID = 1000, baseID = 1, count = 0;
        QString errors;
        for (; !rs->Eof(); rs->MoveNext()) {
            const QString code = text(*rs, QStringLiteral("FCyID"));
            if (code == QStringLiteral("*")) continue;
            ++count;
            const QString name = text(*rs, QStringLiteral("FCyName"));
            if (code == QStringLiteral("RMB")) {
                table.InsertSingleEntry(row({code, name}));
                continue;
            }
            const QString insert =
                QStringLiteral("INSERT INTO T_Currency (FCurrencyID, FNumber, FName, FOperator, FExchangeRate) VALUES "
                               "(%1, %2, %3, %4, %5)")
                    .arg(nextID)
                    .arg(SqlNString(code), SqlNString(name), SqlString(text(*rs, QStringLiteral("FOper"))),
                         SqlValue(rs->value(QStringLiteral("FBegRate")).toDouble()));
            QString error;
            if (dataInfo.ExecuteSQL(connectString, insert, error)) {
                SetZ8InterIDByName(dataInfo, connectString, staged, key, code, nextID, false);
                table.InsertSingleEntry(row({code, name}));
            } else {
                errors += QStringLiteral("（SQL语句执行错误）") + kCrLf + insert + kCrLf + error + kCrLf;
            }
            if (code == baseCurrency) baseID = nextID;
            ++nextID;
        }
        if (errors.isEmpty() && baseID != 1) {
            const QString move = QStringLiteral("UPDATE T_Currency SET FCurrencyID = -1 WHERE FCurrencyID = %1\r\n"
                                                "UPDATE T_Currency SET FCurrencyID = %1 WHERE FCurrencyID = 1\r\n"
                                                "UPDATE T_Currency SET FCurrencyID = 1 WHERE FCurrencyID = -1\r\n"
                                                "UPDATE AIS_GLCy SET FZ8InterID = %1 WHERE FZ8InterID = 1\r\n"
                                                "UPDATE AIS_GLCy SET FZ8InterID = 1 WHERE FCyID = %2")
                                     .arg(baseID)
                                     .arg(SqlNString(baseCurrency));
            QString error;
            if (!dataInfo.ExecuteSQL(connectString, move, error))
                errors = QStringLiteral("设置本位币时发生错误:") + error;
        }
        if (errors.isEmpty()) {
            WriteUpgradeLog(QStringLiteral("币种"), QStringLiteral("币种数目：") + QString::number(count),
                            QStringLiteral("详细日志"), 0, table.PackDetailLog());
            return 0;
        }
        WriteUpgradeLog(QStringLiteral("币种"), QStringLiteral("错误：") + errors, QString(), 2);
        return 2;
    } catch (const std::exception &e) {
        WriteUpgradeLog(QStringLiteral("基础资料-货币资料"), QStringLiteral("发生错误：") + ErrorDescription(e),
                        QString(), 2);
        return 2;
    }
}

bool clsBaseSys::SetIntelTransferDefaults(clsDataInfo &dataInfo, const QString &connectString, ProgressBar *PoBar,
                                          QLabel *LblObject, QString &errorText) {
    (void)PoBar, (void)LblObject;
    errorText.clear();
    QString error;
    try {
        const QString sql = QStringLiteral(
            "DECLARE @AccountType INT\r\n"
            "IF EXISTS (SELECT 1 FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = 'AccountType')\r\n"
            "BEGIN\r\n"
            "    SELECT @AccountType = FValue FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = 'AccountType'\r\n"
            "    IF @AccountType BETWEEN 1 AND 4 EXEC pr_InitIntelTransfer @AccountType\r\n"
            "END");
        if (dataInfo.ExecuteSQL(connectString, sql, error)) return true;
    } catch (const std::exception &e) {
        error = ErrorDescription(e);
    }
    errorText = QStringLiteral("设置默认智能结账参数时发生异常：") + error;
    return false;
}
