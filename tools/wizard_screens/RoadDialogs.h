// The mapping dialogs on the real road of the screenshots: while it lives,
// every dialog the run shows (through the dialog seam) is pictured as it
// opens with the account set's own rows, and then answered as an operator
// would (the natures the names leave open as customers, one unit for every
// quantity account, the first business unit as a customer, the pay items'
// types through the type picker, a typed number for every bank account).
// Each picture is told on stdout: "dialog <tab> name <tab> rows".
// UI thread only.
#pragma once

#include <QSet>
#include <QString>

#include "dialogs/DialogSeam.h"

class QDialog;

class RoadDialogs {
public:
    explicit RoadDialogs(const QString &out);
    ~RoadDialogs();
    RoadDialogs(const RoadDialogs &) = delete;
    RoadDialogs &operator=(const RoadDialogs &) = delete;

    // The names of the dialogs pictured so far ("subledgernature", "unit",
    // "bussinessunits", "papointdatatype", "datatype", "setbankaccount").
    const QSet<QString> &shot() const { return m_shot; }

private:
    void answer(QDialog &dialog);
    void shoot(QDialog &dialog, const QString &name, const QString &rows);

    QString m_out;
    QSet<QString> m_shot;
    DialogSeam::Responder m_previous;
};
