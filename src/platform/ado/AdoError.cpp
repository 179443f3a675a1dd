#include "platform/ado/AdoError.h"

namespace ado {

namespace {
const char *kAdoSource = "ADODB.Recordset";
}

AdoError::AdoError(int number, QString source, QString description, quint32 providerCode)
    : number_(number), source_(std::move(source)), description_(std::move(description)), providerCode_(providerCode),
      what_(QStringLiteral("%1: %2").arg(number_).arg(description_).toStdString()) {}

AdoError noCurrentRecord() {
    return AdoError(
        3021, kAdoSource,
        QStringLiteral("BOF 或 EOF 中有一个是“真”，或者当前的记录已被删除，所请求的操作要求一个当前的记录。"),
        0x800A0BCDu);
}

AdoError itemNotFound(const QString &name) {
    return AdoError(3265, kAdoSource, QStringLiteral("在对应所需名称或序数的集合中，未找到项目。（%1）").arg(name),
                    0x800A0CC1u);
}

AdoError objectClosed() { return AdoError(3704, kAdoSource, QStringLiteral("对象关闭时，不允许操作。"), 0x800A0E78u); }

AdoError objectOpen() { return AdoError(3705, kAdoSource, QStringLiteral("对象打开时，不允许操作。"), 0x800A0E79u); }

}  // namespace ado
