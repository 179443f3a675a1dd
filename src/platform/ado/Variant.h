// Values between the server and the ADO stand-in: a server value read
// through its declared type (money and decimal as double, bit as bool,
// datetime as QDateTime, text as QString, image as QByteArray, Null as an
// invalid QVariant), and client values bound to parameter markers.
#pragma once

#include <QVariant>

#include <vector>

#include "server/SqlType.h"
#include "server/Value.h"

namespace ado {

QVariant toVariant(const server::Value &v, const server::SqlType &type);
int adoType(const server::SqlType &type);
server::Value toServerValue(const QVariant &v);
std::vector<server::Value> toServerValues(const std::vector<QVariant> &values);

}  // namespace ado
