// The statement dispatchers: which part of the engine runs a statement of
// the batch (interpreter, server statements, DDL, translated plans), and
// which translator turns a query or change into SQLite SQL.
#include "server/Interpreter.h"
#include "server/Session.h"
#include "server/SqlError.h"
#include "server/Translator.h"

namespace server {

namespace {

bool isProcedural(StmtKind k) {
    switch (k) {
    case StmtKind::Select:
    case StmtKind::Insert:
    case StmtKind::Update:
    case StmtKind::Delete:
    case StmtKind::CreateTable:
    case StmtKind::DropTable:
    case StmtKind::AlterTable:
    case StmtKind::Truncate:
    case StmtKind::CreateIndex:
    case StmtKind::SetOption:
    case StmtKind::CreateDatabase:
    case StmtKind::DropDatabase:
    case StmtKind::Empty: return false;
    default: return true;
    }
}

bool hasAssignment(const Statement &st) {
    if (st.kind != StmtKind::Select || !st.select) return false;
    for (const auto &core : st.select->cores)
        for (const auto &item : core.items)
            if (!item.assignVariable.empty()) return true;
    return false;
}

}  // namespace

void Interpreter::runStatement(const Statement &st, BatchResult &out) {
    s_.checkAlive();
    switch (st.kind) {
    case StmtKind::Declare:  // declared when the batch started; met again in a loop it changes nothing
        return;
    case StmtKind::SetVariable: {
        variable(st.variable);
        SqlType type;
        Value v = evalValue(st, st.expr, 0, type);
        assign(st.variable, v, type);
        return;
    }
    case StmtKind::If:
        if (evalCondition(st, st.expr))
            runList(st.body, out);
        else
            runList(st.elseBody, out);
        return;
    case StmtKind::While:
        while (evalCondition(st, st.expr)) runList(st.body, out);
        return;
    case StmtKind::Block: runList(st.body, out); return;
    case StmtKind::CreateProcedure:
    case StmtKind::CreateTrigger: createModule(st); return;
    case StmtKind::DropModule: dropModule(st); return;
    case StmtKind::ToggleTrigger: toggleTrigger(st); return;
    case StmtKind::Exec: execProcedure(st, out); return;
    case StmtKind::ExecDynamic: execDynamic(st, out); return;
    case StmtKind::DeclareCursor: declareCursor(st); return;
    case StmtKind::OpenCursor: openCursor(st); return;
    case StmtKind::FetchCursor: fetchCursor(st, out); return;
    case StmtKind::CloseCursor: closeCursor(st); return;
    case StmtKind::DeallocateCursor: deallocateCursor(st); return;
    default: break;
    }
    if (isProcedural(st.kind)) {
        s_.runServerStatement(st, out);
        return;
    }
    if (hasAssignment(st)) {
        runAssignSelect(st, out);
        return;
    }
    runLeaf(st, out);
}

Plan Translator::translate(const Statement &s) {
    switch (s.kind) {
    case StmtKind::Select: return translateSelectStatement(s);
    case StmtKind::Insert: return translateInsert(s);
    case StmtKind::Update: return translateUpdate(s);
    case StmtKind::Delete: return translateDelete(s);
    default: throw makeError(102, "", "（内部：该语句不经翻译器）");
    }
}

}  // namespace server
