// Machine settings that Windows would provide: the ANSI code page,
// the regional short-date and long-time formats, the program's data folder
// (where "LOG/" and "AcctUpgradeLog/" go), the registry store's file and the
// usage-statistics service address. Each is read from its environment
// variable on first use and may be overridden in-process (the program at
// start-up, tests). UI thread only.
//
//   PNW_ANSI_CODEPAGE      936 (default), 950 or 1252
//   PNW_SHORT_DATE_FORMAT  Qt date format, default "yyyy/M/d"
//   PNW_LONG_TIME_FORMAT   Qt time format, default "H:mm:ss"
//   PNW_DATA_DIR           default <user data dir>/AcctUpgrade
//   PNW_REGISTRY_FILE      default <user config dir>/AcctUpgrade/registry.txt
//   PNW_USAGE_SERVICE_URL  default "" (no usage statistics are sent)
//   PNW_USAGE_TIMEOUT_MS   default 3000
#pragma once

#include <QString>

class PlatformSettings {
public:
    // The ANSI code page: 936, 950 or 1252. An unsupported value in the
    // environment falls back to 936 and is reported on stderr once.
    static int ansiCodePage();
    // REQUIRES codePage is 936, 950 or 1252; otherwise raises PnwError 5.
    static void setAnsiCodePage(int codePage);
    static bool isSupportedCodePage(int codePage);

    static QString shortDateFormat();
    static void setShortDateFormat(const QString &format);
    static QString longTimeFormat();
    static void setLongTimeFormat(const QString &format);

    // The data folder without a trailing "/"; created (with its parents)
    // when missing, so callers only make their own subfolder.
    static QString dataFolder();
    static void setDataFolder(const QString &path);

    static QString registryFile();
    static void setRegistryFile(const QString &path);

    static QString usageServiceUrl();
    static void setUsageServiceUrl(const QString &url);
    // How long one usage request may keep the window waiting, at least 1 ms.
    static int usageTimeoutMs();
    static void setUsageTimeoutMs(int milliseconds);

    // Drops every in-process override; the next read takes the environment.
    static void resetToEnvironment();
};
