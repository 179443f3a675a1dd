#include "server/RowSpool.h"

#include <stdexcept>

namespace server {

namespace {

void put(std::FILE *f, const void *p, size_t n) {
    if (n && std::fwrite(p, 1, n, f) != n) throw std::runtime_error("temporary file for result rows: write failed");
}

void get(std::FILE *f, void *p, size_t n) {
    if (n && std::fread(p, 1, n, f) != n) throw std::runtime_error("temporary file for result rows: read failed");
}

}  // namespace

RowSpool::RowSpool() : file_(std::tmpfile()) {}

RowSpool::~RowSpool() {
    if (file_) std::fclose(file_);
}

void RowSpool::append(const std::vector<Value> &row) {
    ++written_;
    if (!file_) {
        memory_.push_back(row);
        return;
    }
    const uint32_t count = uint32_t(row.size());
    put(file_, &count, sizeof count);
    for (const Value &v : row) {
        const char kind = char(v.kind);
        put(file_, &kind, 1);
        switch (v.kind) {
        case Value::Kind::Null: break;
        case Value::Kind::Int: put(file_, &v.i, sizeof v.i); break;
        case Value::Kind::Real: put(file_, &v.d, sizeof v.d); break;
        case Value::Kind::Text:
        case Value::Kind::Blob: {
            const uint32_t size = uint32_t(v.s.size());
            put(file_, &size, sizeof size);
            put(file_, v.s.data(), size);
            break;
        }
        }
    }
}

bool RowSpool::next(std::vector<Value> &row) {
    if (read_ >= written_) return false;
    if (!file_) {
        row = std::move(memory_[size_t(read_)]);
        memory_[size_t(read_++)].clear();
        return true;
    }
    if (!reading_) {
        std::fflush(file_);
        std::rewind(file_);
        reading_ = true;
    }
    uint32_t count = 0;
    get(file_, &count, sizeof count);
    row.resize(count);
    for (Value &v : row) {
        char kind = 0;
        get(file_, &kind, 1);
        v.kind = Value::Kind(kind);
        switch (v.kind) {
        case Value::Kind::Null: break;
        case Value::Kind::Int: get(file_, &v.i, sizeof v.i); break;
        case Value::Kind::Real: get(file_, &v.d, sizeof v.d); break;
        case Value::Kind::Text:
        case Value::Kind::Blob: {
            uint32_t size = 0;
            get(file_, &size, sizeof size);
            v.s.resize(size);
            get(file_, v.s.data(), size);
            break;
        }
        }
    }
    ++read_;
    return true;
}

}  // namespace server
