// OpenDataSource over Jet files: the copy of a whole sample account set with
// the server's type mapping and exact values, the forms of the connection
// text, and the errors of a source that cannot be read.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "kit/TestServer.h"
#include "jet/JetTestUtil.h"
#include "jet/WornFileFixture.h"
#include "jet/CellValue.h"
#include "jet/JetWriter.h"
#include "jet/TableText.h"
#include "jet/Workgroup.h"
#include "server/Convert.h"

namespace {

namespace fs = std::filesystem;
using server::Value;

const char *kJet = "Microsoft.Jet.OLEDB.4.0";

// The batch the account creation sends to switch the ad hoc queries on.
void enableAdHocQueries(TestServer &server, int value = 1) {
    server::Session admin(server.instance, "sa", "pw", "master");
    auto r = admin.execute("exec sp_configure 'show advanced options',1 \r\nreconfigure\r\n"
                           "exec sp_configure 'Ad Hoc Distributed Queries'," +
                           std::to_string(value) + "\r\nreconfigure\r\n");
    if (!r.ok()) throw r.errors.front();
}
const char *kAce = "Microsoft.ACE.OLEDB.12.0";

// The connection text the account creation sends (folder with its separator).
std::string connectionText(const std::string &provider, const std::string &file, const std::string &workgroup,
                           const std::string &password = jet::Workgroup::kPassword) {
    return "Provider=" + provider + ";Password=" + password + ";User ID=morningstar;Data Source=" + file +
           ";Persist Security Info=True;Jet OLEDB:System database=" + workgroup;
}

std::string odsFrom(const std::string &provider, const std::string &text, const std::string &table) {
    return "OpenDataSource( '" + provider + "','" + text + "')...[" + table + "]";
}

// The value the server holds for a cell of a Jet column.
Value expectedValue(const jet::ColumnSpec &col, const jet::Cell &cell) {
    jet::Value v = jet::valueFromCell(col, cell);
    switch (v.kind) {
    case jet::ValueKind::Null: return Value::null();
    case jet::ValueKind::Boolean:
    case jet::ValueKind::Integer: return Value::fromInt(v.integer);
    case jet::ValueKind::Currency: return Value::fromReal(double(v.integer) / 10000.0);
    case jet::ValueKind::Single:
    case jet::ValueKind::Double: return Value::fromReal(v.real);
    case jet::ValueKind::DateTime: {
        std::string text = *cell;
        if (text.size() == 10) text += " 00:00:00";
        return Value::fromText(text + ".000");
    }
    case jet::ValueKind::Text: return Value::fromText(v.bytes);
    case jet::ValueKind::Binary: return Value::fromBlob(v.bytes);
    }
    return Value::null();
}

int expectedXtype(const jet::ColumnSpec &c) {
    switch (c.type) {
    case jet::ColumnType::Boolean: return 104;
    case jet::ColumnType::Byte: return 48;
    case jet::ColumnType::Integer: return 52;
    case jet::ColumnType::Long:
    case jet::ColumnType::AutoNumber: return 56;
    case jet::ColumnType::Currency: return 60;
    case jet::ColumnType::Single: return 59;
    case jet::ColumnType::Double: return 62;
    case jet::ColumnType::DateTime: return 61;
    case jet::ColumnType::Text: return 231;
    case jet::ColumnType::Memo: return 99;
    case jet::ColumnType::OLE: return 34;
    }
    return 0;
}

class OpenDataSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        enableAdHocQueries(server);
        session = server.connect();
        file = dir.filePath("src.ais").toStdString();
        workgroup = dir.filePath("system.mda").toStdString();
        jet::JetWriter::writeFile(file, {typesTable()});
        jet::Workgroup::writeFile(workgroup);
    }

    static jet::TableText typesTable() {
        using jet::ColumnType;
        jet::TableText t;
        t.name = "AllTypes";
        t.columns = {{"FID", ColumnType::AutoNumber, 0, true},
                     {"FFlag", ColumnType::Boolean},
                     {"FByte", ColumnType::Byte},
                     {"FInt", ColumnType::Integer},
                     {"FLong", ColumnType::Long, 0, true},
                     {"FAmount", ColumnType::Currency},
                     {"FSingle", ColumnType::Single},
                     {"FDouble", ColumnType::Double},
                     {"FDate", ColumnType::DateTime},
                     {"FName", ColumnType::Text, 20},
                     {"FNote", ColumnType::Memo},
                     {"FPic", ColumnType::OLE}};
        t.rows = {
            {"1", "1", "255", "-32768", "2147483647", "99999999999.9999", "1.5", "0.1", "2013-01-31 23:59:59",
             "账套 one", "备注", "00ff10"},
            {"2", "0", "0", "7", "-5", "-0.0001", "-2.25", "-12345.678", "1899-12-29 06:00:00", "", "", std::nullopt},
            {"3", "0", std::nullopt, std::nullopt, "0", "1234.56", std::nullopt, std::nullopt, "1753-01-01",
             std::nullopt, std::nullopt, std::nullopt}};
        return t;
    }

    server::BatchResult run(const std::string &sql) { return session->execute(sql); }

    void expectError(const std::string &sql, int number, const std::string &fragment = {}) {
        auto r = run(sql);
        ASSERT_FALSE(r.ok()) << sql;
        EXPECT_EQ(r.errors.front().number(), number) << r.errors.front().text();
        if (!fragment.empty()) {
            EXPECT_NE(r.errors.front().text().find(fragment), std::string::npos) << r.errors.front().text();
        }
    }

    TestServer server;
    std::unique_ptr<server::Session> session;
    QTemporaryDir dir;
    std::string file, workgroup;
};

TEST_F(OpenDataSourceTest, SelectIntoMapsEveryJetType) {
    auto r =
        run("SELECT * INTO [AIS_AllTypes]\r\nFROM " + odsFrom(kJet, connectionText(kJet, file, workgroup), "AllTypes"));
    ASSERT_TRUE(r.ok()) << r.errors.front().text();
    EXPECT_EQ(r.rowsAffected, 3);
    auto cols = run("SELECT name, xtype, length, isnullable FROM syscolumns WHERE id = OBJECT_ID('AIS_AllTypes') "
                    "ORDER BY colid");
    ASSERT_TRUE(cols.ok());
    struct Want {
        const char *name;
        int xtype, length, nullable;
    };
    const Want want[] = {{"FID", 56, 4, 0},   {"FFlag", 104, 1, 0},  {"FByte", 48, 1, 1},   {"FInt", 52, 2, 1},
                         {"FLong", 56, 4, 0}, {"FAmount", 60, 8, 1}, {"FSingle", 59, 4, 1}, {"FDouble", 62, 8, 1},
                         {"FDate", 61, 8, 1}, {"FName", 231, 40, 1}, {"FNote", 99, 16, 1},  {"FPic", 34, 16, 1}};
    const auto &rows = cols.resultSets.at(0).rows;
    ASSERT_EQ(rows.size(), std::size(want));
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0].s, want[i].name);
        EXPECT_EQ(rows[i][1].i, want[i].xtype) << want[i].name;
        EXPECT_EQ(rows[i][2].i, want[i].length) << want[i].name;
        EXPECT_EQ(rows[i][3].i, want[i].nullable) << want[i].name;
    }
    // The AutoNumber column arrives without its identity.
    auto ident = run("INSERT INTO AIS_AllTypes(FID, FFlag, FLong) VALUES(9, 1, 1)");
    EXPECT_TRUE(ident.ok());
}

TEST_F(OpenDataSourceTest, SelectIntoKeepsExactValues) {
    ASSERT_TRUE(run("SELECT * INTO T FROM " + odsFrom(kJet, connectionText(kJet, file, workgroup), "AllTypes")).ok());
    auto r = run("SELECT FFlag, FAmount, FDate, FName, FNote, FPic, FSingle, FDouble FROM T ORDER BY FID");
    ASSERT_TRUE(r.ok());
    const auto &rows = r.resultSets.at(0).rows;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][0].i, 1);  // True is 1, not Jet's -1
    EXPECT_EQ(rows[1][0].i, 0);
    EXPECT_EQ(server::formatScaled(rows[0][1].d, 4), "99999999999.9999");
    EXPECT_EQ(server::formatScaled(rows[1][1].d, 4), "-0.0001");
    EXPECT_EQ(server::formatScaled(rows[2][1].d, 4), "1234.5600");
    EXPECT_EQ(rows[0][2].s, "2013-01-31 23:59:59.000");
    EXPECT_EQ(rows[1][2].s, "1899-12-29 06:00:00.000");
    EXPECT_EQ(rows[2][2].s, "1753-01-01 00:00:00.000");
    EXPECT_EQ(rows[0][3].s, "账套 one");
    EXPECT_EQ(rows[1][3].s, "");
    EXPECT_TRUE(rows[2][3].isNull());
    EXPECT_EQ(rows[0][4].s, "备注");
    EXPECT_EQ(rows[0][5].s, std::string("\x00\xff\x10", 3));
    EXPECT_DOUBLE_EQ(rows[0][6].d, 1.5);
    EXPECT_DOUBLE_EQ(rows[1][7].d, -12345.678);
    // Amounts sum exactly and flags compare as the steps test them.
    auto sum = run("SELECT COUNT(*) FROM T WHERE FFlag = 1");
    EXPECT_EQ(sum.resultSets.at(0).rows[0][0].i, 1);
}

TEST_F(OpenDataSourceTest, ConnectionTextForms) {
    // Blanks around keys and values, line breaks, backslashes, table name in other case.
    std::string winFile = file;
    std::replace(winFile.begin(), winFile.end(), '/', '\\');
    std::string text = "Provider= " + std::string(kJet) + ";Password=" + jet::Workgroup::kPassword +
                       " ;User ID=morningstar;Data Source=" + winFile + ";Persist Security Info=True;\r\n" +
                       "Jet OLEDB:System database= " + workgroup + " ";
    auto r = run("SELECT * FROM OpenDataSource( '" + std::string(kJet) + "',\r\n'" + text + "')...alltypes");
    ASSERT_TRUE(r.ok()) << r.errors.front().text();
    EXPECT_EQ(r.resultSets.at(0).rows.size(), 3u);
    EXPECT_EQ(r.resultSets.at(0).columns.at(5).name, "FAmount");
    auto probe = run("SELECT 1 FROM " + odsFrom(kJet, connectionText(kJet, file, workgroup), "ALLTYPES"));
    ASSERT_TRUE(probe.ok());
    EXPECT_EQ(probe.resultSets.at(0).rows.size(), 3u);
    // Without a named workgroup, the one beside the file is used.
    auto beside = run("SELECT FID FROM OpenDataSource('" + std::string(kJet) + "','Data Source=" + file +
                      ";User ID=morningstar;Password=" + jet::Workgroup::kPassword + "')...AllTypes WHERE FLong = 0");
    ASSERT_TRUE(beside.ok()) << beside.errors.front().text();
    EXPECT_EQ(beside.resultSets.at(0).rows.at(0)[0].i, 3);
}

TEST_F(OpenDataSourceTest, SourcesThatCannotBeOpenedGive7303) {
    std::string notJet = dir.filePath("notjet.ais").toStdString();
    std::ofstream(notJet) << "this is not a Jet file\n";
    std::string cut = dir.filePath("cut.ais").toStdString();
    fs::copy_file(file, cut);
    fs::resize_file(cut, 4096 + 100);
    std::string otherGroup = dir.filePath("other.mda").toStdString();
    jet::Workgroup::writeFile(otherGroup, {{"someone", "secret"}});
    struct Case {
        const char *what;
        std::string text;
    };
    const Case cases[] = {
        {"missing file", connectionText(kJet, dir.filePath("none.ais").toStdString(), workgroup)},
        {"not a Jet file", connectionText(kJet, notJet, workgroup)},
        {"damaged file", connectionText(kJet, cut, workgroup)},
        {"wrong password", connectionText(kJet, file, workgroup, "tqlarnvezmbhkx")},
        {"password case", connectionText(kJet, file, workgroup, "TQLARNVEZMBHKO")},
        {"workgroup missing", connectionText(kJet, file, dir.filePath("none.mda").toStdString())},
        {"workgroup without the user", connectionText(kJet, file, otherGroup)},
        {"workgroup is not one", connectionText(kJet, file, notJet)},
        {"no data source", "Provider=Microsoft.Jet.OLEDB.4.0;User ID=morningstar"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        expectError("SELECT * FROM " + odsFrom(kJet, c.text, "AllTypes"), 7303, kJet);
    }
    // The copy fails as a statement: nothing is created and the batch goes on.
    auto r = run("SELECT * INTO X FROM " + odsFrom(kJet, cases[0].text, "AllTypes") + " SELECT 5");
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.resultSets.size(), 1u);
    EXPECT_TRUE(run("SELECT * FROM X").errors.at(0).number() == 208);
}

// The staging copy as the account creation sends it, twice: the second
// replaces the first and the added column appears once.
TEST_F(OpenDataSourceTest, StagingCopyTwice) {
    const std::string t = "AllTypes";
    const std::string drop = "if exists (select * from dbo.sysobjects where id = object_id(N'AIS_" + t +
                             "') and OBJECTPROPERTY(id, N'IsUserTable') = 1)\r\ndrop table [AIS_" + t + "]";
    const std::string copy = "SELECT * INTO [AIS_" + t + "]\r\nFROM OpenDataSource( '" + kJet +
                             "',\r\n'Provider= " + kJet + ";Password=" + jet::Workgroup::kPassword +
                             " ;User ID=morningstar;Data Source=" + file +
                             ";Persist Security Info=True;Jet OLEDB:System database=" + workgroup + "')...[" + t + "]";
    const std::string add = "IF NOT EXISTS(SELECT 1 FROM sysobjects t1 INNER JOIN syscolumns t2 ON t1.id = t2.id "
                            "WHERE (t1.name = 'AIS_" +
                            t + "') AND (t2.name = 'FZ8InterID'))ALTER TABLE [AIS_" + t +
                            "] ADD FZ8InterID INT default(0)";
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        for (const auto &sql : {drop, copy, add}) {
            auto r = run(sql);
            ASSERT_TRUE(r.ok()) << sql << "\n" << r.errors.front().text();
        }
    }
    auto cols = run("SELECT COUNT(*) FROM syscolumns WHERE id = OBJECT_ID('AIS_AllTypes') AND name = 'FZ8InterID'");
    EXPECT_EQ(cols.resultSets.at(0).rows[0][0].i, 1);
    auto rows = run("SELECT COUNT(*), COUNT(FZ8InterID) FROM AIS_AllTypes");
    EXPECT_EQ(rows.resultSets.at(0).rows[0][0].i, 3);
    EXPECT_EQ(rows.resultSets.at(0).rows[0][1].i, 0);
}

// Each reading sees the file as it is then: rewritten in place (also to the
// same size with its old modification time put back) or replaced by another.
TEST_F(OpenDataSourceTest, AFileRewrittenOrReplacedBetweenReadsIsReadAnew) {
    const std::string count =
        "SELECT COUNT(*), MAX(FLong) FROM " + odsFrom(kJet, connectionText(kJet, file, workgroup), "AllTypes");
    auto read = [&] {
        auto r = run(count);
        EXPECT_TRUE(r.ok()) << r.errors.front().text();
        return r.ok() ? std::to_string(r.resultSets.at(0).rows[0][0].i) + "/" +
                            std::to_string(r.resultSets.at(0).rows[0][1].i)
                      : std::string("error");
    };
    EXPECT_EQ(read(), "3/2147483647");
    jet::TableText fewer = typesTable();
    fewer.rows.resize(1);
    fewer.rows[0][4] = "41";
    jet::JetWriter::writeFile(file, {fewer});
    EXPECT_EQ(read(), "1/41");

    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    // Another layout: two columns in other places, another row.
    jet::TableText narrow;
    narrow.name = "AllTypes";
    narrow.columns = {{"FLong", jet::ColumnType::Long, 0, true}, {"FName", jet::ColumnType::Text, 20}};
    narrow.rows = {{"42", "x"}, {"7", "y"}};
    const std::string other = dir.filePath("other.ais").toStdString();
    jet::JetWriter::writeFile(other, {narrow});
    ASSERT_EQ(fs::file_size(other), size_t(before.st_size));
    {
        std::ifstream from(other, std::ios::binary);
        std::fstream to(file, std::ios::binary | std::ios::in | std::ios::out);
        to << from.rdbuf();
    }
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    ASSERT_EQ(after.st_ino, before.st_ino);
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    EXPECT_EQ(read(), "2/42");

    fewer.rows.push_back(typesTable().rows[1]);
    jet::JetWriter::writeFile(other, {fewer});
    fs::rename(other, file);
    EXPECT_EQ(read(), "2/41");
}

TEST_F(OpenDataSourceTest, MissingTableIs7314) {
    expectError("SELECT * FROM " + odsFrom(kJet, connectionText(kJet, file, workgroup), "GLpref"), 7314, "GLpref");
}

TEST_F(OpenDataSourceTest, AdHocQueriesSwitchedOff) {
    enableAdHocQueries(server, 0);
    expectError("SELECT 1 FROM " + odsFrom(kJet, connectionText(kJet, file, workgroup), "AllTypes"), 15281,
                "Ad Hoc Distributed Queries");
}

TEST_F(OpenDataSourceTest, ProvidersAreAnInstanceSetting) {
    server.instance->setSetting("providers", kAce);
    std::string jetText = connectionText(kJet, file, workgroup);
    expectError("SELECT 1 FROM " + odsFrom(kJet, jetText, "AllTypes"), 7403, kJet);
    // The probe's fallback: the same text with the other provider named twice.
    std::string aceText = connectionText(kAce, file, workgroup);
    auto r = run("SELECT 1 FROM " + odsFrom(kAce, aceText, "AllTypes"));
    ASSERT_TRUE(r.ok()) << r.errors.front().text();
    // An ACE failure names the ACE provider, which the account creation looks for.
    expectError("SELECT 1 FROM " + odsFrom(kAce, connectionText(kAce, file, workgroup, "x"), "AllTypes"), 7303, kAce);
}

TEST_F(OpenDataSourceTest, ReadsInsideAnOpenTransactionAndJoins) {
    session->beginTransaction();
    std::string ods = odsFrom(kJet, connectionText(kJet, file, workgroup), "AllTypes");
    ASSERT_TRUE(run("SELECT * INTO A FROM " + ods).ok());
    auto r = run("SELECT COUNT(*) FROM A JOIN " + ods + " s ON s.FID = A.FID WHERE s.FFlag = 0");
    ASSERT_TRUE(r.ok()) << r.errors.front().text();
    EXPECT_EQ(r.resultSets.at(0).rows[0][0].i, 2);
    session->rollback();
    EXPECT_FALSE(run("SELECT * FROM A").ok());
}

// A file as an engine leaves it in use (moved and deleted rows, a dropped
// table, many indexes, every column kind): each table reads with the rows and
// values mdbtools reads, and a damaged table stops only itself.
TEST_F(OpenDataSourceTest, ReadsFilesLeftByAnEngineInUse) {
    const std::string worn = dir.filePath("worn.ais").toStdString();
    jettest::writeWornFile(worn);
    const std::string text = connectionText(kJet, worn, workgroup);
    for (const auto &t : jettest::wornTables()) {
        SCOPED_TRACE(t.text.name);
        auto r = run("SELECT COUNT(*) FROM " + odsFrom(kJet, text, t.text.name));
        ASSERT_TRUE(r.ok()) << r.errors.front().text();
        const auto count = jettest::run("mdb-count " + jettest::quote(worn) + " " + t.text.name).out;
        EXPECT_EQ(std::to_string(r.resultSets.at(0).rows.at(0)[0].i) + "\n", count);
    }

    auto r = run("SELECT FID, FText, FMemo, FAmount FROM " + odsFrom(kJet, text, "GLVch") + " ORDER BY FID");
    ASSERT_TRUE(r.ok()) << r.errors.front().text();
    auto exported = jettest::exportTable(worn, "GLVch");
    ASSERT_FALSE(exported.empty());
    exported.erase(exported.begin());
    // libmdb also reads the new place of row 8, moved and then deleted.
    exported.erase(std::remove_if(exported.begin(), exported.end(),
                                  [](const auto &row) { return row[0] == jettest::CsvField("8"); }),
                   exported.end());
    std::sort(exported.begin(), exported.end(),
              [](const auto &a, const auto &b) { return std::stoi(*a[0]) < std::stoi(*b[0]); });
    const auto &rows = r.resultSets.at(0).rows;
    ASSERT_EQ(rows.size(), exported.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        EXPECT_EQ(std::to_string(rows[i][0].i), *exported[i][0]);
        EXPECT_EQ(rows[i][1].s, *exported[i][1]);
        EXPECT_EQ(rows[i][2].isNull() ? jettest::CsvField() : jettest::CsvField(rows[i][2].s), exported[i][2]);
        EXPECT_EQ(server::formatScaled(rows[i][3].d, 4), *exported[i][3]);
    }

    // The kinds without a counterpart arrive as image, their bytes whole;
    // GUID and Decimal as the server's own types.
    ASSERT_TRUE(run("SELECT * INTO K FROM " + odsFrom(kJet, text, "AllKinds")).ok());
    auto cols = run("SELECT name, xtype FROM syscolumns WHERE id = OBJECT_ID('K') AND colid > 8 ORDER BY colid");
    ASSERT_TRUE(cols.ok());
    for (const auto &c : cols.resultSets.at(0).rows)
        EXPECT_EQ(c[1].i, c[0].s == "FGuid" ? 36 : c[0].s == "FDecimal" ? 106 : 34) << c[0].s;
    auto f11 = run("SELECT F11, FComplex FROM K WHERE FID = 1");
    ASSERT_TRUE(f11.ok());
    EXPECT_EQ(f11.resultSets.at(0).rows.at(0)[0].s, std::string(24, '\xEE'));
    EXPECT_EQ(f11.resultSets.at(0).rows.at(0)[1].s, std::string("\x2A\0\0\0", 4));
    auto data = run("SELECT Data FROM " + odsFrom(kJet, text, "MSysAccessObjects") + " WHERE ID = 1");
    ASSERT_TRUE(data.ok()) << data.errors.front().text();
    EXPECT_EQ(data.resultSets.at(0).rows.at(0)[0].s, std::string(3992, '\x55'));

    std::string bytes;
    {
        std::ifstream in(worn, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::string broken = dir.filePath("broken.ais").toStdString();
    std::ofstream(broken, std::ios::binary) << jettest::withUnknownColumnType(bytes, "FComplex");
    const std::string brokenText = connectionText(kJet, broken, workgroup);
    auto other = run("SELECT COUNT(*) FROM " + odsFrom(kJet, brokenText, "GLVch"));
    ASSERT_TRUE(other.ok()) << other.errors.front().text();
    EXPECT_EQ(other.resultSets.at(0).rows.at(0)[0].i, 37);
    expectError("SELECT * FROM " + odsFrom(kJet, brokenText, "AllKinds"), 7303, kJet);
}

// Jet 4's Decimal arrives as decimal with its column's precision and scale
// and GUID as uniqueidentifier, each with the value mdbtools reads: they
// take part in arithmetic and conversions as the server's own types do.
TEST_F(OpenDataSourceTest, DecimalAndGuidArriveAsTheServersTypes) {
    // 17 bytes: sign, then four little-endian words, the most significant first.
    auto decimal = [](bool negative, uint64_t high, uint64_t low) {
        const uint32_t words[4] = {uint32_t(high >> 32), uint32_t(high), uint32_t(low >> 32), uint32_t(low)};
        std::string bytes(1, negative ? '\x80' : '\0');
        for (uint32_t w : words)
            for (int b = 0; b < 4; ++b) bytes += char((w >> (8 * b)) & 0xFF);
        return jettest::hexOf(bytes);
    };
    jet::TableText t;
    t.name = "Exact";
    t.columns = {{"FID", jet::ColumnType::Long, 0, true},
                 {"FAmount", jet::ColumnType::OLE, 17, false, jet::format::kNumeric, 18, 4},
                 {"FKey", jet::ColumnType::OLE, 16, false, jet::format::kGuid}};
    t.rows = {{"1", decimal(false, 0, 123456789012ULL), "00112233445566778899AABBCCDDEEFF"},
              {"2", decimal(true, 0, 5), "FFEEDDCCBBAA99887766554433221100"},
              {"3", decimal(false, 0, 0), std::nullopt},
              {"4", std::nullopt, "0123456789ABCDEF0123456789ABCDEF"},
              {"5", decimal(false, 0, 123456789012345ULL), "00000000000000000000000000000000"}};
    const std::string exact = dir.filePath("exact.ais").toStdString();
    jet::JetWriter::writeFile(exact, {t});
    const std::string text = connectionText(kJet, exact, workgroup);

    ASSERT_TRUE(run("SELECT * INTO E FROM " + odsFrom(kJet, text, "Exact")).ok());
    auto cols = run("SELECT name, xtype, prec, scale FROM syscolumns WHERE id = OBJECT_ID('E') ORDER BY colid");
    ASSERT_TRUE(cols.ok()) << cols.errors.front().text();
    const auto &c = cols.resultSets.at(0).rows;
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[1][1].i, 106);
    EXPECT_EQ(c[1][2].i, 18);
    EXPECT_EQ(c[1][3].i, 4);
    EXPECT_EQ(c[2][1].i, 36);

    auto r = run("SELECT FID, CAST(FAmount AS varchar(30)), FAmount + 1, CAST(FAmount AS decimal(20,2)), "
                 "CAST(FKey AS varchar(36)) FROM " +
                 odsFrom(kJet, text, "Exact") + " ORDER BY FID");
    ASSERT_TRUE(r.ok()) << r.errors.front().text();
    auto exported = jettest::exportTable(exact, "Exact");
    ASSERT_EQ(exported.size(), t.rows.size() + 1);
    const auto &rows = r.resultSets.at(0).rows;
    ASSERT_EQ(rows.size(), t.rows.size());
    const char *amounts[] = {"12345678.9012", "-0.0005", "0.0000", nullptr, "12345678901.2345"};
    const char *keys[] = {"33221100-5544-7766-8899-AABBCCDDEEFF", "CCDDEEFF-AABB-8899-7766-554433221100", nullptr,
                          "67452301-AB89-EFCD-0123-456789ABCDEF", "00000000-0000-0000-0000-000000000000"};
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        if (amounts[i]) {
            EXPECT_EQ(rows[i][1].s, amounts[i]);
            // mdbtools reads the same number from the same bytes.
            ASSERT_TRUE(exported[i + 1][1].has_value());
            EXPECT_DOUBLE_EQ(std::stod(*exported[i + 1][1]), std::stod(amounts[i]));
            EXPECT_NEAR(rows[i][2].d, std::stod(amounts[i]) + 1, 1e-6);
            EXPECT_FALSE(rows[i][3].isNull());
        } else {
            EXPECT_TRUE(rows[i][1].isNull());
        }
        if (keys[i]) {
            EXPECT_EQ(rows[i][4].s, keys[i]);
            ASSERT_TRUE(exported[i + 1][2].has_value());
            // mdb-export shows the GUID's braced text, as hex under -b hex.
            std::string shown;
            for (size_t k = 0; k + 1 < exported[i + 1][2]->size(); k += 2)
                shown += char(std::stoi(exported[i + 1][2]->substr(k, 2), nullptr, 16));
            // Its grouping differs from the server's: compare the digits.
            auto digits = [](std::string s) {
                s.erase(std::remove_if(s.begin(), s.end(), [](char ch) { return !std::isxdigit(ch); }), s.end());
                std::transform(s.begin(), s.end(), s.begin(), [](char ch) { return char(std::toupper(ch)); });
                return s;
            };
            EXPECT_EQ(digits(shown), digits(keys[i]));
        } else {
            EXPECT_TRUE(rows[i][4].isNull());
        }
    }
    // A GUID compares with its text and refuses arithmetic and numbers.
    auto found = run("SELECT FID FROM E WHERE FKey = '33221100-5544-7766-8899-aabbccddeeff'");
    ASSERT_TRUE(found.ok()) << found.errors.front().text();
    ASSERT_EQ(found.resultSets.at(0).rows.size(), 1u);
    EXPECT_EQ(found.resultSets.at(0).rows[0][0].i, 1);
    expectError("SELECT FKey + 1 FROM E", 8117, "uniqueidentifier");
    expectError("SELECT CAST(FKey AS int) FROM E", 529, "uniqueidentifier");
    expectError("SELECT CAST('not a guid' AS uniqueidentifier)", 8169);
}

// Each sample account set, copied table by table as the account creation
// stages it, against its table text.
class OpenDataSourceSampleTest : public ::testing::TestWithParam<const char *> {};

TEST_P(OpenDataSourceSampleTest, CopiesTheSampleExactly) {
    TestServer server;
    enableAdHocQueries(server);
    QTemporaryDir dir;
    const std::string source = std::string(PNW_SOURCE_DIR) + "/samples/" + GetParam();
    const auto tables = jet::readTableTextFolder(source);
    ASSERT_FALSE(tables.empty());
    const std::string ais = dir.filePath("source.ais").toStdString();
    const std::string mda = dir.filePath("system.mda").toStdString();
    jet::JetWriter::writeFile(ais, tables);
    jet::Workgroup::writeFile(mda);
    auto session = server.connect();
    for (const auto &t : tables) {
        SCOPED_TRACE(t.name);
        auto copy = session->execute("SELECT * INTO [AIS_" + t.name + "]\r\nFROM " +
                                     odsFrom(kJet, connectionText(kJet, ais, mda), t.name));
        ASSERT_TRUE(copy.ok()) << copy.errors.front().text();
        auto cols = session->execute("SELECT name, xtype, isnullable, length FROM syscolumns WHERE id = "
                                     "OBJECT_ID('AIS_" +
                                     t.name + "') ORDER BY colid");
        ASSERT_TRUE(cols.ok());
        const auto &crows = cols.resultSets.at(0).rows;
        ASSERT_EQ(crows.size(), t.columns.size());
        for (size_t c = 0; c < t.columns.size(); ++c) {
            EXPECT_EQ(crows[c][0].s, t.columns[c].name);
            const jet::ColumnSpec &spec = t.columns[c];
            EXPECT_EQ(crows[c][1].i, expectedXtype(spec)) << spec.name;
            // Yes/No and AutoNumber columns are never Null in Jet.
            bool notNull =
                spec.required || spec.type == jet::ColumnType::Boolean || spec.type == jet::ColumnType::AutoNumber;
            EXPECT_EQ(crows[c][2].i, notNull ? 0 : 1) << spec.name;
            if (spec.type == jet::ColumnType::Text) {
                EXPECT_EQ(crows[c][3].i, 2 * spec.size) << spec.name;
            }
        }
        auto data = session->execute("SELECT * FROM [AIS_" + t.name + "]");
        ASSERT_TRUE(data.ok());
        const auto &rows = data.resultSets.at(0).rows;
        ASSERT_EQ(rows.size(), t.rows.size());
        for (size_t r = 0; r < rows.size(); ++r) {
            for (size_t c = 0; c < t.columns.size(); ++c) {
                Value want = expectedValue(t.columns[c], t.rows[r][c]);
                const Value &got = rows[r][c];
                SCOPED_TRACE("row " + std::to_string(r) + " column " + t.columns[c].name);
                ASSERT_EQ(int(got.kind), int(want.kind));
                if (want.kind == Value::Kind::Real)
                    EXPECT_EQ(got.d, want.d);
                else
                    EXPECT_TRUE(got.i == want.i && got.s == want.s) << got.s << " / " << want.s;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, OpenDataSourceSampleTest, ::testing::Values("standard", "mini"));

}  // namespace
