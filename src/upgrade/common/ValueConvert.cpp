#include "upgrade/common/ValueConvert.h"

#include <cmath>
#include <limits>

bool ToLong(const QVariant &value, int &out) {
    if (!value.isValid() || value.isNull()) return false;
    bool ok = false;
    double d = 0;
    switch (value.typeId()) {
    case QMetaType::Bool: out = value.toBool() ? -1 : 0; return true;
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        const qlonglong whole = text.toLongLong(&ok);
        if (ok) {
            if (whole < std::numeric_limits<int>::min() || whole > std::numeric_limits<int>::max()) return false;
            out = static_cast<int>(whole);
            return true;
        }
        d = text.toDouble(&ok);
        break;
    }
    default: d = value.toDouble(&ok); break;
    }
    if (!ok || !std::isfinite(d)) return false;
    // Rounded to the nearest whole number, half to even, as a conversion of
    // the number to a 32-bit integer does.
    const double r = std::nearbyint(d);
    if (r < std::numeric_limits<int>::min() || r > std::numeric_limits<int>::max()) return false;
    out = static_cast<int>(r);
    return true;
}
