#include "foundation/clsDetailLogInfo.h"

#include "foundation/UpgradeLog.h"
#include "platform/PnwDictionary.h"

bool clsDetailLogInfo::InsertCaption(const QString &strCaption) {
    try {
        AddValueCell(m_captions, strCaption);
        return true;
    } catch (...) {
        return false;
    }
}

bool clsDetailLogInfo::InsertSingleEntry(const PnwList &objVectEntry) {
    try {
        m_entries.Add(objVectEntry);
        return true;
    } catch (...) {
        return false;
    }
}

PnwList clsDetailLogInfo::PackDetailLog() const {
    try {
        PnwDictionary head;
        head.setItem(QStringLiteral("Project"), m_title);
        PnwList rows;
        rows.Add(m_captions);
        for (int i = 1; i <= m_entries.Count(); ++i) rows.Add(m_entries.Item(i));
        PnwList packed;
        packed.Add(head);
        packed.Add(rows);
        return packed;
    } catch (...) {
        return PnwList();
    }
}
