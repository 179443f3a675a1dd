// Which file the source is and what it holds, as far as a cheap look can
// tell: device and inode, size, modification and change times and a digest
// of its header page (the change time also moves when a rewrite puts the
// modification time back). The server opens the source anew for every
// staged table, so account creation takes this once and compares it around
// each table: a source replaced or rewritten meanwhile would mix two files'
// data. The server keeps its own such identity for the readers it reuses;
// this one is the client's check, on its side of the connection.
#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

struct SourceIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    QByteArray headerDigest;

    // The identity of the file at path; nullopt when it cannot be looked at.
    static std::optional<SourceIdentity> Of(const QString &path);
    bool operator==(const SourceIdentity &) const = default;
};
