// A packed detail log built from a recordset: a title, the captions, and one
// row per record with one cell per named column (Null shown as "").
#pragma once

#include <QString>
#include <QStringList>

#include "platform/PnwList.h"

namespace ado {
class Recordset;
}

class FaDetailLog {
public:
    FaDetailLog(const QString &title, const QStringList &captions);
    // Appends one row of cells.
    void addRow(const QStringList &cells);
    // The record's columns as text, Null as "".
    static QStringList cells(const ado::Recordset &rs, const QStringList &columns);
    const PnwList &list() const { return m_list; }

private:
    PnwList m_list;
    PnwList m_rows;
};

// The codes of a warning's cards, each once in first-seen order, joined
// with "、".
class FaCardList {
public:
    void add(const QString &code) {
        if (!m_codes.contains(code)) m_codes << code;
    }
    QString text() const { return m_codes.join(QStringLiteral("、")); }

private:
    QStringList m_codes;
};
