// tablesums: equal data gives equal lines whatever order the rows were
// written in; a changed, moved or repeated value changes its table's sum
// (and only that one); an ignored column is left out.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

const QString kBin = QStringLiteral(PNW_BINARY_DIR "/bin/");

struct ToolRun {
    int code = -1;
    QString out;
};

ToolRun runTool(const QString &program, const QStringList &arguments) {
    QProcess p;
    p.start(kBin + program, arguments);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput())};
}

// Two tables, one of each kind of value; a database per case, made from
// the same statements but for the rows.
const char *const kTables =
    "create table Kinds(id int, amount money, rate decimal(16,6), ratio float, name nvarchar(20), "
    "made datetime, flag bit)\n"
    "create table Other(a int, b int)\n"
    "insert into Other values (1, 2)\n"
    "insert into Other values (3, 4)\n";

struct Case {
    const char *name;
    const char *rows;  // the rows of Kinds
    bool sameAsBase;   // Kinds sums equal to the base's
};

const char *const kBaseRows =
    "insert into Kinds values (1, 1.10, 0.5, 0.1, N'现金', '2024-01-31', 1)\n"
    "insert into Kinds values (2, 0, NULL, NULL, N'', NULL, NULL)\n"
    "insert into Kinds values (3, -5.25, 2, 1e10, N'bank ', '2024-02-29 12:30:00', 0)\n";

const Case kCases[] = {
    {"rows in another order", "insert into Kinds values (3, -5.25, 2, 1e10, N'bank ', '2024-02-29 12:30:00', 0)\n"
                              "insert into Kinds values (2, 0, NULL, NULL, N'', NULL, NULL)\n"
                              "insert into Kinds values (1, 1.1, 0.500000, 0.1, N'现金', '2024-01-31', 1)\n",
     true},
    {"one amount changed", "insert into Kinds values (1, 1.11, 0.5, 0.1, N'现金', '2024-01-31', 1)\n"
                           "insert into Kinds values (2, 0, NULL, NULL, N'', NULL, NULL)\n"
                           "insert into Kinds values (3, -5.25, 2, 1e10, N'bank ', '2024-02-29 12:30:00', 0)\n",
     false},
    {"a text's trailing blank dropped", "insert into Kinds values (1, 1.10, 0.5, 0.1, N'现金', '2024-01-31', 1)\n"
                                        "insert into Kinds values (2, 0, NULL, NULL, N'', NULL, NULL)\n"
                                        "insert into Kinds values (3, -5.25, 2, 1e10, N'bank', '2024-02-29 "
                                        "12:30:00', 0)\n",
     false},
    {"NULL for an empty text", "insert into Kinds values (1, 1.10, 0.5, 0.1, N'现金', '2024-01-31', 1)\n"
                               "insert into Kinds values (2, 0, NULL, NULL, NULL, NULL, NULL)\n"
                               "insert into Kinds values (3, -5.25, 2, 1e10, N'bank ', '2024-02-29 12:30:00', 0)\n",
     false},
    {"values moved between rows", "insert into Kinds values (1, 1.10, 0.5, 0.1, N'现金', '2024-02-29 12:30:00', 1)\n"
                                  "insert into Kinds values (2, 0, NULL, NULL, N'', NULL, NULL)\n"
                                  "insert into Kinds values (3, -5.25, 2, 1e10, N'bank ', '2024-01-31', 0)\n",
     false},
    {"a row twice, another missing", "insert into Kinds values (1, 1.10, 0.5, 0.1, N'现金', '2024-01-31', 1)\n"
                                     "insert into Kinds values (1, 1.10, 0.5, 0.1, N'现金', '2024-01-31', 1)\n"
                                     "insert into Kinds values (3, -5.25, 2, 1e10, N'bank ', '2024-02-29 12:30:00', "
                                     "0)\n",
     false},
};

class TableSumsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(runTool(QStringLiteral("localsql"), {"--create", "-S", instance(), "-U", "sa", "-P", "pw"}).code, 0);
    }
    QString instance() const { return m_dir.filePath(QStringLiteral("inst")); }
    void makeDatabase(const QString &name, const QString &rows) {
        ToolRun r = runTool(QStringLiteral("localsql"),
                            {"-S", instance(), "-U", "sa", "-P", "pw", "-Q", "create database " + name});
        ASSERT_EQ(r.code, 0) << r.out.toStdString();
        r = runTool(QStringLiteral("localsql"), {"-S", instance(), "-d", name, "-U", "sa", "-P", "pw", "-Q",
                                                 QString::fromUtf8(kTables) + rows});
        ASSERT_EQ(r.code, 0) << r.out.toStdString();
    }
    // The lines of one table (its own line, and its columns' with --columns).
    QStringList sums(const QString &database, QStringList more = {}) {
        ToolRun r = runTool(QStringLiteral("tablesums"), QStringList{"-S", instance(), "-d", database} + more);
        EXPECT_EQ(r.code, 0) << r.out.toStdString();
        return r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QTemporaryDir m_dir;
};

TEST_F(TableSumsTest, EqualDataSumsEqualAndEveryChangeShows) {
    makeDatabase(QStringLiteral("Base"), QString::fromUtf8(kBaseRows));
    const QStringList base = sums(QStringLiteral("Base"));
    ASSERT_EQ(base.size(), 2) << base.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(base.at(0).startsWith(QStringLiteral("Kinds\t3\t"))) << base.at(0).toStdString();
    EXPECT_TRUE(base.at(1).startsWith(QStringLiteral("Other\t2\t"))) << base.at(1).toStdString();
    int n = 0;
    for (const Case &c : kCases) {
        const QString name = QStringLiteral("Case%1").arg(++n);
        makeDatabase(name, QString::fromUtf8(c.rows));
        const QStringList got = sums(name);
        ASSERT_EQ(got.size(), 2) << c.name;
        EXPECT_EQ(got.at(0) == base.at(0), c.sameAsBase) << c.name << ": " << got.at(0).toStdString();
        EXPECT_EQ(got.at(1), base.at(1)) << c.name;
    }
}

TEST_F(TableSumsTest, AnIgnoredColumnIsLeftOutAndColumnsShowWhereTablesDiffer) {
    makeDatabase(QStringLiteral("Base"), QString::fromUtf8(kBaseRows));
    makeDatabase(QStringLiteral("Changed"), QString::fromUtf8(kCases[1].rows));
    const QStringList base = sums(QStringLiteral("Base"), {"--columns"});
    const QStringList changed = sums(QStringLiteral("Changed"), {"--columns"});
    ASSERT_EQ(base.size(), changed.size());
    QStringList differing;
    for (qsizetype i = 0; i < base.size(); ++i)
        if (base.at(i) != changed.at(i)) differing << changed.at(i).section(QLatin1Char('\t'), 0, 1);
    EXPECT_EQ(differing, QStringList({QStringLiteral("Kinds\t3"), QStringLiteral("\tamount")}));

    const QStringList ignoring = {"--ignore", "kinds.AMOUNT"};
    const QStringList left = sums(QStringLiteral("Base"), ignoring);
    EXPECT_EQ(left, sums(QStringLiteral("Changed"), ignoring));
    EXPECT_TRUE(left.contains(QStringLiteral("#\tignored\tKinds.amount"))) << left.join(QLatin1Char('\n')).toStdString();
    EXPECT_NE(left.at(0), base.at(0));
}

TEST_F(TableSumsTest, AMissingDatabaseIsTheServersError) {
    ToolRun r = runTool(QStringLiteral("tablesums"), {"-S", instance(), "-d", "Nowhere"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Msg 4060: "))) << r.out.toStdString();
}

}  // namespace
