#include "wizard/UpgradeLogLine.h"

#include <QStringList>

QString UpgradeLogLine::toText() const {
    return QStringList{status, time, project, description, detail, link}.join(QLatin1Char('|'));
}

UpgradeLogLine UpgradeLogLine::fromText(const QString &text) {
    QStringList parts = text.split(QLatin1Char('|'));
    UpgradeLogLine line;
    if (parts.size() > 6) {
        // The surplus separators belong to the description.
        const QStringList middle = parts.mid(3, parts.size() - 5);
        parts = parts.mid(0, 3) + QStringList{middle.join(QLatin1Char('|'))} + parts.mid(parts.size() - 2);
    }
    while (parts.size() < 6) parts.append(QString());
    line.status = parts[0];
    line.time = parts[1];
    line.project = parts[2];
    line.description = parts[3];
    line.detail = parts[4];
    line.link = parts[5];
    return line;
}
