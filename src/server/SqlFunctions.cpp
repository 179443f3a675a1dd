#include "server/SqlFunctions.h"

#include <sqlite3.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <ctime>

#include "server/Convert.h"
#include "server/SqlError.h"
#include "server/SqliteError.h"
#include "server/TextUtil.h"

namespace server {

namespace {

Value readArg(sqlite3_value *v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return Value::fromInt(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return Value::fromReal(sqlite3_value_double(v));
    case SQLITE_TEXT:
        return Value::fromText(
            std::string(reinterpret_cast<const char *>(sqlite3_value_text(v)), size_t(sqlite3_value_bytes(v))));
    case SQLITE_BLOB: {
        const void *p = sqlite3_value_blob(v);
        int n = sqlite3_value_bytes(v);
        return Value::fromBlob(p ? std::string(static_cast<const char *>(p), size_t(n)) : std::string());
    }
    default: return Value::null();
    }
}

void setResult(sqlite3_context *ctx, const Value &v) {
    switch (v.kind) {
    case Value::Kind::Null: sqlite3_result_null(ctx); break;
    case Value::Kind::Int: sqlite3_result_int64(ctx, v.i); break;
    case Value::Kind::Real: sqlite3_result_double(ctx, v.d); break;
    case Value::Kind::Text: sqlite3_result_text(ctx, v.s.data(), int(v.s.size()), SQLITE_TRANSIENT); break;
    case Value::Kind::Blob: sqlite3_result_blob(ctx, v.s.data(), int(v.s.size()), SQLITE_TRANSIENT); break;
    }
}

void setError(sqlite3_context *ctx, const SqlError &e) {
    std::string msg = "PNW#" + std::to_string(e.number()) + "#" + e.text();
    sqlite3_result_error(ctx, msg.c_str(), int(msg.size()));
}

std::string argText(sqlite3_value *v) {
    const unsigned char *t = sqlite3_value_text(v);
    return t ? std::string(reinterpret_cast<const char *>(t), size_t(sqlite3_value_bytes(v))) : std::string();
}

bool anyNull(int argc, sqlite3_value **argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    return false;
}

template <typename F>
void guarded(sqlite3_context *ctx, F &&f) {
    try {
        f();
    } catch (const SqlError &e) {
        setError(ctx, e);
    } catch (const std::exception &e) {
        setError(ctx, internalError(e));
    }
}

int collate(void *, int na, const void *a, int nb, const void *b) {
    return collateCompare(std::string_view(static_cast<const char *>(a), size_t(na)),
                          std::string_view(static_cast<const char *>(b), size_t(nb)));
}

// pnw_cv(value, fromType, toType, mode, style)
void fnConvert(sqlite3_context *ctx, int, sqlite3_value **argv) {
    guarded(ctx, [&] {
        Value v = readArg(argv[0]);
        SqlType from = unpackType(sqlite3_value_int64(argv[1]));
        SqlType to = unpackType(sqlite3_value_int64(argv[2]));
        auto mode = static_cast<ConvertMode>(sqlite3_value_int(argv[3]));
        int style = sqlite3_value_int(argv[4]);
        setResult(ctx, convertValue(v, from, to, mode, style));
    });
}

void fnRound(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER && argc == 2) {
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        return;
    }
    double v = sqlite3_value_double(argv[0]);
    int scale = sqlite3_value_int(argv[1]);
    sqlite3_result_double(ctx, roundScale(v, scale));
}

// ROUND(x, n) keeping the type: pnw_roundto(x, n, keepScale)
void fnRoundTo(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    int n = sqlite3_value_int(argv[1]);
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) {
        int64_t v = sqlite3_value_int64(argv[0]);
        if (n >= 0) {
            sqlite3_result_int64(ctx, v);
            return;
        }
        double p = std::pow(10.0, -n);
        sqlite3_result_int64(ctx, int64_t(std::round(double(v) / p) * p));
        return;
    }
    double v = sqlite3_value_double(argv[0]);
    if (n >= 0) {
        sqlite3_result_double(ctx, roundScale(v, n));
    } else {
        double p = std::pow(10.0, -n);
        sqlite3_result_double(ctx, std::round(v / p) * p);
    }
}

void fnIntDiv(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    int64_t b = sqlite3_value_int64(argv[1]);
    if (b == 0) {
        setError(ctx, makeError(8134));
        return;
    }
    int64_t a = sqlite3_value_int64(argv[0]);
    if (a == INT64_MIN && b == -1) {
        setError(ctx, makeError(8115, "expression", "bigint"));
        return;
    }
    sqlite3_result_int64(ctx, a / b);
}

// pnw_iop(a, b, op, bits): integer + - * with the overflow check of int (32) or bigint (64).
void fnIntOp(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    int64_t a = sqlite3_value_int64(argv[0]), b = sqlite3_value_int64(argv[1]), r = 0;
    int op = sqlite3_value_int(argv[2]);
    bool overflow = op == 0   ? __builtin_add_overflow(a, b, &r)
                    : op == 1 ? __builtin_sub_overflow(a, b, &r)
                              : __builtin_mul_overflow(a, b, &r);
    bool narrow = sqlite3_value_int(argv[3]) == 32;
    if (overflow || (narrow && (r < INT32_MIN || r > INT32_MAX))) {
        setError(ctx, makeError(8115, "expression", narrow ? "int" : "bigint"));
        return;
    }
    sqlite3_result_int64(ctx, r);
}

// pnw_div(a, b, scale): scale -1 for float.
void fnDiv(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    double b = sqlite3_value_double(argv[1]);
    if (b == 0) {
        setError(ctx, makeError(8134));
        return;
    }
    double r = sqlite3_value_double(argv[0]) / b;
    int scale = sqlite3_value_int(argv[2]);
    sqlite3_result_double(ctx, scale >= 0 ? roundScale(r, scale) : r);
}

void fnLike(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    guarded(ctx, [&] { sqlite3_result_int(ctx, likeMatch(argText(argv[0]), argText(argv[1])) ? 1 : 0); });
}

void fnLen(sqlite3_context *ctx, int, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, utf16Length(trimRightBlanks(argText(argv[0]))));
}

std::u32string argChars(sqlite3_value *v) { return decodeUtf8(argText(v)); }

void resultChars(sqlite3_context *ctx, const std::u32string &s) {
    std::string u = encodeUtf8(s);
    sqlite3_result_text(ctx, u.data(), int(u.size()), SQLITE_TRANSIENT);
}

void fnSubstring(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    std::u32string s = argChars(argv[0]);
    int64_t start = sqlite3_value_int64(argv[1]);
    int64_t len = sqlite3_value_int64(argv[2]);
    if (len < 0) {
        setError(ctx, makeError(537));
        return;
    }
    // Positions before 1 eat into the length.
    int64_t end = start + len;  // exclusive, 1-based
    int64_t b = std::max<int64_t>(start, 1);
    int64_t e = std::min<int64_t>(end, int64_t(s.size()) + 1);
    if (e <= b) {
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
        return;
    }
    resultChars(ctx, s.substr(size_t(b - 1), size_t(e - b)));
}

void fnLeft(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    int64_t n = sqlite3_value_int64(argv[1]);
    if (n < 0) {
        setError(ctx, makeError(536, "left"));
        return;
    }
    std::u32string s = argChars(argv[0]);
    resultChars(ctx, s.substr(0, size_t(std::min<int64_t>(n, int64_t(s.size())))));
}

void fnRight(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    int64_t n = sqlite3_value_int64(argv[1]);
    if (n < 0) {
        setError(ctx, makeError(536, "right"));
        return;
    }
    std::u32string s = argChars(argv[0]);
    size_t k = size_t(std::min<int64_t>(n, int64_t(s.size())));
    resultChars(ctx, s.substr(s.size() - k));
}

void fnCharIndex(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, charIndex(argText(argv[0]), argText(argv[1])));
}

void fnReverse(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    std::u32string s = argChars(argv[0]);
    resultChars(ctx, std::u32string(s.rbegin(), s.rend()));
}

void fnLtrim(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    std::string r = trimLeftBlanks(argText(argv[0]));
    sqlite3_result_text(ctx, r.data(), int(r.size()), SQLITE_TRANSIENT);
}

void fnRtrim(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    std::string r = trimRightBlanks(argText(argv[0]));
    sqlite3_result_text(ctx, r.data(), int(r.size()), SQLITE_TRANSIENT);
}

void fnReplace(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    std::string r = replaceCollated(argText(argv[0]), argText(argv[1]), argText(argv[2]));
    sqlite3_result_text(ctx, r.data(), int(r.size()), SQLITE_TRANSIENT);
}

void fnAscii(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    std::string b = toCp936Bytes(argText(argv[0]));
    if (b.empty())
        sqlite3_result_null(ctx);
    else
        sqlite3_result_int(ctx, static_cast<unsigned char>(b[0]));
}

void fnAbs(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER)
        sqlite3_result_int64(ctx, std::llabs(sqlite3_value_int64(argv[0])));
    else
        sqlite3_result_double(ctx, std::fabs(sqlite3_value_double(argv[0])));
}

int datePart(const std::string &iso, int part) {
    if (iso.size() < 10) return 0;
    switch (part) {
    case 0: return std::atoi(iso.substr(0, 4).c_str());
    case 1: return std::atoi(iso.substr(5, 2).c_str());
    default: return std::atoi(iso.substr(8, 2).c_str());
    }
}

void fnDatePart(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, datePart(argText(argv[0]), sqlite3_value_int(argv[1])));
}

void fnMonthDiff(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    std::string a = argText(argv[0]), b = argText(argv[1]);
    int r = (datePart(b, 0) * 12 + datePart(b, 1)) - (datePart(a, 0) * 12 + datePart(a, 1));
    sqlite3_result_int(ctx, r);
}

void fnAddMonths(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    guarded(ctx, [&] {
        int64_t n = sqlite3_value_int64(argv[0]);
        std::string d = argText(argv[1]);
        int y = datePart(d, 0), m = datePart(d, 1), day = datePart(d, 2);
        int64_t total = int64_t(y) * 12 + (m - 1) + n;
        int ny = int(total / 12), nm = int(total % 12) + 1;
        if (ny < 1753 || ny > 9999) throw makeError(517);
        static const int dm[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        int last = dm[nm - 1];
        if (nm == 2 && ((ny % 4 == 0 && ny % 100 != 0) || ny % 400 == 0)) last = 29;
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", ny, nm, std::min(day, last));
        std::string r = buf + d.substr(10);
        sqlite3_result_text(ctx, r.data(), int(r.size()), SQLITE_TRANSIENT);
    });
}

void fnGetDate(sqlite3_context *ctx, int, sqlite3_value **) {
    std::string r = currentDateTime();
    sqlite3_result_text(ctx, r.data(), int(r.size()), SQLITE_TRANSIENT);
}

// datetime + days
void fnDateAddDays(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    guarded(ctx, [&] {
        std::string r = dateTimeFromDays(daysFromDateTime(argText(argv[0])) + sqlite3_value_double(argv[1]));
        sqlite3_result_text(ctx, r.data(), int(r.size()), SQLITE_TRANSIENT);
    });
}

// Row versions only grow: the counter starts from the clock, so values stay
// above those of earlier runs on the same database.
int64_t nextTimestamp() {
    static std::atomic<int64_t> counter{[] {
        timespec ts;
        clock_gettime(CLOCK_REALTIME, &ts);
        return int64_t(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
    }()};
    return ++counter;
}

void fnTimestamp(sqlite3_context *ctx, int, sqlite3_value **) { sqlite3_result_int64(ctx, nextTimestamp()); }

// Exact sums: integers in 128 bits, decimals as scaled 128-bit integers.
struct TypedSum {
    __int128 acc = 0;
    double facc = 0;
    bool any = false;
    int64_t code = 0;
};

void typedSumStep(sqlite3_context *ctx, int, sqlite3_value **argv) {
    auto **pp = static_cast<TypedSum **>(sqlite3_aggregate_context(ctx, sizeof(TypedSum *)));
    if (!pp) return;
    if (!*pp) *pp = new TypedSum();
    TypedSum *st = *pp;
    st->code = sqlite3_value_int64(argv[1]);
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
    SqlType t = unpackType(st->code);
    st->any = true;
    if (t.isInteger()) {
        st->acc += sqlite3_value_int64(argv[0]);
    } else if (t.isExact()) {
        int s = std::min(t.scale, 18);
        st->acc += (__int128)std::llround(roundScale(sqlite3_value_double(argv[0]), s) * std::pow(10.0, s));
    } else {
        st->facc += sqlite3_value_double(argv[0]);
    }
}

void typedSumFinal(sqlite3_context *ctx) {
    auto **pp = static_cast<TypedSum **>(sqlite3_aggregate_context(ctx, 0));
    if (!pp || !*pp) {
        sqlite3_result_null(ctx);
        return;
    }
    TypedSum *st = *pp;
    if (!st->any) {
        sqlite3_result_null(ctx);
    } else {
        SqlType t = unpackType(st->code);
        if (t.isInteger()) {
            __int128 lo = t.base == Base::BigInt ? (__int128)INT64_MIN : (__int128)INT32_MIN;
            __int128 hi = t.base == Base::BigInt ? (__int128)INT64_MAX : (__int128)INT32_MAX;
            if (st->acc < lo || st->acc > hi)
                setError(ctx, makeError(8115, "expression", t.base == Base::BigInt ? "bigint" : "int"));
            else
                sqlite3_result_int64(ctx, int64_t(st->acc));
        } else if (t.isExact()) {
            int s = std::min(t.scale, 18);
            double whole = double(st->acc / (__int128)std::llround(std::pow(10.0, s)));
            double frac = double(st->acc % (__int128)std::llround(std::pow(10.0, s))) / std::pow(10.0, s);
            sqlite3_result_double(ctx, roundScale(whole + frac, s));
        } else {
            sqlite3_result_double(ctx, st->facc);
        }
    }
    delete st;
    *pp = nullptr;
}

// pnw_raise(number [, arg1 [, arg2]]): fails the statement with that error.
void fnRaise(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    setError(ctx, makeError(sqlite3_value_int(argv[0]), argc > 1 ? argText(argv[1]) : std::string(),
                            argc > 2 ? argText(argv[2]) : std::string()));
}

SessionHooks *hooksOf(sqlite3_context *ctx) { return static_cast<SessionHooks *>(sqlite3_user_data(ctx)); }

void fnObjectId(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    guarded(ctx, [&] {
        if (!hooksOf(ctx)) throw makeError(195, "OBJECT_ID");
        setResult(ctx, hooksOf(ctx)->objectId(argText(argv[0])));
    });
}

// pnw_var('@name'): a variable's value at the time of the call.
void fnVariable(sqlite3_context *ctx, int, sqlite3_value **argv) {
    guarded(ctx, [&] {
        if (!hooksOf(ctx) || !hooksOf(ctx)->variable) throw makeError(137, argText(argv[0]));
        setResult(ctx, hooksOf(ctx)->variable(argText(argv[0])));
    });
}

void fnObjectProperty(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    guarded(ctx, [&] {
        if (!hooksOf(ctx)) throw makeError(195, "OBJECTPROPERTY");
        setResult(ctx, hooksOf(ctx)->objectProperty(sqlite3_value_int64(argv[0]), argText(argv[1])));
    });
}

void fnDbName(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    guarded(ctx, [&] {
        if (!hooksOf(ctx)) throw makeError(195, "DB_NAME");
        setResult(ctx, hooksOf(ctx)->dbName(argc ? readArg(argv[0]) : Value::null()));
    });
}

}  // namespace

void registerSqlFunctions(sqlite3 *db, SessionHooks *hooks) {
    const int det = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_collation(db, "TSQL", SQLITE_UTF8, nullptr, collate);
    struct Fn {
        const char *name;
        int argc;
        void (*fn)(sqlite3_context *, int, sqlite3_value **);
        bool deterministic;
    };
    const Fn fns[] = {
        {"pnw_cv", 5, fnConvert, true},
        {"pnw_round", 2, fnRound, true},
        {"pnw_roundto", 2, fnRoundTo, true},
        {"pnw_idiv", 2, fnIntDiv, true},
        {"pnw_div", 3, fnDiv, true},
        {"pnw_iop", 4, fnIntOp, true},
        {"pnw_like", 2, fnLike, true},
        {"pnw_len", 1, fnLen, true},
        {"pnw_substring", 3, fnSubstring, true},
        {"pnw_left", 2, fnLeft, true},
        {"pnw_right", 2, fnRight, true},
        {"pnw_charindex", 2, fnCharIndex, true},
        {"pnw_reverse", 1, fnReverse, true},
        {"pnw_ltrim", 1, fnLtrim, true},
        {"pnw_rtrim", 1, fnRtrim, true},
        {"pnw_replace", 3, fnReplace, true},
        {"pnw_ascii", 1, fnAscii, true},
        {"pnw_abs", 1, fnAbs, true},
        {"pnw_datepart", 2, fnDatePart, true},
        {"pnw_monthdiff", 2, fnMonthDiff, true},
        {"pnw_addmonths", 2, fnAddMonths, true},
        {"pnw_getdate", 0, fnGetDate, false},
        {"pnw_adddays", 2, fnDateAddDays, true},
        {"pnw_ts", 0, fnTimestamp, false},
        {"pnw_raise", 1, fnRaise, false},
        {"pnw_raise", 3, fnRaise, false},
    };
    for (const auto &f : fns)
        sqlite3_create_function(db, f.name, f.argc, f.deterministic ? det : SQLITE_UTF8, nullptr, f.fn, nullptr,
                                nullptr);
    sqlite3_create_function(db, "pnw_sum", 2, SQLITE_UTF8, nullptr, nullptr, typedSumStep, typedSumFinal);
    sqlite3_create_function(db, "pnw_objectid", 1, SQLITE_UTF8, hooks, fnObjectId, nullptr, nullptr);
    sqlite3_create_function(db, "pnw_objectproperty", 2, SQLITE_UTF8, hooks, fnObjectProperty, nullptr, nullptr);
    sqlite3_create_function(db, "pnw_var", 1, SQLITE_UTF8, hooks, fnVariable, nullptr, nullptr);
    sqlite3_create_function(db, "pnw_dbname", 0, SQLITE_UTF8, hooks, fnDbName, nullptr, nullptr);
    sqlite3_create_function(db, "pnw_dbname", 1, SQLITE_UTF8, hooks, fnDbName, nullptr, nullptr);
}

}  // namespace server
