#include "platform/PlatformSettings.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include <QDir>
#include <QStandardPaths>

#include "platform/PnwError.h"

namespace {

struct Overrides {
    std::optional<int> codePage;
    std::optional<QString> shortDate;
    std::optional<QString> longTime;
    std::optional<QString> dataFolder;
    std::optional<QString> registryFile;
    std::optional<QString> usageUrl;
    std::optional<int> usageTimeout;
};

Overrides &overrides() {
    static Overrides o;
    return o;
}

QString envOr(const char *name, const QString &fallback) {
    const QString v = qEnvironmentVariable(name);
    return v.isEmpty() ? fallback : v;
}

QString withoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

}  // namespace

bool PlatformSettings::isSupportedCodePage(int codePage) {
    return codePage == 936 || codePage == 950 || codePage == 1252;
}

int PlatformSettings::ansiCodePage() {
    if (overrides().codePage) return *overrides().codePage;
    const QString env = qEnvironmentVariable("PNW_ANSI_CODEPAGE").trimmed();
    if (env.isEmpty()) return 936;
    bool ok = false;
    const int cp = env.toInt(&ok);
    if (ok && isSupportedCodePage(cp)) return cp;
    static bool warned = false;
    if (!warned) {
        warned = true;
        std::fprintf(stderr, "PNW_ANSI_CODEPAGE=%s is not 936, 950 or 1252; using 936\n", qPrintable(env));
    }
    return 936;
}

void PlatformSettings::setAnsiCodePage(int codePage) {
    if (!isSupportedCodePage(codePage))
        throw PnwError(5, QStringLiteral("PlatformSettings"),
                       QStringLiteral("不支持的代码页：%1（可用 936、950、1252）").arg(codePage));
    overrides().codePage = codePage;
}

QString PlatformSettings::shortDateFormat() {
    return overrides().shortDate.value_or(envOr("PNW_SHORT_DATE_FORMAT", QStringLiteral("yyyy/M/d")));
}

void PlatformSettings::setShortDateFormat(const QString &format) { overrides().shortDate = format; }

QString PlatformSettings::longTimeFormat() {
    return overrides().longTime.value_or(envOr("PNW_LONG_TIME_FORMAT", QStringLiteral("H:mm:ss")));
}

void PlatformSettings::setLongTimeFormat(const QString &format) { overrides().longTime = format; }

QString PlatformSettings::dataFolder() {
    QString path = overrides().dataFolder.value_or(qEnvironmentVariable("PNW_DATA_DIR"));
    if (path.isEmpty())
        path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/AcctUpgrade");
    path = withoutTrailingSlash(path);
    QDir().mkpath(path);  // a failure shows when a file is written there
    return path;
}

void PlatformSettings::setDataFolder(const QString &path) { overrides().dataFolder = path; }

QString PlatformSettings::registryFile() {
    QString path = overrides().registryFile.value_or(qEnvironmentVariable("PNW_REGISTRY_FILE"));
    if (path.isEmpty())
        path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/AcctUpgrade/registry.txt");
    return path;
}

void PlatformSettings::setRegistryFile(const QString &path) { overrides().registryFile = path; }

QString PlatformSettings::usageServiceUrl() {
    return overrides().usageUrl.value_or(qEnvironmentVariable("PNW_USAGE_SERVICE_URL"));
}

void PlatformSettings::setUsageServiceUrl(const QString &url) { overrides().usageUrl = url; }

int PlatformSettings::usageTimeoutMs() {
    if (overrides().usageTimeout) return *overrides().usageTimeout;
    bool ok = false;
    const int ms = qEnvironmentVariable("PNW_USAGE_TIMEOUT_MS").toInt(&ok);
    return ok && ms > 0 ? ms : 3000;
}

void PlatformSettings::setUsageTimeoutMs(int milliseconds) { overrides().usageTimeout = std::max(1, milliseconds); }

void PlatformSettings::resetToEnvironment() { overrides() = Overrides{}; }
