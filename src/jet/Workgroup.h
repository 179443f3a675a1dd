// The stand-in workgroup file "system.mda": a Jet 4 file made by our writer
// whose system table MSysAccounts holds one row per user:
//   Name:Text(64)!   the user name (compared without regard to case)
//   Salt:Text(32)!   32 hexadecimal digits, random per user
//   Hash:Text(64)!   SHA-256 in hexadecimal of Salt followed by the UTF-8 password
// A logon is accepted when the user is listed and the hash of its salt and
// the given password matches (passwords compare with case).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace jet {

class Workgroup {
public:
    static constexpr const char *kUser = "morningstar";
    static constexpr const char *kPassword = "tqlarnvezmbhko";

    using Account = std::pair<std::string, std::string>;  // user, password

    // Writes a workgroup file with the given accounts (default: the one
    // workgroup user). Throws JetError.
    static void writeFile(const std::string &path);
    static void writeFile(const std::string &path, const std::vector<Account> &accounts);

    // True when the file lists the user with that password. Throws
    // JetError(kErrOpen/kErrFormat) when the file is missing, damaged or
    // not a workgroup file.
    static bool checkLogon(const std::string &path, const std::string &user, const std::string &password);
};

}  // namespace jet
