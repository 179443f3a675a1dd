// The local SQL Server instance: the first entry of the registry's
// "InstalledInstances" list decides whether "Data Source=." names the
// default instance or ".\<name>". UI thread only.
#pragma once

#include <QString>

// A registry value under HKEY_LOCAL_MACHINE as text (a list value with its
// entries joined by NUL), blanks trimmed at both ends; "" when missing or
// unreadable. Never raises.
QString ReadHklmString(const QString &keyPath, const QString &valueName);
// The first listed instance; "" for the default instance (a name holding
// "MSSQLSERVER" in any case) or an empty list. Never raises.
QString GetLocalSqlInstanceName();
// Every "Data Source=.;" (any case) becomes "Data Source=.\<instance>;"
// when the first instance is a named one. Never raises ("" on a failure).
QString ApplySqlInstance(const QString &connectionString);
