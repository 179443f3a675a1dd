// localsql: the command-line client of the database server stand-in.
//
//   localsql --create -S <folder> -U <login> -P <password>
//   localsql -S <folder> [-d <database>] [-U <login> -P <password>] (-Q "<query>" | -i <script>)
//
// A script is split into batches at lines that read "go" (any case, blanks
// around). Each result set is printed as tab-separated text, each error as
// "Msg <number>: <text>". The exit code is 1 when a batch failed.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "server/Convert.h"
#include "server/Instance.h"
#include "server/ScriptBatches.h"
#include "server/Session.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"

namespace {

void usage() {
    std::cerr << "usage: localsql --create -S <folder> -U <login> -P <password>\n"
                 "       localsql -S <folder> [-d <database>] [-U <login> -P <password>] (-Q <query> | -i <file>)\n";
}

bool runBatch(server::Session &session, const std::string &batch) {
    server::BatchResult r = session.execute(batch);
    for (const auto &rs : r.resultSets) {
        for (size_t i = 0; i < rs.columns.size(); ++i) std::cout << (i ? "\t" : "") << rs.columns[i].name;
        std::cout << "\n";
        for (const auto &row : rs.rows) {
            for (size_t i = 0; i < row.size(); ++i)
                std::cout << (i ? "\t" : "") << server::displayText(row[i], rs.columns[i].type);
            std::cout << "\n";
        }
        std::cout << "(" << rs.rows.size() << " 行受影响)\n\n";
    }
    for (const auto &e : r.errors) std::cout << "Msg " << e.number() << ": " << e.text() << "\n";
    return r.ok();
}

}  // namespace

int main(int argc, char **argv) {
    std::string folder, database = "master", login, password, query, file;
    bool create = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string &out) {
            if (i + 1 >= argc) {
                usage();
                std::exit(2);
            }
            out = argv[++i];
        };
        if (a == "--create")
            create = true;
        else if (a == "-S")
            value(folder);
        else if (a == "-d")
            value(database);
        else if (a == "-U")
            value(login);
        else if (a == "-P")
            value(password);
        else if (a == "-Q")
            value(query);
        else if (a == "-i")
            value(file);
        else if (file.empty() && a[0] != '-')
            file = a;
        else {
            usage();
            return 2;
        }
    }
    if (folder.empty()) {
        usage();
        return 2;
    }
    try {
        if (create) {
            if (login.empty()) {
                usage();
                return 2;
            }
            server::Instance::create(folder, login, password);
            return 0;
        }
        auto inst = server::Instance::open(folder);
        server::Session session(inst, login, password, database, login.empty());
        std::vector<std::string> batches;
        if (!query.empty()) {
            batches.push_back(query);
        } else if (!file.empty()) {
            std::ifstream in(file, std::ios::binary);
            if (!in) {
                std::cerr << "cannot read " << file << "\n";
                return 2;
            }
            std::stringstream ss;
            ss << in.rdbuf();
            batches = server::splitGoBatches(ss.str());
        } else {
            std::stringstream ss;
            ss << std::cin.rdbuf();
            batches = server::splitGoBatches(ss.str());
        }
        bool ok = true;
        for (const auto &b : batches) ok = runBatch(session, b) && ok;
        return ok ? 0 : 1;
    } catch (const server::SqlError &e) {
        std::cout << "Msg " << e.number() << ": " << e.text() << "\n";
        return 1;
    }
}
