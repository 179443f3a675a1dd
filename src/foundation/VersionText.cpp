#include "foundation/VersionText.h"

bool VersionAtLeast(const QString &version, const QString &minimum) {
    return QString::compare(version, minimum, Qt::CaseSensitive) >= 0;
}
