// A fresh server instance in a temporary folder with one database "test"
// and the login sa / "pw".
#pragma once

#include <QTemporaryDir>

#include <memory>
#include <string>

#include "server/Instance.h"
#include "server/Session.h"

class ServerFixture {
public:
    ServerFixture();
    ~ServerFixture();
    std::unique_ptr<server::Session> connect(const std::string &database = "test");
    std::string folder() const { return dir_.path().toStdString(); }
    std::shared_ptr<server::Instance> instance;

private:
    QTemporaryDir dir_;
};
