// The description of any error the program raises (PnwError, the ADO and
// DAO stand-ins' errors), or the exception's own text for anything else:
// what a log entry or a message shows as the reason.
#pragma once

#include <exception>

#include <QString>

QString ErrorDescription(const std::exception &e);
// The number of a raised error (PnwError, AdoError, DaoError), 0 otherwise.
int ErrorNumber(const std::exception &e);
