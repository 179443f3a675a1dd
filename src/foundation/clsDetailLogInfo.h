// Builds the detail table of one upgrade-log entry: a title, a caption row
// and entry rows (each a PnwList of cells made with AddValueCell), packed for
// WriteUpgradeLog. One instance per detail table. Members report failure by
// their results and never raise. UI thread only.
#pragma once

#include <cstddef>

#include <QString>

#include "platform/PnwList.h"

class clsDetailLogInfo {
public:
    QString Title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }

    // Appends one caption cell; False when that failed.
    bool InsertCaption(const QString &strCaption);
    // Appends a row (shared, not copied).
    bool InsertSingleEntry(const PnwList &objVectEntry);
    // No row: passed over, True.
    bool InsertSingleEntry(std::nullptr_t) { return true; }
    // The packed detail log: { {"Project": title}, {captions, rows...} },
    // made anew on each call; an empty list when making it failed.
    PnwList PackDetailLog() const;

private:
    QString m_title;
    PnwList m_captions;
    PnwList m_entries;
};
