// A test seam of the server: makes one chosen statement fail with a given
// error, as if the server had raised it, so that callers' failure paths can
// be driven through the real engine. Process-wide; compiled in always and
// inert until armed: each statement then costs one test of a flag. Counts
// DML statements and queries (every translated plan the sessions run, inside
// procedures and triggers too); DDL is not counted. The statement fails
// before any of it runs; an armed fault fires once and then disarms itself.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

namespace server {

struct Plan;

// Told the translated SQL of each step of a statement about to run (the
// SQLite text: tables appear as "schema"."name"); true picks the statement.
using StatementMatch = std::function<bool(std::string_view sql)>;

// The nth statement from now (1: the very next) fails with the server error
// errorNumber; text "" takes the number's own message.
void FailStatementAfter(int n, int errorNumber, const std::string &text = {});
// The nth statement from now that match picks fails likewise.
void FailStatementWhen(StatementMatch match, int errorNumber, const std::string &text = {}, int n = 1);
// Disarms any fault and forgets whether one fired.
void ResetFaults();
// Whether the fault armed last has fired.
bool FaultFired();

// For a StatementMatch: the step inserts into, updates or deletes from the
// table of that name (any schema, case ignored).
bool WritesTable(std::string_view sql, std::string_view table);

namespace fault_detail {
extern std::atomic<bool> armed;
void raiseIfDue(const Plan &plan);
}  // namespace fault_detail

// The sessions' hook, called once per statement before it runs.
inline void CheckStatementFault(const Plan &plan) {
    if (fault_detail::armed.load(std::memory_order_relaxed)) fault_detail::raiseIfDue(plan);
}

}  // namespace server
