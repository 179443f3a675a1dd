#include "platform/ado/Command.h"

#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "platform/ado/Variant.h"
#include "server/Session.h"

namespace ado {

Parameter Command::CreateParameter(const QString &name, int type, int direction, qint64 size, const QVariant &value) {
    Parameter p;
    p.Name = name;
    p.Type = type;
    p.Direction = direction;
    p.Size = size;
    p.Value = value;
    return p;
}

Recordset Command::Execute(qint64 *recordsAffected) {
    if (!ActiveConnection || !ActiveConnection->session())
        throw AdoError(3709, QStringLiteral("ADODB.Command"),
                       QStringLiteral("连接无法用于执行此操作。在此上下文中它可能已被关闭或无效。"), 0x800A0E7Du);
    std::vector<QVariant> values;
    for (const auto &p : Parameters) {
        QVariant v = p.Value;
        if (p.Type == adLongVarBinary && v.isValid() && !v.isNull())
            v = v.toByteArray();
        else if ((p.Type == adVarWChar || p.Type == adLongVarWChar || p.Type == adVarChar) && v.isValid() &&
                 !v.isNull())
            v = v.toString();
        values.push_back(v);
    }
    auto session = ActiveConnection->session();
    server::BatchResult r = runBatch(*session, CommandText, toServerValues(values));
    if (recordsAffected) *recordsAffected = r.rowsAffected;
    return recordsetFrom(r, session);
}

}  // namespace ado
