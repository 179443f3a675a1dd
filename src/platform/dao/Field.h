// One field of a table definition, with the type constants of DAO.
#pragma once

#include <QString>

namespace dao {

enum DataType {
    dbBoolean = 1,
    dbByte = 2,
    dbInteger = 3,
    dbLong = 4,
    dbCurrency = 5,
    dbSingle = 6,
    dbDouble = 7,
    dbDate = 8,
    dbBinary = 9,
    dbText = 10,
    dbLongBinary = 11,
    dbMemo = 12,
    dbGUID = 15,
    dbDecimal = 20,
};

enum FieldAttribute { dbFixedField = 0x1, dbVariableField = 0x2, dbAutoIncrField = 0x10 };

class Field {
public:
    Field(QString name, int type, int size, bool required, int attributes)
        : name_(std::move(name)), type_(type), size_(size), required_(required), attributes_(attributes) {}

    const QString &Name() const { return name_; }
    int Type() const { return type_; }  // a DataType
    int Size() const { return size_; }  // bytes; characters for dbText; 0 for Memo and OLE
    bool Required() const { return required_; }
    int Attributes() const { return attributes_; }  // FieldAttribute flags

private:
    QString name_;
    int type_;
    int size_;
    bool required_;
    int attributes_;
};

}  // namespace dao
