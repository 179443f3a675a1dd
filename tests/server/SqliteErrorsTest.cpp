// Failures SQLite reports reach the client as the server's errors (number
// and wording), never as SQLite's own text under 50000: each case provokes
// one through a real session on real files.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kit/TestServer.h"
#include "server/SqlError.h"
#include "server/SqliteError.h"

namespace {

using server::Session;
using server::SqlError;
namespace fs = std::filesystem;

SqlError firstError(const server::BatchResult &r) { return r.ok() ? SqlError(0, "no error") : r.errors.front(); }

// A table t(k, v) with one row.
std::unique_ptr<Session> withTable(TestServer &fx) {
    auto s = fx.connect();
    auto r = s->execute("create table t(k int primary key, v varchar(80) not null) insert into t values (1, 'a')");
    if (!r.ok()) throw r.errors.front();
    return s;
}

void raw(Session &s, const char *sql) {
    ASSERT_EQ(sqlite3_exec(s.handle(), sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
}

// The error of a statement run on the session's SQLite handle directly, for
// what the engine itself never makes (CHECK constraints, SQLite's own
// integer arithmetic).
SqlError rawError(Session &s, const char *sql) {
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(s.handle(), sql, -1, &st, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(st);
    SqlError e =
        rc == SQLITE_ROW || rc == SQLITE_DONE ? SqlError(0, "no error") : server::sqliteError(s.handle(), rc, sql);
    sqlite3_finalize(st);
    return e;
}

// A default file system that fails every write while `failing` is set.
// SQLite gives its files several method tables (the data file locks, a log
// does not): each is copied with its write replaced.
struct FailingWrites {
    struct Wrapped {
        sqlite3_io_methods methods;  // first: a file's pMethods points here
        const sqlite3_io_methods *real;
    };
    static inline sqlite3_vfs *real = nullptr;
    static inline sqlite3_vfs vfs{};
    static inline std::vector<std::unique_ptr<Wrapped>> wrapped;
    static inline bool failing = false;

    static int write(sqlite3_file *f, const void *p, int n, sqlite3_int64 offset) {
        if (failing) return SQLITE_IOERR_WRITE;
        return reinterpret_cast<const Wrapped *>(f->pMethods)->real->xWrite(f, p, n, offset);
    }
    static int open(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *f, int flags, int *outFlags) {
        int rc = real->xOpen(real, name, f, flags, outFlags);
        if (rc != SQLITE_OK || !f->pMethods) return rc;
        for (const auto &w : wrapped)
            if (w->real == f->pMethods) {
                f->pMethods = &w->methods;
                return rc;
            }
        auto w = std::make_unique<Wrapped>(Wrapped{*f->pMethods, f->pMethods});
        w->methods.xWrite = &write;
        f->pMethods = &w->methods;
        wrapped.push_back(std::move(w));
        return rc;
    }
    FailingWrites() {
        real = sqlite3_vfs_find(nullptr);
        vfs = *real;
        vfs.zName = "failing_writes";
        vfs.xOpen = &open;
        sqlite3_vfs_register(&vfs, 1);
    }
    ~FailingWrites() {
        failing = false;
        sqlite3_vfs_register(real, 1);
        sqlite3_vfs_unregister(&vfs);
    }
};

// Overwrites `bytes` bytes of a file from `offset` with a pattern.
void damage(const fs::path &file, std::streamoff offset, size_t bytes) {
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(offset);
    std::string junk(bytes, '\xAB');
    f.write(junk.data(), std::streamsize(junk.size()));
}

struct ErrorCase {
    const char *what;
    int number;
    const char *text;  // a part of the expected message
    std::function<SqlError()> provoke;
};

TEST(SqliteErrors, EachSqliteFailureIsTheServersError) {
    const ErrorCase cases[] = {
        {"lock held by another session", 1222, "已超过了锁请求超时时段",
         [] {
             TestServer fx;
             auto s = withTable(fx);
             auto other = fx.connect();
             other->beginTransaction();
             other->execute("update t set v = 'b'");
             sqlite3_busy_timeout(s->handle(), 50);  // the rule's 3 s wait is tested with the load
             return firstError(s->execute("update t set v = 'c'"));
         }},
        {"read-only connection", 3906, "无法更新数据库 \"test\"，因为数据库是只读的",
         [] {
             TestServer fx;
             auto s = withTable(fx);
             raw(*s, "PRAGMA query_only = 1");
             return firstError(s->execute("insert into t values (2, 'b')"));
         }},
        {"data file full", 1105, "无法为数据库 'test' 中的对象 'dbo.t' 分配空间，因为 'PRIMARY' 文件组已满",
         [] {
             TestServer fx;
             auto s = withTable(fx);
             raw(*s, "PRAGMA main.max_page_count = 1");  // no page beyond those in use
             return firstError(s->execute("declare @i int set @i = 2\n"
                                          "while @i < 2000\n"
                                          "begin\n"
                                          "  insert into t values (@i, '" +
                                          std::string(80, 'x') +
                                          "')\n"
                                          "  set @i = @i + 1\n"
                                          "end"));
         }},
        {"write failing in the operating system", 823, "中执行 写入 期间，向 SQL Server 返回了错误",
         [] {
             FailingWrites fs;
             TestServer fx;
             auto s = withTable(fx);
             FailingWrites::failing = true;
             SqlError e = firstError(s->execute("insert into t values (2, 'b')"));
             FailingWrites::failing = false;
             return e;
         }},
        {"damaged page", 824, "SQL Server 检测到基于一致性的逻辑 I/O 错误",
         [] {
             TestServer fx;
             withTable(fx)->execute("declare @i int set @i = 2\n"
                                    "while @i < 3000\n"
                                    "begin\n"
                                    "  insert into t values (@i, '" +
                                    std::string(80, 'x') +
                                    "')\n"
                                    "  set @i = @i + 1\n"
                                    "end");
             // Every handle closes (the last one folds the log into the file), then the table's last pages are overwritten.
             fx.instance.reset();
             server::Instance::release(fx.folder());
             const fs::path file = fs::path(fx.folder()) / "test.mdf";
             damage(file, std::streamoff(fs::file_size(file) - 8 * 4096), 8 * 4096);
             fx.instance = server::Instance::open(fx.folder());
             return firstError(fx.connect()->execute("select count(*) from t where v like '%z%'"));
         }},
        {"file that is not a database", 5172, "的标头不是有效的数据库文件标头",
         [] {
             TestServer fx;
             withTable(fx)->execute("create database other");
             damage(fs::path(fx.folder()) / "other.mdf", 0, 100);
             try {
                 fx.connect("other");
             } catch (const SqlError &e) {
                 return e;
             }
             return SqlError(0, "connected");
         }},
        {"missing data file of another database", 5120, "无法打开物理文件",
         [] {
             TestServer fx;
             auto s = withTable(fx);
             s->execute("create database other");
             fs::remove(fs::path(fx.folder()) / "other.mdf");
             return firstError(s->execute("select * from other.dbo.t"));
         }},
        {"table missing under its catalogue entry", 208, "对象名 't' 无效",
         [] {
             TestServer fx;
             auto s = withTable(fx);
             raw(*s, "DROP TABLE main.t");
             return firstError(s->execute("select v from t"));
         }},
        {"column missing under its catalogue entry", 207, "列名 'v' 无效",
         [] {
             TestServer fx;
             auto s = withTable(fx);
             raw(*s, "CREATE TABLE main.u(k INTEGER)");
             raw(*s, "DROP TABLE main.t");
             raw(*s, "ALTER TABLE main.u RENAME TO t");
             return firstError(s->execute("select v from t"));
         }},
        {"too many terms in a union", 8623, "查询处理器用尽了内部资源",
         [] {
             TestServer fx;
             std::string sql = "select 1";
             for (int i = 0; i < 600; ++i) sql += " union all select 1";
             return firstError(withTable(fx)->execute(sql));
         }},
        {"expression too deep", 191, "某些语句部分嵌套过深",
         [] {
             TestServer fx;
             std::string sql = "select 1";
             for (int i = 0; i < 998; ++i) sql += "+1";
             return firstError(withTable(fx)->execute(sql));
         }},
        {"value longer than the largest", 7119, "尝试将 LOB 增大到超过允许的最大大小 100 字节",
         [] {
             TestServer fx;
             auto s = withTable(fx);
             s->execute("update t set v = '" + std::string(80, 'x') + "'");
             sqlite3_limit(s->handle(), SQLITE_LIMIT_LENGTH, 100);
             return firstError(s->execute("select v + v from t"));
         }},
        {"out of memory", 701, "内存资源不足，无法运行此查询",
         [] {
             // The server switches SQLite's allocation statistics off, so no
             // heap limit can provoke the failure: its code is mapped as such.
             TestServer fx;
             auto s = withTable(fx);
             return server::sqliteError(s->handle(), SQLITE_NOMEM, "select k, v from t");
         }},
        {"SQLite's integer overflow", 8115, "将 expression 转换为数据类型 bigint 时出现算术溢出错误",
         [] {
             TestServer fx;
             return rawError(*withTable(fx), "SELECT abs(-9223372036854775807 - 1)");
         }},
        {"CHECK constraint of a foreign file", 547, "语句与 CHECK 约束\"positive\"冲突",
         [] {
             TestServer fx;
             auto s = withTable(fx);
             raw(*s, "CREATE TABLE main.c(x INTEGER CONSTRAINT positive CHECK (x > 0))");
             return rawError(*s, "INSERT INTO main.c VALUES (-1)");
         }},
        {"duplicate primary key", 2627, "违反了 PRIMARY KEY 约束",
         [] {
             TestServer fx;
             return firstError(withTable(fx)->execute("insert into t values (1, 'b')"));
         }},
        {"duplicate in a unique index", 2601, "不能在具有唯一索引 'ix_v' 的对象 'dbo.t' 中插入重复键的行",
         [] {
             TestServer fx;
             auto s = withTable(fx);
             s->execute("create unique index ix_v on t(v)");
             return firstError(s->execute("insert into t values (2, 'a')"));
         }},
        {"NULL into a NOT NULL column", 515, "不能将值 NULL 插入列 'v'",
         [] {
             TestServer fx;
             return firstError(withTable(fx)->execute("insert into t values (2, null)"));
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SqlError e = c.provoke();
        EXPECT_EQ(e.number(), c.number) << e.text();
        EXPECT_NE(e.text().find(c.text), std::string::npos) << e.text();
        EXPECT_EQ(e.text().find("内部错误"), std::string::npos) << e.text();
    }
}

}  // namespace
