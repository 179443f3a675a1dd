// A stand-in installation for the account-creation tests: the bare
// stand-in server with the product folder copied from standin/product, the
// workgroup file of the samples under Advance/, CommonProgramFiles in the
// test's folder, the registry values of the product, the program-wide state
// that start-up would set and the server administration installed.
// Restores everything it changed when it ends.
#pragma once

#include <QString>

#include "kit/StandinServer.h"

class AccountsServer : public StandinServer {
public:
    AccountsServer();
    ~AccountsServer();

    QString productFolder() const { return path() + QStringLiteral("/product"); }
    QString commonFolder() const { return productFolder() + QStringLiteral("/Common/"); }
    // Where the database files of new account sets go.
    QString dbFolder() const { return path() + QStringLiteral("/dbdata"); }
};
