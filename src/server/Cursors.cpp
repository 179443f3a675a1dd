// Cursors: global per session and static; OPEN runs the select and keeps
// its rows, FETCH hands them out one at a time.
#include <sqlite3.h>

#include "server/Interpreter.h"
#include "server/Session.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"

namespace server {

Interpreter::Cursor &Interpreter::cursor(const std::string &name) {
    auto it = cursors_.find(lowerAscii(name));
    if (it == cursors_.end()) throw makeError(16916, name);
    return it->second;
}

void Interpreter::declareCursor(const Statement &st) {
    std::string key = lowerAscii(st.variable);
    if (cursors_.count(key)) throw makeError(16915, st.variable);
    Translator tr(s_, st.literalBase);
    Statement q;
    q.kind = StmtKind::Select;
    q.select = st.select;
    Plan plan = tr.translate(q);
    Cursor c;
    c.steps = plan.steps;
    c.literals = *frame_->literals;
    c.literalBase = st.literalBase;
    c.vars = frame_->vars;
    c.refreshProcesses = plan.refreshProcesses;
    cursors_[key] = std::move(c);
}

void Interpreter::openCursor(const Statement &st) {
    Cursor &c = cursor(st.variable);
    if (c.open) throw makeError(16905);
    // The select sees the variables as they are now.
    Frame frame;
    frame.vars = frame_->vars;
    for (const auto &[k, v] : c.vars) frame.vars.emplace(k, v);
    frame.literals = &c.literals;
    static const std::vector<Value> noParams;
    frame.params = &noParams;
    Frame *saved = frame_;
    frame_ = &frame;
    Plan plan;
    plan.steps = c.steps;
    plan.refreshProcesses = c.refreshProcesses;
    BatchResult rows;
    try {
        s_.runPlan(plan, c.literals, c.literalBase, noParams, rows);
    } catch (...) {
        frame_ = saved;
        throw;
    }
    frame_ = saved;
    c.rows.clear();
    c.types.clear();
    if (!rows.resultSets.empty()) {
        c.rows = std::move(rows.resultSets.back().rows);
        c.columns = rows.resultSets.back().columns;
        for (const auto &col : c.columns) c.types.push_back(col.type);
    }
    c.next = 0;
    c.open = true;
}

void Interpreter::closeCursor(const Statement &st) {
    Cursor &c = cursor(st.variable);
    if (!c.open) throw makeError(16917);
    c.open = false;
    c.rows.clear();
}

void Interpreter::deallocateCursor(const Statement &st) {
    cursor(st.variable);
    cursors_.erase(lowerAscii(st.variable));
}

void Interpreter::fetchCursor(const Statement &st, BatchResult &out) {
    Cursor &c = cursor(st.variable);
    if (!c.open) throw makeError(16917);
    if (!st.intoVars.empty() && st.intoVars.size() != c.types.size()) throw makeError(16924);
    for (const auto &v : st.intoVars) variable(v);
    if (c.next >= c.rows.size()) {
        fetchStatus_ = -1;
        return;
    }
    const auto &row = c.rows[c.next++];
    for (size_t i = 0; i < st.intoVars.size(); ++i) assign(st.intoVars[i], row[i], c.types[i]);
    fetchStatus_ = 0;
    if (st.intoVars.empty()) {
        // Without INTO the row goes to the client.
        ResultSet rs;
        rs.columns = c.columns;
        rs.rows.push_back(row);
        out.resultSets.push_back(std::move(rs));
    }
}

}  // namespace server
