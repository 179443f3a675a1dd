// tablesums: every user table of a database of the server stand-in, one line
// each: its name, its row count and an order-independent checksum of its
// rows, so that the targets of two runs compare table for table.
//
//   tablesums -S <instance folder> -d <database> [-U <login> -P <password>]
//             [--ignore <table>.<column>]... [--columns]
//
// --ignore leaves a column out of the sums (values that differ between runs
// of the same data, such as the time a row was made); names ignore case.
// --columns adds, under each table, a line per column with the sum of its
// values, to find the column where two targets differ. Lines starting with
// "#" are notes. Exit code 0, or 1 with the server's error.
#include <iostream>
#include <set>
#include <string>

#include "TableSums.h"
#include "server/Instance.h"
#include "server/Session.h"
#include "server/SqlError.h"

namespace {

int usage() {
    std::cerr << "usage: tablesums -S <instance folder> -d <database> [-U <login> -P <password>]\n"
                 "                 [--ignore <table>.<column>]... [--columns]\n";
    return 2;
}

}  // namespace

int main(int argc, char **argv) {
    std::string folder, database, login, password;
    std::set<std::string> ignore;
    bool columns = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "-S" && hasValue)
            folder = argv[++i];
        else if (a == "-d" && hasValue)
            database = argv[++i];
        else if (a == "-U" && hasValue)
            login = argv[++i];
        else if (a == "-P" && hasValue)
            password = argv[++i];
        else if (a == "--ignore" && hasValue) {
            const std::string key = argv[++i];
            const size_t dot = key.find('.');
            if (dot == std::string::npos) return usage();
            ignore.insert(IgnoreKey(key.substr(0, dot), key.substr(dot + 1)));
        } else if (a == "--columns")
            columns = true;
        else
            return usage();
    }
    if (folder.empty() || database.empty()) return usage();
    try {
        server::Session session(server::Instance::open(folder), login, password, database, login.empty());
        for (const TableSum &t : SumTables(session, ignore)) {
            std::cout << t.name << '\t' << t.rows << '\t' << HexSum(t.sum) << '\n';
            for (const std::string &c : t.ignored) std::cout << "#\tignored\t" << t.name << '.' << c << '\n';
            if (columns)
                for (const ColumnSum &c : t.columns) std::cout << '\t' << c.name << '\t' << HexSum(c.sum) << '\n';
        }
        return 0;
    } catch (const server::SqlError &e) {
        std::cout << "Msg " << e.number() << ": " << e.text() << "\n";
        return 1;
    }
}
