// Statements that change the schema or the session: each runs directly on
// the session (inside a savepoint the caller opens) and keeps the engine's
// catalogue in step with SQLite's tables.
#pragma once

#include "server/Ast.h"
#include "server/Catalog.h"
#include "server/ResultSet.h"

namespace server {

class Session;
class Translator;

void runCreateTable(Session &s, Translator &tr, const Statement &st);
void runDropTable(Session &s, Translator &tr, const Statement &st);
void runTruncate(Session &s, Translator &tr, const Statement &st);
void runAlterTable(Session &s, Translator &tr, const Statement &st);
void runCreateIndex(Session &s, Translator &tr, const Statement &st);
void runSelectInto(Session &s, Translator &tr, const Statement &st, BatchResult &out);
void runSetOption(Session &s, Translator &tr, const Statement &st);

// Temporary tables made and dropped over and over (a loop of CREATE TABLE or
// SELECT INTO and DROP TABLE): a dropped one is kept empty in SQLite and
// taken again by the next one of the same name and layout, so the loop
// leaves SQLite's schema, and every prepared statement, as it is.
// Makes the SQLite table of a new temporary table (keepable: without
// identity column).
// Making or dropping a kept table is told to the session, which gives each
// set of live kept tables one schema generation (Session::schemaChanged).
void makeTempTable(Session &s, const std::string &name, const std::string &ddl, const std::vector<ColumnInfo> &cols,
                   bool keepable);
// DROP TABLE of a temporary table: true when its SQLite table was kept
// (emptied) and must not be dropped.
bool keepDroppedTempTable(Session &s, const std::string &name, const std::string &sqlName);
// CREATE INDEX or ALTER TABLE on a temporary table: no SQLite table is
// taken again after it.
void forgetKeptTempTables(Session &s);

// Shared by CREATE TABLE and ALTER TABLE: the default constraint's name as
// the server makes it (DF__<table>__<column>__<8 hex digits>).
std::string defaultConstraintName(const std::string &table, const std::string &column, int id);
// The T-SQL text stored for a default expression (a constant).
std::string defaultText(const Expr &e);

}  // namespace server
