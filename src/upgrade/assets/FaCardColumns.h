// The 30 card columns in the order t_FABalCard, t_FACardMulAlter and the
// card work tables hold them.
#pragma once

#include <QString>

// "FAssetNumber, FAssetName, ..." with each column prefixed by prefix
// ("c." or "").
QString FaCardColumns(const QString &prefix = QString());
// The column definitions of the card work table TempFACard / #TempFACard
// (without FAssetID and FPeriod); numType is the type of FNum.
QString FaCardColumnDefinitions(const QString &numType);
