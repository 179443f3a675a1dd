#include "Digest.h"

#include <sstream>

namespace jetmutants {

namespace {

std::vector<std::string> split(const std::string &line) {
    std::vector<std::string> out;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return out;
        start = tab + 1;
    }
}

}  // namespace

const char *outcomeName(Outcome o) {
    switch (o) {
    case Outcome::Faithful: return "faithful read";
    case Outcome::CleanError: return "clean error";
    case Outcome::Detectable: return "detectable difference";
    case Outcome::ValuesOnly: return "values differ only";
    case Outcome::Crash: return "crash";
    case Outcome::Hang: return "hang";
    }
    return "?";
}

Digest parseDigest(const std::string &text) {
    Digest d;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line == "END") {
            d.ended = true;
            continue;
        }
        const auto f = split(line);
        if (f[0] == "R open") d.opened = true;
        if (f[0] == "R refused") {
            d.refused = true;
            d.refusal = f.size() > 1 ? f[1] : "";
        }
        if (f[0].rfind("T ", 0) == 0 && f.size() >= 4) {
            TableDigest &t = d.tables[f[0].substr(2)];
            t.listed = true;
            t.system = f[1] == "1";
            t.stored = std::stoll(f[2]);
            t.columns = f[3];
        }
        if (f[0] == "J ok" && f.size() >= 4) {
            TableDigest &t = d.tables[f[1]];
            t.jetRead = true;
            t.jetRows = std::stoll(f[2]);
            t.jetHash = f[3];
        }
        if (f[0] == "J err" && f.size() >= 3) {
            TableDigest &t = d.tables[f[1]];
            t.jetFailed = true;
            t.jetError = f[2];
        }
        if (f[0] == "S ok" && f.size() >= 5) {
            TableDigest &t = d.tables[f[1]];
            t.serverRead = true;
            t.serverRows = std::stoll(f[2]);
            t.serverHash = f[3];
            t.serverColumns = f[4];
        }
        if (f[0] == "S err" && f.size() >= 3) {
            TableDigest &t = d.tables[f[1]];
            t.serverFailed = true;
            t.serverError = f[2];
        }
    }
    return d;
}

Verdict compare(const Digest &o, const Digest &m) {
    Verdict v;
    bool error = m.refused, values = false;
    // kind: what differs, counted over all mutants; then the table and figures.
    auto differ = [&v](const std::string &kind, const std::string &detail) {
        v.kinds.push_back(kind);
        v.reasons.push_back(kind + detail);
    };
    // The table set: the tables the reader lists (a table refused by name is
    // no wrong read, whatever it is listed as).
    if (m.opened) {
        for (const auto &[name, ot] : o.tables) {
            auto it = m.tables.find(name);
            if (!ot.listed) continue;
            if (it == m.tables.end() || !it->second.listed)
                differ("table missing", ": " + name);
            else if (it->second.system != ot.system)
                values = true;  // a user table may be flagged system to hide it: no format fault
        }
        for (const auto &[name, mt] : m.tables)
            if (mt.listed && !mt.jetFailed && (!o.tables.count(name) || !o.tables.at(name).listed))
                differ("table added", ": " + name);
    }
    for (const auto &[name, mt] : m.tables) {
        auto it = o.tables.find(name);
        if (it == o.tables.end()) continue;
        const TableDigest &ot = it->second;
        if (mt.jetFailed) {
            error = true;
            if (mt.jetError.find(name) == std::string::npos) v.unnamedError = true;
        } else if (mt.jetRead) {
            if (mt.columns != ot.columns) differ("columns", " of " + name);
            if (mt.jetRows != mt.stored)
                differ("rows against the stored count", " of " + name + " (" + std::to_string(mt.jetRows) + " read, " +
                                                            std::to_string(mt.stored) + " stored)");
            else if (mt.jetRows != ot.jetRows)
                differ("rows against the original", " of " + name + " (" + std::to_string(mt.jetRows) + " read, " +
                                                        std::to_string(ot.jetRows) + " there)");
            if (mt.jetHash != ot.jetHash) values = true;
        }
        if (mt.serverFailed) {
            error = true;
        } else if (mt.serverRead) {
            if (mt.serverColumns != ot.serverColumns) differ("server columns", " of " + name);
            if (mt.listed && mt.serverRows != mt.stored)
                differ("server rows against the stored count", " of " + name);
            else if (mt.serverRows != ot.serverRows)
                differ("server rows against the original", " of " + name);
            if (mt.serverHash != ot.serverHash) values = true;
        }
    }
    v.outcome = !v.reasons.empty() ? Outcome::Detectable
                : values           ? Outcome::ValuesOnly
                : error            ? Outcome::CleanError
                                   : Outcome::Faithful;
    return v;
}

}  // namespace jetmutants
