// The localsql client: creating an instance, running a script split at GO
// lines, printing rows and errors, and its exit code.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct ToolRun {
    int code;
    QString out;
};

ToolRun localsql(const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral(PNW_BINARY_DIR "/bin/localsql"), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput())};
}

TEST(LocalSqlTool, CreatesAnInstanceAndRunsScripts) {
    QTemporaryDir dir;
    QString inst = dir.path() + QStringLiteral("/inst");
    ASSERT_EQ(localsql({"--create", "-S", inst, "-U", "sa", "-P", "pw"}).code, 0);
    EXPECT_NE(localsql({"--create", "-S", inst, "-U", "sa", "-P", "pw"}).code, 0);

    QString script = dir.path() + QStringLiteral("/s.sql");
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("create database Acct\r\n go \r\n");
    f.close();
    ASSERT_EQ(localsql({"-S", inst, "-U", "sa", "-P", "pw", "-i", script}).code, 0);

    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("create table t(a int, b nvarchar(5))\ninsert into t values (1, N'x')\nGO\n"
            "select a, b from t\n\tgo\nselect * from nowhere\ngo\n");
    f.close();
    ToolRun r = localsql({"-S", inst, "-d", "Acct", "-U", "sa", "-P", "pw", "-i", script});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("a\tb\n1\tx\n"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Msg 208: "))) << r.out.toStdString();

    ToolRun q = localsql({"-S", inst, "-d", "Acct", "-U", "sa", "-P", "pw", "-Q", "select count(*) as n from t"});
    EXPECT_EQ(q.code, 0);
    EXPECT_TRUE(q.out.contains(QStringLiteral("n\n1\n")));

    ToolRun bad = localsql({"-S", inst, "-d", "Nope", "-U", "sa", "-P", "pw", "-Q", "select 1"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.out.contains(QStringLiteral("Msg 4060: ")));
    ToolRun login = localsql({"-S", inst, "-U", "sa", "-P", "wrong", "-Q", "select 1"});
    EXPECT_TRUE(login.out.contains(QStringLiteral("Msg 18456: ")));
}

}  // namespace
