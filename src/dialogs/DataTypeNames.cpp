#include "dialogs/DataTypeNames.h"

namespace DataTypeNames {

QString GetDataTypeName(int code) {
    switch (code) {
    case 2:
    case 3:
    case 16:
    case 17:
    case 18:
    case 19:
    case 21: return QStringLiteral("整数");
    case 4:
    case 5: return QStringLiteral("实数");
    case 6: return QStringLiteral("货币");
    case 7:
    case 133:
    case 134:
    case 135: return QStringLiteral("日期");
    case 11: return QStringLiteral("逻辑");
    case 14: return QStringLiteral("数字");
    case 129:
    case 130:
    case 200:
    case 202: return QStringLiteral("文本");
    default: return QStringLiteral("其他");
    }
}

}  // namespace DataTypeNames
