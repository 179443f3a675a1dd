// An ADO command: text, time-out and input parameters bound to the ? markers
// in order (long binary values become image bytes, texts wide text).
#pragma once

#include <QString>
#include <QVariant>

#include <vector>

#include "platform/ado/AdoTypes.h"
#include "platform/ado/Recordset.h"

namespace ado {

class Connection;

struct Parameter {
    QString Name;
    int Type = adVariant;
    int Direction = adParamInput;
    qint64 Size = 0;
    QVariant Value;
};

class Command {
public:
    Connection *ActiveConnection = nullptr;
    QString CommandText;
    int CommandTimeout = 30;
    int CommandType = adCmdText;
    std::vector<Parameter> Parameters;

    static Parameter CreateParameter(const QString &name, int type, int direction, qint64 size, const QVariant &value);
    // REQUIRES: ActiveConnection is open.
    Recordset Execute(qint64 *recordsAffected = nullptr);
};

}  // namespace ado
