// The one error type of the ADO stand-in: a number (the server's native
// error number for server errors, ADO's own number for client-side misuse),
// a source, a description and the provider's result code (0x80040E14 for
// syntax errors and missing names, as the system tests).
#pragma once

#include <QString>

#include <exception>
#include <string>

namespace ado {

class AdoError : public std::exception {
public:
    AdoError(int number, QString source, QString description, quint32 providerCode = 0x80004005u);

    int number() const { return number_; }
    const QString &source() const { return source_; }
    const QString &description() const { return description_; }
    quint32 providerCode() const { return providerCode_; }
    const char *what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString source_;
    QString description_;
    quint32 providerCode_;
    std::string what_;
};

// ADO's own client-side errors.
AdoError noCurrentRecord();              // 3021
AdoError itemNotFound(const QString &);  // 3265
AdoError objectClosed();                 // 3704
AdoError objectOpen();                   // 3705

}  // namespace ado
