// A fresh server instance in a temporary folder: login sa / "pw", the
// databases asked for, sessions on it straight through the engine. With
// reachable, the ADO stand-in reaches it as "Data Source=." while the object
// lives. Releases the instance when it ends.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "server/Instance.h"
#include "server/Session.h"

class TestServer {
public:
    enum class Reach { EngineOnly, AsDefaultInstance };

    // The first database is the one connect() and connectionString() use
    // when none is named. Throws the engine's error when one cannot be made.
    explicit TestServer(std::initializer_list<const char *> databases = {"test"}, Reach reach = Reach::EngineOnly);
    ~TestServer();
    TestServer(const TestServer &) = delete;
    TestServer &operator=(const TestServer &) = delete;

    // A session as sa on a database.
    std::unique_ptr<server::Session> connect(const std::string &database = std::string());
    // Runs a batch as sa through the engine; "" or the first error's text.
    QString execute(const std::string &database, const std::string &sql) const;
    // The ADO connection string of a database of the default instance.
    QString connectionString(const QString &database = QString()) const;

    // The temporary folder everything of the test goes into.
    QString path() const { return m_dir.path(); }
    // The instance folder, inside path().
    std::string folder() const { return (m_dir.path() + QStringLiteral("/MSSQLSERVER")).toStdString(); }

    std::shared_ptr<server::Instance> instance;

private:
    QTemporaryDir m_dir;
    std::string m_firstDatabase;
    bool m_reachable = false;
    QByteArray m_previousInstance;
};
