// One wizard per user session: the first copy holds a lock file and listens
// on a local socket; a later copy finds the lock held, asks the first to
// come to the front and ends. A lock left by a copy that died is taken over.
// UI thread only.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLockFile;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // key names the program; the lock file and the socket are derived from
    // it and the user's name.
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this copy is the first (and now holds the lock). False when
    // another copy runs: that copy has been asked to come to the front.
    bool acquire();
    bool isPrimary() const { return m_primary; }

    QString lockFilePath() const;
    QString serverName() const;

signals:
    // A later copy asked this one to come to the front.
    void raiseRequested();

private:
    QString m_key;
    QLockFile *m_lock = nullptr;
    QLocalServer *m_server = nullptr;
    bool m_primary = false;
};
