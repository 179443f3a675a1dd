#include "foundation/ProductVersion.h"

#include "platform/PnwReg.h"

QString GetProductVersion() {
    return PnwReg().GetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\VEQPRODUCT"),
                                QStringLiteral("Version"), QString());
}
