// The registry class of the component library: values under full key paths
// ("HKEY_LOCAL_MACHINE\SOFTWARE\..."), read and written as text. The store
// is the file of PlatformSettings::registryFile() (or the one given), read
// again on every call. Key paths and value names are case-insensitive; ""
// names a key's default value. Errors are PnwError -1 (file unreadable,
// not parsable or not writable); a missing file is an empty registry.
#pragma once

#include <QString>
#include <QStringList>

class PnwReg {
public:
    PnwReg();
    explicit PnwReg(const QString &file);

    const QString &file() const { return m_file; }

    // The value as text, or defaultValue when the key or value is absent.
    // A multi-string value gives its entries joined by NUL characters.
    QString GetKeyValue(const QString &keyPath, const QString &valueName, const QString &defaultValue) const;
    // The entries of a value (one for a plain text); empty when absent.
    QStringList GetMultiStringValue(const QString &keyPath, const QString &valueName) const;
    bool KeyExists(const QString &keyPath) const;

    // Writes a text value, creating the key when missing.
    void SetKeyValue(const QString &keyPath, const QString &valueName, const QString &value) const;
    void SetMultiStringValue(const QString &keyPath, const QString &valueName, const QStringList &entries) const;
    // True when the value existed.
    bool DeleteValue(const QString &keyPath, const QString &valueName) const;

private:
    QString m_file;
};
