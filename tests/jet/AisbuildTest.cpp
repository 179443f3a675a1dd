#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "JetTestUtil.h"
#include "jet/JetReader.h"
#include "jet/Workgroup.h"

using namespace jet;
using namespace jettest;

namespace {

std::string aisbuild(const std::string &args) { return quote(binDir() + "/aisbuild") + " " + args; }

}  // namespace

TEST(Aisbuild, BuildsTheFileAndItsWorkgroupBesideIt) {
    ScratchDir dir;
    std::filesystem::create_directory(dir.file("tsv"));
    writeBytes(dir.file("tsv/GLpref.tsv"), "FProgramVersion:Integer\tFCompany:Text(80)\n15\t示例公司\n");
    writeBytes(dir.file("tsv/GLAcct.tsv"), "FAcctID:Text(40)!\tFBal:Currency\n1001\t12.5\n1002\t\\N\n");
    std::filesystem::create_directory(dir.file("out"));
    ASSERT_EQ(run(aisbuild(quote(dir.file("tsv")) + " " + quote(dir.file("out/demo.ais")))).status, 0);
    EXPECT_EQ(run("mdb-tables -1 " + quote(dir.file("out/demo.ais"))).out, "GLAcct\nGLpref\n");
    EXPECT_EQ(run("mdb-count " + quote(dir.file("out/demo.ais")) + " GLAcct").out, "2\n");
    EXPECT_TRUE(Workgroup::checkLogon(dir.file("out/system.mda"), Workgroup::kUser, Workgroup::kPassword));

    ASSERT_EQ(run(aisbuild(quote(dir.file("tsv")) + " " + quote(dir.file("b.ais")) + " --no-workgroup")).status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("system.mda")));
    ASSERT_EQ(run(aisbuild(quote(dir.file("tsv")) + " " + quote(dir.file("c.ais")) + " --workgroup " +
                           quote(dir.file("wg.mda"))))
                  .status,
              0);
    EXPECT_TRUE(Workgroup::checkLogon(dir.file("wg.mda"), Workgroup::kUser, Workgroup::kPassword));
}

TEST(Aisbuild, ReportsBadInputAndWritesNothing) {
    ScratchDir dir;
    std::filesystem::create_directory(dir.file("tsv"));
    writeBytes(dir.file("tsv/T.tsv"), "K:Long\n1\nnot a number\n");
    const std::string out = dir.file("t.ais");
    const CommandResult r = run(aisbuild(quote(dir.file("tsv")) + " " + quote(out) + " 2>&1"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("table T row 2"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_FALSE(std::filesystem::exists(out + ".part"));
    EXPECT_EQ(run(aisbuild(quote(dir.file("nothing")) + " " + quote(out))).status, 1);
    EXPECT_EQ(run(aisbuild(quote(dir.file("tsv")))).status, 2);
}
