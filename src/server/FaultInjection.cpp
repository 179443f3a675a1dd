#include "server/FaultInjection.h"

#include <cctype>
#include <mutex>

#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Translator.h"

namespace server {

namespace fault_detail {
std::atomic<bool> armed{false};
}  // namespace fault_detail

namespace {

struct Fault {
    StatementMatch match;  // empty: every statement
    int remaining = 0;     // matching statements still to let through, plus one
    int number = 0;
    std::string text;
    bool fired = false;
};

std::recursive_mutex &faultMutex() {
    static std::recursive_mutex m;
    return m;
}

Fault &fault() {
    static Fault f;
    return f;
}

void arm(StatementMatch match, int n, int errorNumber, const std::string &text) {
    std::lock_guard<std::recursive_mutex> lock(faultMutex());
    fault() = Fault{std::move(match), n < 1 ? 1 : n, errorNumber, text, false};
    fault_detail::armed.store(true);
}

// The table name at the start of sql: a dotted path of quoted or bare
// identifiers, of which the last part is returned.
std::string leadingTableName(std::string_view sql) {
    std::string last;
    size_t i = 0;
    while (i < sql.size()) {
        std::string part;
        if (sql[i] == '"' || sql[i] == '[') {
            const char close = sql[i] == '"' ? '"' : ']';
            ++i;
            while (i < sql.size()) {
                if (sql[i] == close) {
                    if (i + 1 < sql.size() && sql[i + 1] == close) {
                        part += close;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                part += sql[i++];
            }
        } else {
            while (i < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[i])) || sql[i] == '_' ||
                                      sql[i] == '#' || static_cast<unsigned char>(sql[i]) >= 0x80))
                part += sql[i++];
        }
        if (part.empty()) break;
        last = part;
        if (i < sql.size() && sql[i] == '.')
            ++i;
        else
            break;
    }
    return last;
}

}  // namespace

void FailStatementAfter(int n, int errorNumber, const std::string &text) { arm({}, n, errorNumber, text); }

void FailStatementWhen(StatementMatch match, int errorNumber, const std::string &text, int n) {
    arm(std::move(match), n, errorNumber, text);
}

void ResetFaults() {
    std::lock_guard<std::recursive_mutex> lock(faultMutex());
    fault_detail::armed.store(false);
    fault() = Fault{};
}

bool FaultFired() {
    std::lock_guard<std::recursive_mutex> lock(faultMutex());
    return fault().fired;
}

bool WritesTable(std::string_view sql, std::string_view table) {
    for (std::string_view verb : {"INSERT INTO ", "UPDATE ", "DELETE FROM "}) {
        if (sql.size() > verb.size() && iequals(sql.substr(0, verb.size()), verb))
            return iequals(leadingTableName(sql.substr(verb.size())), table);
    }
    return false;
}

namespace fault_detail {

void raiseIfDue(const Plan &plan) {
    std::unique_lock<std::recursive_mutex> lock(faultMutex());
    Fault &f = fault();
    if (!armed.load() || f.fired) return;
    bool picked = !f.match;
    for (size_t i = 0; !picked && i < plan.steps.size(); ++i) picked = f.match(plan.steps[i].sql);
    if (!picked || --f.remaining > 0) return;
    f.fired = true;
    armed.store(false);
    const SqlError error = f.text.empty() ? makeError(f.number) : SqlError(f.number, f.text);
    lock.unlock();
    throw error;
}

}  // namespace fault_detail

}  // namespace server
