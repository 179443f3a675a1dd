// Where "Data Source=." finds the server instance folder.
//
// The environment variable PNW_SQL_INSTANCE_DIR names the folder of the
// default instance ("Data Source=.", also "(local)", "localhost" and
// "127.0.0.1"). A named instance ".\NAME" is the folder NAME beside it
// (<parent of PNW_SQL_INSTANCE_DIR>/NAME). Any other data source is a
// server that does not exist.
#pragma once

#include <QString>

namespace ado {

constexpr const char *kInstanceDirVariable = "PNW_SQL_INSTANCE_DIR";

// The instance folder for a data source; "" when there is none.
QString instanceFolder(const QString &dataSource);

}  // namespace ado
