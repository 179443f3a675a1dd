// The registry stand-in's storage: keys and their values in a readable
// UTF-8 text file, read and written whole.
//
//   ; comment
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Vantora\VEQPRODUCT]
//   "Version"="14.1"
//   "Path"="/opt/veq"
//   @="the key's default value"
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Microsoft SQL Server]
//   "InstalledInstances"=multi:"MSSQLSERVER","SQLEXPRESS"
//
// Inside quotes, \\ \" \n \r \t are escapes. Key paths and value names
// compare case-insensitively; "HKLM" and "HKCU" stand for the full hive
// names. Not thread-safe.
#pragma once

#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

class RegistryFile {
public:
    struct Value {
        QString name;  // "" is the key's default value (written "@")
        bool multi = false;
        QStringList data;  // one entry for a plain text value
    };

    // Reads path. A missing file is an empty registry. An unreadable file
    // or one that does not parse raises PnwError -1 naming the file and the
    // line; nothing is changed then.
    static RegistryFile load(const QString &path);
    // Writes the whole store to path atomically (parent folders created);
    // raises PnwError -1 when it cannot.
    void save(const QString &path) const;

    static QString normalizeKeyPath(const QString &keyPath);

    std::optional<Value> value(const QString &keyPath, const QString &name) const;
    bool keyExists(const QString &keyPath) const;
    void setValue(const QString &keyPath, const Value &value);
    // True when the value existed.
    bool removeValue(const QString &keyPath, const QString &name);

    QString toText() const;
    // Parses text; raises PnwError -1 with the line number on bad syntax.
    static RegistryFile fromText(const QString &text, const QString &origin);

private:
    struct Key {
        QString path;
        QList<Value> values;
    };
    int findKey(const QString &keyPath) const;
    QList<Key> m_keys;
};
