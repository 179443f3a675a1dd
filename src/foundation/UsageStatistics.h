// Usage events ("LOAD", "OptionAll", "SUCCESS", a step code, ...) reported
// to the product's statistics service: one POST per event to
// "<service>/logCustom.do?guid=1000000000&text={record} ". The service
// address is PlatformSettings::usageServiceUrl(); while it is empty nothing
// is sent. A request waits at most PlatformSettings::usageTimeoutMs().
// UI thread only.
#pragma once

#include <QDateTime>
#include <QString>

// Sends one event under the key of g_InstalledVersion; never fails.
void ReportUsage(const QString &eventText);

// Sends one event. True unless the reply names 0 between its first two
// "#"; also True when no service is set (nothing sent). Raises PnwError on
// failure: -1 when the service cannot be reached or does not answer in
// time, 5 when the reply lacks two "#", 13 when no whole number stands
// between them.
bool SendUsageStatistic(const QString &functionKey, const QString &functionValue, const QString &accountName);

// "C009C006" below version "14.1", else "C009C007" (text compare, any case).
QString UsageKey(const QString &installedVersion);

// The usage record, exactly as placed into the query's "text" value.
QString UsageRecord(const QString &functionKey, const QString &functionValue, const QString &accountName,
                    const QDateTime &moment);

// Each UTF-16 unit from 0x80 up as "%XX" escapes of its UTF-8 bytes;
// units below 0x80 unchanged.
QString UrlEncodeUtf8(const QString &text);

// The text for a query value: UrlEncodeUtf8, and besides "#", "&", "+",
// "%", blanks and control characters as "%XX", so that the value stays
// one value of the query.
QString EncodeQueryValue(const QString &text);
