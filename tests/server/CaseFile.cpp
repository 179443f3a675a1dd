#include "CaseFile.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

bool startsWith(const std::string &s, const std::string &p) { return s.rfind(p, 0) == 0; }

}  // namespace

std::vector<Case> readCaseFile(const std::string &path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    std::vector<Case> out;
    size_t i = 0;
    while (i < lines.size()) {
        const std::string &head = lines[i];
        if (head.empty() || head[0] == '#') {
            ++i;
            continue;
        }
        Case c;
        c.line = int(i) + 1;
        if (startsWith(head, "session ")) {
            c.kind = Case::Kind::Session;
            c.argument = head.substr(8);
            out.push_back(c);
            ++i;
            continue;
        }
        if (startsWith(head, "transaction ")) {
            c.kind = Case::Kind::Transaction;
            c.argument = head.substr(12);
            out.push_back(c);
            ++i;
            continue;
        }
        if (head == "statement ok") {
            c.kind = Case::Kind::Ok;
        } else if (startsWith(head, "statement error ")) {
            c.kind = Case::Kind::Error;
            std::string rest = head.substr(16);
            size_t sp = rest.find(' ');
            c.errorNumber = std::stoi(rest.substr(0, sp));
            if (sp != std::string::npos) c.errorText = rest.substr(sp + 1);
        } else if (head == "query") {
            c.kind = Case::Kind::Query;
        } else {
            throw std::runtime_error(path + ":" + std::to_string(i + 1) + ": unknown block '" + head + "'");
        }
        ++i;
        bool inRows = false;
        while (i < lines.size() && !lines[i].empty()) {
            if (c.kind == Case::Kind::Query && lines[i] == "----") {
                inRows = true;
            } else if (inRows) {
                c.rows.push_back(lines[i]);
            } else {
                c.sql += lines[i] + "\r\n";
            }
            ++i;
        }
        out.push_back(c);
    }
    return out;
}
