// The stand-in installation: files, workgroup, configuration file, registry
// values and the server instance, as laid out by the library and the tool.
#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "StandinLayout.h"
#include "jet/Workgroup.h"
#include "platform/RegistryFile.h"
#include "server/Instance.h"
#include "server/Session.h"

namespace {

namespace fs = std::filesystem;

// Runs a command; its standard output and exit code.
std::pair<std::string, int> runCommand(const std::string &cmd) {
    FILE *p = popen(cmd.c_str(), "r");
    if (!p) return {"", -1};
    std::string out;
    char buf[512];
    while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    int status = pclose(p);
    return {out, WEXITSTATUS(status)};
}

const fs::path kSource = fs::path(PNW_SOURCE_DIR) / "standin";

std::string readBytes(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

QString registryValue(const std::string &file, const char *key, const char *name) {
    auto v = RegistryFile::load(QString::fromStdString(file)).value(key, name);
    return v && !v->data.isEmpty() ? v->data.join("|") : QString("<none>");
}

// One complete default installation shared by the tests that only read it.
class StandinLayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        StandinOptions o;
        o.folder = dir_->path().toStdString();
        result_ = new StandinLayout::Result(StandinLayout::run(o));
    }
    static void TearDownTestSuite() {
        delete result_;
        delete dir_;
    }
    static QTemporaryDir *dir_;
    static StandinLayout::Result *result_;
};

QTemporaryDir *StandinLayoutTest::dir_ = nullptr;
StandinLayout::Result *StandinLayoutTest::result_ = nullptr;

TEST(StandinCipherTest, ConfigurationFileEncoding) {
    const std::pair<const char *, const char *> cases[] = {{"sa", "iU2uOt8VzGg="},
                                                           {"VEQ#2015sa", "+2+xonPGp0MHKvHKcCcXuQ=="},
                                                           {"12345678", "kaxSY4pDOJ5aQMBIefnDxQ=="},
                                                           {"管理员", "ctMmBGLTkgQ="},
                                                           {"", "0gCenaebiME="}};
    for (const auto &[text, encoded] : cases) EXPECT_EQ(StandinLayout::encode2015(text), encoded) << text;
    EXPECT_EQ(StandinLayout::encodeOld("sa"), "293B");
}

TEST_F(StandinLayoutTest, ProductFilesAreCopiedByteForByte) {
    int files = 0;
    for (const auto &e : fs::recursive_directory_iterator(kSource / "product")) {
        if (!e.is_regular_file()) continue;
        ++files;
        fs::path copy = fs::path(result_->productFolder) / fs::relative(e.path(), kSource / "product");
        ASSERT_TRUE(fs::exists(copy)) << copy;
        EXPECT_EQ(readBytes(copy), readBytes(e.path())) << copy;
    }
    EXPECT_GT(files, 0);
}

TEST_F(StandinLayoutTest, WorkgroupFileLetsTheSourceUserIn) {
    const std::string mda = result_->productFolder + "/Advance/system_VEQ75.mda";
    EXPECT_TRUE(jet::Workgroup::checkLogon(mda, "morningstar", "tqlarnvezmbhko"));
    EXPECT_TRUE(jet::Workgroup::checkLogon(mda, "admin", ""));
    EXPECT_FALSE(jet::Workgroup::checkLogon(mda, "morningstar", "tqlarnvezmbhk"));
}

TEST_F(StandinLayoutTest, ServerConfigurationFileHoldsTheEncodedLogin) {
    std::string text = readBytes(result_->commonFolder + "/Vantora/VEQ/DBConfig.veq");
    EXPECT_EQ(text,
              "[ServerInfo2015]\r\nUser=iU2uOt8VzGg=\r\nPwd=+2+xonPGp0MHKvHKcCcXuQ==\r\n\r\n[ServerInfo]\r\nUser=" +
                  StandinLayout::encodeOld("sa") + "\r\nPwd=" + StandinLayout::encodeOld("VEQ#2015sa") + "\r\n");
}

TEST_F(StandinLayoutTest, RegistryValues) {
    const std::string &reg = result_->registryFile;
    EXPECT_EQ(registryValue(reg, "HKLM\\SOFTWARE\\Vantora\\VEQPRODUCT", "Version"), "14.1");
    EXPECT_EQ(registryValue(reg, "HKLM\\SOFTWARE\\Vantora\\VEQPRODUCT", "Path"),
              QString::fromStdString(result_->productFolder));
    EXPECT_EQ(registryValue(reg, "HKLM\\SOFTWARE\\Microsoft\\Microsoft SQL Server", "InstalledInstances"),
              "MSSQLSERVER");
    EXPECT_EQ(
        registryValue(reg, "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "DefaultDomainName"),
        "VeqServer");
    EXPECT_EQ(registryValue(reg, "HKLM\\SOFTWARE\\Vantora", "RSPath"), "");
}

TEST_F(StandinLayoutTest, EnvironmentNamesTheFolders) {
    ASSERT_EQ(result_->environment.size(), 4u);
    EXPECT_EQ(result_->environment[0].first, "CommonProgramFiles");
    EXPECT_EQ(result_->environment[0].second, result_->commonFolder);
    EXPECT_EQ(result_->environment[1], std::make_pair(std::string("PNW_REGISTRY_FILE"), result_->registryFile));
    EXPECT_EQ(result_->environment[2].first, "PNW_SQL_INSTANCE_DIR");
    EXPECT_EQ(result_->environment[2].second, result_->instanceFolder);
    EXPECT_EQ(result_->environment[3], std::make_pair(std::string("PNW_DATA_DIR"), result_->dataFolder));
    EXPECT_TRUE(fs::is_directory(result_->dataFolder));
}

TEST_F(StandinLayoutTest, InstanceHoldsTheLoginAndAcctCtlButNotTheBase) {
    auto inst = server::Instance::open(result_->instanceFolder);
    {
        server::Session s(inst, "sa", "VEQ#2015sa", "AcctCtl");
        auto r = s.execute("SELECT FTypeID FROM t_ad_dbtype");
        ASSERT_TRUE(r.ok()) << r.errors.front().text();
        ASSERT_EQ(r.resultSets.at(0).rows.size(), 1u);
        EXPECT_EQ(r.resultSets[0].rows[0][0].i, 1);
        EXPECT_EQ(s.execute("SELECT COUNT(*) FROM t_ad_xrAccount_gl").resultSets.at(0).rows[0][0].i, 0);
    }
    EXPECT_FALSE(inst->database("VEQBase"));
    EXPECT_THROW(server::Session(inst, "sa", "wrong", "master"), server::SqlError);
    // The login check makes t_XRAccount_gl itself: the layout leaves master without it.
    server::Session m(inst, "sa", "VEQ#2015sa", "master");
    EXPECT_FALSE(m.execute("SELECT * FROM t_XRAccount_gl").ok());
    inst.reset();
    server::Instance::release(result_->instanceFolder);
}

// The base backup restored under a new name holds the script's tables and
// seeded rows.
TEST_F(StandinLayoutTest, BackupRestoresAsANewAccountSet) {
    const std::string bak = result_->productFolder + "/Common/SQLDB/SQLDBBack.bak";
    ASSERT_TRUE(fs::exists(bak)) << "the base backup was not made: "
                                 << (result_->problems.empty() ? std::string() : result_->problems.back());
    auto inst = server::Instance::open(result_->instanceFolder);
    {
        server::Session m(inst, "sa", "VEQ#2015sa", "master");
        const std::string data = result_->dataFolder + "/T001_Data.mdf";
        const std::string log = result_->dataFolder + "/T001_log.ldf";
        auto r = m.execute("RESTORE DATABASE T001 from disk='" + bak + "' with recovery, move 'VEQBase' to '" + data +
                           "',move 'VEQBase_log' to '" + log + "'  , replace");
        ASSERT_TRUE(r.ok()) << r.errors.front().text();
        server::Session s(inst, "sa", "VEQ#2015sa", "T001");
        auto t = s.execute("SELECT COUNT(*) FROM sysobjects WHERE xtype = 'U'");
        ASSERT_TRUE(t.ok());
        EXPECT_EQ(t.resultSets.at(0).rows[0][0].i, 81);
        auto cur = s.execute("SELECT COUNT(*) FROM T_Currency");
        ASSERT_TRUE(cur.ok());
        EXPECT_GT(cur.resultSets.at(0).rows[0][0].i, 0);
    }
    inst.reset();
    server::Instance::release(result_->instanceFolder);
}

TEST(StandinOptionsTest, VersionsProvidersAndNamedInstance) {
    QTemporaryDir dir;
    StandinOptions o;
    o.folder = dir.path().toStdString();
    o.installedVersion = "13.0";
    o.versionText = "Microsoft SQL Server 2014 - 12.0.2000.8 (X64)";
    o.providers = "Microsoft.ACE.OLEDB.12.0";
    o.instanceName = "VEQ";
    StandinLayout::Result r = StandinLayout::run(o);
    EXPECT_EQ(registryValue(r.registryFile, "HKLM\\SOFTWARE\\Vantora\\VEQPRODUCT", "Version"), "13.0");
    EXPECT_EQ(registryValue(r.registryFile, "HKLM\\SOFTWARE\\Microsoft\\Microsoft SQL Server", "InstalledInstances"),
              "VEQ");
    // ".\VEQ" is the folder VEQ beside the default instance's folder.
    EXPECT_EQ(fs::path(r.instanceFolder).filename(), "VEQ");
    EXPECT_EQ(fs::path(r.environment[2].second).parent_path(), fs::path(r.instanceFolder).parent_path());
    auto inst = server::Instance::open(r.instanceFolder);
    EXPECT_EQ(inst->versionText(), o.versionText);
    EXPECT_EQ(inst->setting("providers"), o.providers);
    inst.reset();
    server::Instance::release(r.instanceFolder);
    // A second layout into the same folder is refused.
    EXPECT_THROW(StandinLayout::run(o), std::runtime_error);
}

TEST(StandinOptionsTest, BrokenInstallations) {
    QTemporaryDir dir;
    StandinOptions o;
    o.folder = dir.path().toStdString();
    o.noDbConfig = true;
    o.shortDbb = true;
    o.missingBak = true;
    o.unreadableList = true;
    StandinLayout::Result r = StandinLayout::run(o);
    EXPECT_FALSE(fs::exists(r.commonFolder + "/Vantora/VEQ/DBConfig.veq"));
    const fs::path sqldb = fs::path(r.productFolder) / "Common" / "SQLDB";
    for (const char *dbb : {"SQLDBBack.dbb", "SQLDBBack_2008.dbb"}) {
        std::string text = readBytes(sqldb / dbb);
        int lines = 0;
        for (char c : text) lines += c == '\n';
        EXPECT_EQ(lines, 4) << dbb;
        EXPECT_EQ(readBytes(kSource / "product" / "Common" / "SQLDB" / dbb).rfind(text, 0), 0u) << dbb;
    }
    EXPECT_FALSE(fs::exists(sqldb / "SQLDBBack.bak"));
    EXPECT_FALSE(fs::exists(sqldb / "SQLDBBack_2008.bak"));
    std::ifstream list(fs::path(r.productFolder) / "Common" / "SqlSrv" / "CreateDB.lst");
    std::string line;
    EXPECT_FALSE(std::getline(list, line));
}

TEST(StandinToolTest, PrintsTheEnvironment) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/inst";
    const std::string bin = std::string(PNW_BINARY_DIR) + "/bin/";
    auto [out, code] = runCommand(bin + "standin '" + folder + "' --version 14.1 2>/dev/null");
    EXPECT_NE(code, 2) << out;
    EXPECT_NE(out.find("export CommonProgramFiles='" + folder + "/common'\n"), std::string::npos) << out;
    EXPECT_NE(out.find("export PNW_REGISTRY_FILE='" + folder + "/registry.txt'\n"), std::string::npos);
    EXPECT_NE(out.find("export PNW_SQL_INSTANCE_DIR='" + folder + "/sql/MSSQLSERVER'\n"), std::string::npos);
    EXPECT_NE(out.find("export PNW_DATA_DIR='" + folder + "/data'\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder + "/product/Advance/system_VEQ75.mda"));
    // The client tool reaches the instance with the login and sees the seeded rows.
    auto [rows, rc] =
        runCommand(bin + "localsql -S '" + folder + "/sql/MSSQLSERVER' -d AcctCtl -U sa -P 'VEQ#2015sa' " +
                   "-Q 'SELECT FTypeID FROM t_ad_dbtype'");
    EXPECT_EQ(rc, 0) << rows;
    EXPECT_EQ(rows.rfind("FTypeID\n1\n", 0), 0u) << rows;
    // Bad arguments, and a second layout into the same folder.
    EXPECT_EQ(runCommand(bin + "standin 2>/dev/null").second, 2);
    EXPECT_EQ(runCommand(bin + "standin '" + folder + "' 2>/dev/null").second, 2);
}

}  // namespace
