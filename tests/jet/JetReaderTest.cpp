#include <gtest/gtest.h>

#include <fstream>

#include "JetTestUtil.h"
#include "jet/JetError.h"
#include "jet/JetReader.h"
#include "jet/JetWriter.h"

using namespace jet;
using namespace jettest;

namespace {

int errorOf(const std::string &path) {
    try {
        JetReader reader(path);
        for (const auto &t : reader.tables()) {
            auto cursor = reader.openTable(t.name);
            std::vector<Value> row;
            while (cursor->next(row)) {}
        }
    } catch (const JetError &e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(JetReader, ListsEveryTableWithItsFields) {
    ScratchDir dir;
    const std::string file = dir.file("a.ais");
    JetWriter::writeFile(file, {parseTableText("GLpref", "FProgramVersion:Integer!\tFCompany:Text(80)\tFMemo:Memo\n"
                                                         "15\t测试公司\t\\N\n"),
                                parseTableText("CSTM_Extra", "F:Double\n")});
    JetReader reader(file);
    EXPECT_EQ(reader.jetVersion(), 4);
    std::vector<std::string> names;
    for (const auto &t : reader.tables()) names.push_back(t.name + (t.system ? "*" : ""));
    EXPECT_EQ(names, (std::vector<std::string>{"MSysObjects*", "GLpref", "CSTM_Extra", "MSysACEs*", "MSysQueries*",
                                               "MSysRelationships*"}));
    const JetTableInfo *pref = reader.findTable("GLPREF");
    ASSERT_NE(pref, nullptr);
    ASSERT_EQ(pref->fields.size(), 3u);
    EXPECT_EQ(pref->fields[0].name, "FProgramVersion");
    EXPECT_EQ(pref->fields[0].typeName, "Integer");
    EXPECT_EQ(pref->fields[0].size, 2);
    EXPECT_TRUE(pref->fields[0].required);
    EXPECT_EQ(pref->fields[1].typeName, "Text");
    EXPECT_EQ(pref->fields[1].size, 80);
    EXPECT_FALSE(pref->fields[1].required);
    EXPECT_EQ(pref->fields[2].typeName, "Memo");
    EXPECT_EQ(pref->rowCount, 1);
    EXPECT_EQ(reader.findTable("nope"), nullptr);
    EXPECT_THROW(reader.openTable("nope"), JetError);

    auto cursor = reader.openTable("GLpref");
    std::vector<Value> row;
    ASSERT_TRUE(cursor->next(row));
    EXPECT_EQ(row[0], Value::integral(15));
    EXPECT_EQ(row[1], Value::text("测试公司"));
    EXPECT_TRUE(row[2].isNull());
    EXPECT_FALSE(cursor->next(row));
    EXPECT_FALSE(cursor->next(row));
}

TEST(JetReader, TwoCursorsReadIndependently) {
    ScratchDir dir;
    const std::string file = dir.file("a.ais");
    JetWriter::writeFile(file, {parseTableText("A", "K:Long\n1\n2\n"), parseTableText("B", "K:Long\n10\n20\n")});
    JetReader reader(file);
    auto a = reader.openTable("A");
    auto b = reader.openTable("B");
    std::vector<Value> ra, rb;
    ASSERT_TRUE(a->next(ra));
    ASSERT_TRUE(b->next(rb));
    ASSERT_TRUE(a->next(ra));
    EXPECT_EQ(ra[0].integer, 2);
    ASSERT_TRUE(b->next(rb));
    EXPECT_EQ(rb[0].integer, 20);
}

TEST(JetReader, DamagedFilesGiveOneClearError) {
    ScratchDir dir;
    const std::string good = dir.file("good.ais");
    JetWriter::writeFile(good,
                         {parseTableText("T", "K:Long\tS:Text(10)\tM:Memo\n1\tx\t" + std::string(5000, 'm') + "\n")});
    const std::string bytes = readBytes(good);
    struct Case {
        const char *what;
        std::string content;
        int error;
    } cases[] = {
        {"empty", "", kErrFormat},
        {"text", "hello, this is not a database at all", kErrFormat},
        {"header only", bytes.substr(0, 4096), kErrFormat},
        {"cut mid page", bytes.substr(0, bytes.size() - 100), kErrFormat},
        {"unknown version", bytes.substr(0, 0x14) + "\x09" + bytes.substr(0x15), kErrFormat},
        {"catalogue page wiped", bytes.substr(0, 2 * 4096) + std::string(4096, '\0') + bytes.substr(3 * 4096),
         kErrFormat},
        {"last pages cut", bytes.substr(0, bytes.size() - 2 * 4096), kErrFormat},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.file("bad.ais");
        writeBytes(path, c.content);
        EXPECT_EQ(errorOf(path), c.error);
    }
    EXPECT_EQ(errorOf(dir.file("missing.ais")), kErrOpen);
    EXPECT_EQ(errorOf(dir.path()), kErrFormat);  // a folder
    EXPECT_EQ(errorOf(good), 0);
}

TEST(JetReader, LeavesTheFileUntouched) {
    ScratchDir dir;
    const std::string file = dir.file("a.ais");
    JetWriter::writeFile(file, {parseTableText("T", "K:Long\tM:Memo\n1\t" + std::string(20000, 'x') + "\n")});
    const std::string before = readBytes(file);
    EXPECT_EQ(errorOf(file), 0);
    EXPECT_EQ(readBytes(file), before);
}
