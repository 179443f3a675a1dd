#include <gtest/gtest.h>

#include <QFile>

#include "kit/AccountsServer.h"
#include "accounts/clsCreateAcct.h"
#include "platform/AnsiCodec.h"
#include "platform/MessageScript.h"
#include "platform/PlatformSettings.h"

class AccountTypesTest : public ::testing::Test {
protected:
    QString listFile() const { return server.commonFolder() + QStringLiteral("SqlSrv/CreateDB.lst"); }
    void writeList(const QString &text) {
        QFile f(listFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(AnsiCodec::encode(text));
    }
    AccountsServer server;
    MessageScript messages;
};

TEST_F(AccountTypesTest, TheShippedListGivesNodeEightOnEveryCodePage) {
    struct Case {
        int codePage;
        int entries;
    };
    for (const Case &c : {Case{936, 12}, Case{1252, 10}}) {
        PlatformSettings::setAnsiCodePage(c.codePage);
        clsCreateAcct step;
        EXPECT_TRUE(step.readAccountTypes());
        EXPECT_EQ(step.accountTypes().Count(), c.entries) << c.codePage;
        EXPECT_EQ(step.lastAccountNode(), 8) << c.codePage;
    }
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(AccountTypesTest, ListsEndAtTheFirstEmptyItem) {
    struct Case {
        const char *text;
        int entries;
        int node;
        bool ok;
    };
    const Case cases[] = {
        {"[AcctType]\r\nItem1=A\r\nItem2=B\r\n[A]\r\nDescription= 工业 \r\nAccttype=3\r\n[B]\r\nDescription=商业\r\n"
         "Accttype=x\r\n",
         4, 1, true},
        {"[AcctType]\r\nItem2=B\r\n[B]\r\nDescription=商业\r\n", 0, 0, false},
    };
    for (const Case &c : cases) {
        writeList(QString::fromUtf8(c.text));
        clsCreateAcct step;
        EXPECT_EQ(step.readAccountTypes(), c.ok);
        EXPECT_EQ(step.accountTypes().Count(), c.entries);
        EXPECT_EQ(step.lastAccountNode(), c.node);
        if (c.entries == 4) {
            EXPECT_EQ(step.accountTypes().Item(1).toString(), QStringLiteral("工业"));
            EXPECT_EQ(step.accountTypes().Item(2).toInt(), 3);
            EXPECT_EQ(step.accountTypes().Item(4).toInt(), 0);  // not a number
        }
    }
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().prompt, QStringLiteral("【发生错误】无法读取可供使用的账套类型，请检查") + listFile() +
                                          QStringLiteral("是否存在！"));
    EXPECT_EQ(messages.last().buttons, 16);
    EXPECT_EQ(messages.last().title, QStringLiteral("岫禾软件"));
}
