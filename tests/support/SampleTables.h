// A source account set made from a sample's table text with whole tables
// edited (rows added, cells changed, tables left out) and written as a real
// .ais file with its workgroup file into a folder of the test's own: the
// shape a case needs, kept next to the case as table text.
#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

#include "jet/TableText.h"

using SampleTables = std::vector<jet::TableText>;
using SampleEdit = std::function<void(SampleTables &)>;

// The table of that name; a missing table fails the calling test (and
// gives a table of no columns that the edit then leaves untouched).
jet::TableText &SampleTable(SampleTables &tables, const QString &name);
// Appends rows written as table text (one row a line, cells separated by
// tabs in the table's column order, \N for NULL).
void AppendSampleRows(jet::TableText &table, const QString &rows);
// Sets a column's cell to value ("\N" for NULL) in every row whose cell in
// column `where` is one of `keys` (every row when keys is empty).
void SetSampleCells(jet::TableText &table, const QString &column, const QString &value,
                    const QString &where = QString(), const QStringList &keys = {});
// Leaves the named tables out of the set.
void DropSampleTables(SampleTables &tables, const QStringList &names);

// Writes "<folder>/edited.ais" and "<folder>/system.mda" from the sample's
// table text (samples/<sample>) after `edit`. Returns the .ais path.
QString BuildEditedSample(const QString &folder, const QString &sample, const SampleEdit &edit);
