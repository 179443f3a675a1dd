// Where the installed Professional edition and its database server are
// found: the product's registry values, the server configuration file
// "DBConfig.veq" with the encoded server login, the connection-string
// template and the login part of account-set connection strings. Nothing is
// cached: every call reads the registry store or the file again.
// UI thread only.
#pragma once

#include <QString>

// The registry value "Version" of the product key ("" when absent).
QString GetProductVersion();
// The registry value "Path" of the product key ("1" when absent).
QString GetProductInstallPath();
// GetProductInstallPath() + "/Common/"; on a failure the operator is told
// and the result is "".
QString GetProductCommonPath();

// $CommonProgramFiles + "/Vantora/" ("/Vantora/" when the variable is unset).
QString GetCommonVendorPath();
// The server configuration file: GetCommonVendorPath() + "VEQ/DBConfig.veq".
QString ServerConfigFilePath();

// Reads and decodes the server login (section "ServerInfo2015" from version
// "14.1" on, decoded with DES; "ServerInfo" below, decoded by the update
// component) into user and password, and returns the connection-string
// template with "[AcctNo]" for the database, passed through
// ApplySqlInstance. On a failure returns "" and leaves user and password as
// they were. A login value that the connection-string syntax would misread
// (a ";", a quote first, blanks at an end) is quoted.
QString GetServerConnectionTemplate(QString &user, QString &password);
// Replaces both texts with their DES decoding under the program's key.
void DecodeServerLogin(QString &user, QString &password);

// g_LoginPart: ";Integrated Security=SSPI;Persist Security Info=False", or
// ";User ID=<user>;Password=<password>" with blanks trimmed at both ends
// (and quoted as GetServerConnectionTemplate quotes).
void SetLoginPart(bool useIntegrated, const QString &user, const QString &password);

// A connection-string value as written after "key=": unchanged when it is
// safe, else between double quotes (inner double quotes doubled).
QString ConnectionStringValue(const QString &value);

// Start-up after the version gate: g_InstalledVersion from the registry, and,
// when it is at or above minimumVersion, g_ConnectStringTemplate,
// g_AcctCtlConnectString, g_ServerUser and g_ServerPassword. True when the
// gate passed.
bool LoadServerConfiguration(const QString &minimumVersion);
