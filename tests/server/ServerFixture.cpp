#include "ServerFixture.h"

ServerFixture::ServerFixture() {
    server::Instance::create(folder(), "sa", "pw");
    instance = server::Instance::open(folder());
    server::Session admin(instance, "sa", "pw", "master");
    auto r = admin.execute("CREATE DATABASE test");
    if (!r.ok()) throw r.errors.front();
}

std::unique_ptr<server::Session> ServerFixture::connect(const std::string &database) {
    return std::make_unique<server::Session>(instance, "sa", "pw", database);
}

ServerFixture::~ServerFixture() {
    instance.reset();
    server::Instance::release(folder());
}
