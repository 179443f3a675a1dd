// A session keeps the parsed batches it may run again; a run of many batches
// of different shapes (a loop over vouchers, each batch shaped by its own
// entries) must not keep them all: the memory they hold stays within the
// cache's bound however many go through.
#include <gtest/gtest.h>
#include <malloc.h>

#include <memory>
#include <string>
#include <vector>

#include "kit/TestServer.h"
#include "server/BatchCache.h"

namespace {

// What the allocator hands out, small blocks and mapped ones.
size_t heapInUse() {
    const auto info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Whether the allocator's count follows what is allocated (a sanitizer's
// allocator leaves it still).
bool heapIsReported() {
    const size_t before = heapInUse();
    std::vector<std::unique_ptr<char[]>> blocks;
    for (int i = 0; i < 1024; ++i) blocks.emplace_back(new char[1024]);
    return heapInUse() >= before + 1024 * 1024;
}

// A query of its own shape (the alias names it), kept once it has run.
std::string shapedBatch(int n) {
    std::string sql = "select k as c" + std::to_string(n);
    for (int term = 0; term < 24; ++term)
        sql += ", a * " + std::to_string(term) + " + b - k as t" + std::to_string(term);
    sql += " from cached_rows where k = 1 and a between 0 and 100\n"
           "update cached_rows set a = a + 1, b = b - 1 where k = 2 and a < 1000000";
    return sql;
}

TEST(BatchCache, ManyShapesHoldNoMoreThanTheBound) {
    if (!heapIsReported()) GTEST_SKIP() << "the allocator does not report its heap";
    TestServer fx;
    auto s = fx.connect();
    ASSERT_TRUE(s->execute("create table cached_rows(k int primary key, a int, b int)\n"
                           "insert into cached_rows values (1, 1, 1)\n"
                           "insert into cached_rows values (2, 2, 2)")
                    .ok());
    const int bound = int(server::BatchCache<int>::kMaxBatches);
    int n = 0;
    auto runShapes = [&](int count) {
        for (int i = 0; i < count; ++i) {
            auto r = s->execute(shapedBatch(n++));
            ASSERT_TRUE(r.ok()) << r.errors.front().what();
            ASSERT_EQ(r.resultSets.size(), 1u);
        }
    };
    runShapes(16);
    const size_t start = heapInUse();
    runShapes(bound);
    const size_t atBound = heapInUse() - start;
    // Each kept batch holds its tree and translations: the bound's worth is
    // measurable, and many times as many shapes hold no more than that.
    ASSERT_GT(atBound, size_t(bound) * 4096) << "kept batches hold their trees";
    runShapes(6 * bound);
    const size_t held = heapInUse() > start ? heapInUse() - start : 0;
    EXPECT_LT(held, atBound + atBound / 2) << "batches past the bound are let go";
    // The session still works with what it kept.
    auto r = s->execute("select a from cached_rows where k = 2");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.resultSets[0].rows[0][0].i, 2 + 7 * bound + 16);
}

}  // namespace
