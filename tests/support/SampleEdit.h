// A source account set made from a sample's table text with some tables
// changed for one case, written as a real .ais file with its workgroup file
// into a folder of the test's own. Changes are written as table text: a line
// of the column names given, then one line a row with its cells in that
// order (tab-separated, "\N" for NULL); columns not named are NULL.
#pragma once

#include <QList>
#include <QString>

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

// Writes "<folder>/edited.ais" and "<folder>/system.mda" from the sample
// ("standard", "mini", ...) under samples/; returns the .ais path. A change
// naming a table or column the sample lacks fails the test that made it.
QString BuildSampleEdit(const QString &folder, const QString &sample, const QList<TableEdit> &edits);
