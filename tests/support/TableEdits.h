// Changes of a sample's tables for one case, written by column name: a line
// of the column names given, then one line a row with its cells in that
// order (tab-separated, "\N" for NULL); columns not named are NULL. Applied
// through the edit of support/SampleTables.h.
#pragma once

#include <QList>
#include <QString>

#include "support/SampleTables.h"

struct TableEdit {
    enum class Kind {
        Add,      // the rows join the table's own
        Replace,  // the rows are the table's only ones
        Set,      // the one row's cells go into every row of the table
    };
    Kind kind;
    QString table;
    QString text;

    static TableEdit add(const QString &table, const QString &text) { return {Kind::Add, table, text}; }
    static TableEdit replace(const QString &table, const QString &text) { return {Kind::Replace, table, text}; }
    static TableEdit set(const QString &table, const QString &text) { return {Kind::Set, table, text}; }
};

// The edit that makes these changes; a table or column the sample lacks
// fails the calling test.
SampleEdit TableEdits(const QList<TableEdit> &edits);
