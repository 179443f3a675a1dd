#include "foundation/ErrorText.h"

#include "platform/PnwError.h"
#include "platform/ado/AdoError.h"
#include "platform/dao/DaoError.h"

QString ErrorDescription(const std::exception &e) {
    if (auto *a = dynamic_cast<const ado::AdoError *>(&e)) return a->description();
    if (auto *p = dynamic_cast<const PnwError *>(&e)) return p->description();
    if (auto *d = dynamic_cast<const dao::DaoError *>(&e)) return d->description();
    return QString::fromLocal8Bit(e.what());
}

int ErrorNumber(const std::exception &e) {
    if (auto *a = dynamic_cast<const ado::AdoError *>(&e)) return a->number();
    if (auto *p = dynamic_cast<const PnwError *>(&e)) return p->number();
    if (auto *d = dynamic_cast<const dao::DaoError *>(&e)) return d->number();
    return 0;
}
