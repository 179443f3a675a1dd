// The one error of the Data Access Objects stand-in: a number and a
// description, as the run-time error a DAO call raises on a Simplified
// Chinese system.
#pragma once

#include <QString>

#include <stdexcept>

namespace dao {

enum DaoErrorCode {
    kDaoFileNotFound = 3024,        // the database file is missing
    kDaoNoWorkgroup = 3028,         // the workgroup file is missing or unreadable
    kDaoBadLogon = 3029,            // user or password refused by the workgroup
    kDaoNotInCollection = 3265,     // no item of that name or index
    kDaoUnrecognizedFormat = 3343,  // not a Jet file, or a damaged one
};

class DaoError : public std::runtime_error {
public:
    DaoError(int number, const QString &description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    int number() const { return number_; }
    const QString &description() const { return description_; }
    QString source() const { return QStringLiteral("DAO.DBEngine"); }

private:
    int number_;
    QString description_;
};

}  // namespace dao
