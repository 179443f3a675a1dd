// One table definition of an open database.
#pragma once

#include <QString>

#include "platform/dao/Fields.h"

namespace dao {

enum TableDefAttribute : unsigned { dbSystemObject = 0x80000002u };

class TableDef {
public:
    TableDef(QString name, unsigned attributes, long long recordCount, Fields fields, QString damage = QString())
        : name_(std::move(name)), attributes_(attributes), recordCount_(recordCount), fields_(std::move(fields)),
          damage_(std::move(damage)) {}

    const QString &Name() const { return name_; }
    unsigned Attributes() const { return attributes_; }  // dbSystemObject for system tables
    long long RecordCount() const { return recordCount_; }
    // Raises DaoError 3343 for a definition the file holds damaged.
    const dao::Fields &Fields() const;

private:
    QString name_;
    unsigned attributes_;
    long long recordCount_;
    dao::Fields fields_;
    QString damage_;  // why the definition cannot be read, "" when it can
};

}  // namespace dao
