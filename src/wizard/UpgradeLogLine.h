// One line of the upgrade log as the log pages show it: status name, date
// and time, project, description, detail text and detail-table name. The
// fields travel as this structure, so a "|" inside a text stays in its
// field. UI thread only.
#pragma once

#include <QString>

struct UpgradeLogLine {
    QString status;  // "成功", "警告", "错误" or ""
    QString time;
    QString project;
    QString description;
    QString detail;
    QString link;  // the detail table's name, "" without one

    // The six fields joined by "|".
    QString toText() const;
    // Reads a joined line. Only the description may hold "|": the first
    // three fields are taken from the left, the last two from the right.
    // Missing fields are "".
    static UpgradeLogLine fromText(const QString &text);
};
