// A batch's shape read off its text: the literals come out exactly as the
// tokenizer gives them, batches that differ only in literal values share a
// key, and anything else that differs (a literal's kind, a name) tells
// them apart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/SqlError.h"
#include "server/Tokenizer.h"

namespace {

std::string shapeOf(const std::string &batch, std::vector<server::Token> *literals = nullptr) {
    std::string key;
    std::vector<server::Token> found;
    EXPECT_TRUE(server::literalShape(batch, 1000, key, found)) << batch;
    if (literals) *literals = found;
    return key;
}

TEST(LiteralShape, LiteralsAsTheTokenizerGivesThem) {
    const char *batches[] = {
        "insert into t(a,b,c,d,e) values (12, -3.50, 1.5E-05, 'it''s', N'凭证')",
        "select t1.a from [my table 1] t1 where a = 0x1F and b like N'%x%' -- 7\n and c = .5",
        "update t set a = a + 10000000000 /* 1 /* 2 */ 3 */ where k = '' and j=N''",
    };
    for (const char *b : batches) {
        std::vector<server::Token> shaped;
        shapeOf(b, &shaped);
        std::vector<server::Token> expected;
        for (const auto &t : server::tokenize(b))
            if (t.literalIndex >= 0) expected.push_back(t);
        ASSERT_EQ(shaped.size(), expected.size()) << b;
        for (size_t i = 0; i < shaped.size(); ++i) {
            EXPECT_EQ(shaped[i].kind, expected[i].kind) << b;
            EXPECT_EQ(shaped[i].text, expected[i].text) << b;
            EXPECT_EQ(shaped[i].pos, expected[i].pos) << b;
            EXPECT_EQ(shaped[i].literalIndex, expected[i].literalIndex) << b;
        }
    }
}

TEST(LiteralShape, SameKeyOnlyForOtherValuesOfTheSameKinds) {
    struct Case {
        const char *a, *b;
        bool same;
    } cases[] = {
        {"select a from t where k = 1 and n = 'x'", "select a from t where k = 22 and n = 'yy'", true},
        {"insert t values (1.25, N'a')", "insert t values (7.50, N'bbb')", true},
        {"select a from t where k = 1", "select a from t where k = '1'", false},
        {"select a from t where n = 'x'", "select a from t where n = N'x'", false},
        // A decimal's digits are left to the cache, which checks them where they matter.
        {"insert t values (1.25)", "insert t values (1.250)", true},
        {"insert t values (1.25)", "insert t values (1.25E0)", false},
        {"insert t values (1)", "insert t values (10000000000)", false},
        {"select a from t1", "select a from t2", false},
        {"select a from t where k = 1", "select b from t where k = 1", false},
        {"select a from [t 1]", "select a from [t 2]", false},
        {"select a, 1 from t", "select a, 1 -- 2\n from t", true},
        {"select a -- 2\n, 1 from t", "select a, 1 from t", true},
        {"select ab from t", "select a b from t", false},
    };
    for (const auto &c : cases) EXPECT_EQ(shapeOf(c.a) == shapeOf(c.b), c.same) << c.a << " / " << c.b;
}

TEST(LiteralShape, NotForVariablesControlFlowOrLongBatches) {
    const char *batches[] = {
        "declare @i int select @i = 1",
        "if exists (select 1 from t) delete t",
        "while 1 = 0 select 1",
        "begin transaction",
        "update t set a = @v",
    };
    std::string key;
    std::vector<server::Token> literals;
    for (const char *b : batches) EXPECT_FALSE(server::literalShape(b, 1000, key, literals)) << b;
    EXPECT_FALSE(server::literalShape("select 1, 2, 3, 4", 7, key, literals));
    EXPECT_TRUE(server::literalShape("select 1, 2, 3, 4", 8, key, literals));
    for (const char *bad : {"select 'open", "select [open", "select 1 /* open"}) {
        try {
            server::literalShape(bad, 1000, key, literals);
            ADD_FAILURE() << bad;
        } catch (const server::SqlError &e) {
            EXPECT_TRUE(e.number() == 105 || e.number() == 113) << bad;
        }
    }
}

}  // namespace
