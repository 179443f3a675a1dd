// What the server benchmarks share: a scratch server instance with an empty
// database "Bench" in a temporary folder removed at the end, and a check
// that ends the program on a failed batch.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "server/Instance.h"
#include "server/Session.h"

namespace bench {

inline void check(const server::BatchResult &r, const char *what) {
    if (!r.ok()) {
        std::fprintf(stderr, "%s: %s\n", what, r.errors.front().what());
        std::exit(1);
    }
}

class ScratchServer {
public:
    explicit ScratchServer(const std::string &name)
        : dir_(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        const std::string folder = (dir_ / "instance").string();
        server::Instance::create(folder, "sa", "pw");
        instance_ = server::Instance::open(folder);
        server::Session admin(instance_, "sa", "pw", "master");
        check(admin.execute("CREATE DATABASE Bench"), "create database");
    }
    ~ScratchServer() {
        instance_.reset();
        std::filesystem::remove_all(dir_);
    }
    ScratchServer(const ScratchServer &) = delete;
    ScratchServer &operator=(const ScratchServer &) = delete;

    const std::shared_ptr<server::Instance> &instance() const { return instance_; }
    // A file path inside the scratch folder.
    std::string file(const std::string &name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
    std::shared_ptr<server::Instance> instance_;
};

}  // namespace bench
