// The detail tables that the base-data check and upgrade hand to the log,
// read back from the log's own tables, on the standard sample with a group
// named like a user and an account name holding a quote.
#include "kit/UpgradeStepFixture.h"
#include "upgrade/base/clsBaseSys.h"

namespace {

class BaseSysDetailTest : public UpgradeStepFixture {
protected:
    // The rows (caption row first) of the latest detail table of project.
    QStringList detail(const QString &project) const {
        const QStringList links = server.rows(QStringLiteral("AcctCtl"),
                                              QStringLiteral("select FLink from AIS_UpgradeLog_Main where FProject = "
                                                             "N'%1' and FLink <> '' order by FID desc")
                                                  .arg(project));
        if (links.isEmpty()) return {QStringLiteral("<no table>")};
        QStringList rows;
        for (const QString &row :
             server.rows(QStringLiteral("AcctCtl"), QStringLiteral("select * from [%1] order by FID").arg(links[0])))
            rows << row.section(QLatin1Char('\t'), 1);
        return rows;
    }
};

TEST_F(BaseSysDetailTest, FindingsAndConversionsListTheirRows) {
    createFrom(QStringLiteral("standard"));
    ASSERT_EQ(targetRun("UPDATE AIS_GLUserGroup SET FUserGroupName = N'陈静' WHERE FUserGroupID = 2; "
                        "UPDATE AIS_GLAcct SET FAcctName = N'库存''现金' WHERE FAcctID = '1001'"),
              QString());
    clsBaseSys checker;
    EXPECT_EQ(check(checker), 1);
    EXPECT_EQ(detail(QStringLiteral("用户组及用户设置")),
              (QStringList{QStringLiteral("用户组名称"), QStringLiteral("陈静")}));
    EXPECT_EQ(detail(QStringLiteral("会计科目设置")),
              (QStringList{QStringLiteral("科目代码\t科目名称（升级前）\t科目名称（升级后）"),
                           QStringLiteral("1001\t库存'现金\t库存现金")}));

    clsBaseSys step;
    EXPECT_EQ(upgrade(step), 0);
    EXPECT_EQ(targetValue("SELECT FName FROM T_User WHERE FUserID = 11"), QStringLiteral("陈静_组别"));
    EXPECT_EQ(detail(QStringLiteral("币种")),
              (QStringList{QStringLiteral("货币代码\t货币名称"), QStringLiteral("HKD\t港币"),
                           QStringLiteral("RMB\t人民币"), QStringLiteral("USD\t美元")}));
    EXPECT_EQ(detail(QStringLiteral("凭证字")),
              (QStringList{QStringLiteral("凭证字\t升级类型"), QStringLiteral("记\t合并"), QStringLiteral("收\t新增"),
                           QStringLiteral("付\t新增"), QStringLiteral("转\t新增")}));
    const QStringList explanations = detail(QStringLiteral("会计常用摘要"));
    ASSERT_EQ(explanations.size(), 13);
    EXPECT_EQ(explanations[0], QStringLiteral("摘要类别\t摘要名称\t升级类型"));
    EXPECT_EQ(explanations[1], QStringLiteral("常用摘要\t提取备用金\t新增"));
    EXPECT_EQ(explanations[12], QStringLiteral("期末处理\t期末调汇\t新增"));
    QStringList settlements{QStringLiteral("代码")};
    settlements << target("SELECT FSettCode FROM AIS_GLSettle ORDER BY FSettCode");
    EXPECT_EQ(detail(QStringLiteral("结算方式")), settlements);
}

}  // namespace
