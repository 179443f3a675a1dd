// The one exception type of the Jet layer: a number and a text. Every
// failure to read, write or check a Jet file (damaged input included)
// reaches callers as a JetError.
#pragma once

#include <stdexcept>
#include <string>

namespace jet {

enum JetErrorCode {
    kErrOpen = 1,      // the file cannot be opened or read
    kErrFormat = 2,    // not a Jet file, or a damaged one
    kErrNoTable = 3,   // no table of that name
    kErrValue = 4,     // a value does not fit its column
    kErrWrite = 5,     // the file cannot be written
    kErrLogon = 6,     // workgroup logon refused
    kErrTooLarge = 7,  // a row or file beyond the format's limits
};

class JetError : public std::runtime_error {
public:
    JetError(int number, const std::string &text) : std::runtime_error(text), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

}  // namespace jet
