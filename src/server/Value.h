// One value as the engine hands it out: what SQLite holds, read through the
// column's declared type (money and decimal as exact doubles rounded to their
// scale, datetime as "yyyy-mm-dd hh:mm:ss.fff" text).
#pragma once

#include <cstdint>
#include <string>

namespace server {

struct Value {
    enum class Kind { Null, Int, Real, Text, Blob };
    Kind kind = Kind::Null;
    int64_t i = 0;
    double d = 0;
    std::string s;  // text (UTF-8) or blob bytes

    static Value null() { return {}; }
    static Value fromInt(int64_t v) {
        Value x;
        x.kind = Kind::Int;
        x.i = v;
        return x;
    }
    static Value fromReal(double v) {
        Value x;
        x.kind = Kind::Real;
        x.d = v;
        return x;
    }
    static Value fromText(std::string v) {
        Value x;
        x.kind = Kind::Text;
        x.s = std::move(v);
        return x;
    }
    static Value fromBlob(std::string v) {
        Value x;
        x.kind = Kind::Blob;
        x.s = std::move(v);
        return x;
    }
    bool isNull() const { return kind == Kind::Null; }
};

}  // namespace server
