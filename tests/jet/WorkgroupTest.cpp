#include <gtest/gtest.h>

#include "JetTestUtil.h"
#include "jet/JetError.h"
#include "jet/JetWriter.h"
#include "jet/Workgroup.h"

using namespace jet;
using namespace jettest;

TEST(Workgroup, ChecksTheLogonOfTheWorkgroupUser) {
    ScratchDir dir;
    const std::string mda = dir.file("system.mda");
    Workgroup::writeFile(mda);
    struct Case {
        const char *user, *password;
        bool accepted;
    } cases[] = {
        {"morningstar", "tqlarnvezmbhko", true},  {"MorningStar", "tqlarnvezmbhko", true},  // user names ignore case
        {"morningstar", "TQLARNVEZMBHKO", false},                                           // passwords do not
        {"morningstar", "tqlarnvezmbhk", false},  {"morningstar", "", false},
        {"admin", "tqlarnvezmbhko", false},       {"", "", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.user) + "/" + c.password);
        EXPECT_EQ(Workgroup::checkLogon(mda, c.user, c.password), c.accepted);
    }
    // The password is not stored as such.
    EXPECT_EQ(run("grep -c tqlarnvezmbhko " + quote(mda)).out, "0\n");
    EXPECT_NE(run("mdb-tables -S -1 " + quote(mda)).out.find("MSysAccounts\n"), std::string::npos);
}

TEST(Workgroup, SeveralAccounts) {
    ScratchDir dir;
    const std::string mda = dir.file("system.mda");
    Workgroup::writeFile(mda, {{"admin", ""}, {"张三", "密码"}});
    EXPECT_TRUE(Workgroup::checkLogon(mda, "admin", ""));
    EXPECT_TRUE(Workgroup::checkLogon(mda, "张三", "密码"));
    EXPECT_FALSE(Workgroup::checkLogon(mda, "张三", ""));
    EXPECT_FALSE(Workgroup::checkLogon(mda, Workgroup::kUser, Workgroup::kPassword));
}

TEST(Workgroup, RefusesFilesThatAreNoWorkgroup) {
    ScratchDir dir;
    const std::string other = dir.file("other.mda");
    JetWriter::writeFile(other, {parseTableText("GLpref", "F:Long\n1\n")});
    try {
        Workgroup::checkLogon(other, Workgroup::kUser, Workgroup::kPassword);
        FAIL() << "accepted a file without accounts";
    } catch (const JetError &e) {
        EXPECT_EQ(e.number(), kErrFormat);
    }
    try {
        Workgroup::checkLogon(dir.file("missing.mda"), Workgroup::kUser, Workgroup::kPassword);
        FAIL() << "accepted a missing file";
    } catch (const JetError &e) {
        EXPECT_EQ(e.number(), kErrOpen);
    }
}
