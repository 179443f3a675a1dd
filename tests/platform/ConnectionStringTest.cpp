// Connection-string parsing: plain and quoted values.
#include <gtest/gtest.h>

#include "platform/ado/ConnectionString.h"

TEST(ConnectionString, QuotedValuesKeepSemicolonsAndDoubledQuotes) {
    struct Row {
        const char *text;
        const char *password;
        const char *user;
    };
    const Row rows[] = {
        {"Provider=SQLOLEDB;User ID=sa;Password=plain;Data Source=.", "plain", "sa"},
        {"User ID=sa;Password=\"a;b\";Data Source=.", "a;b", "sa"},
        {"Password='it''s;x';User ID=u", "it's;x", "u"},
        {"Password=\"say \"\"hi\"\"\" ;User ID=u", "say \"hi\"", "u"},
        {"Password= \"q\" ; User ID = u2 ", "q", "u2"},
        {"Password=;User ID=u", "", "u"},
        {"junk;Password=p", "p", ""},
        {"Password=\"unterminated;User ID=u", "unterminated;User ID=u", ""},
    };
    for (const Row &r : rows) {
        ado::ConnectionString cs(QString::fromUtf8(r.text));
        EXPECT_EQ(cs.password().toStdString(), r.password) << r.text;
        EXPECT_EQ(cs.userId().toStdString(), r.user) << r.text;
    }
    ado::ConnectionString cs(QStringLiteral("Initial Catalog=A001;Data Source=.;Integrated Security=SSPI"));
    EXPECT_EQ(cs.initialCatalog(), QStringLiteral("A001"));
    EXPECT_EQ(cs.dataSource(), QStringLiteral("."));
    EXPECT_TRUE(cs.integratedSecurity());
}
