#include "ReadOne.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "jet/JetError.h"
#include "jet/JetReader.h"
#include "jet/Workgroup.h"
#include "server/Instance.h"
#include "server/Session.h"
#include "server/SqlError.h"

namespace jetmutants {

namespace {

const char *kProvider = "Microsoft.Jet.OLEDB.4.0";

// One digest field: no tabs or line breaks.
std::string field(std::string s) {
    for (char &c : s)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return s;
}

struct Hash {
    uint64_t h = 1469598103934665603ull;
    void add(const void *p, size_t n) {
        const auto *b = static_cast<const unsigned char *>(p);
        for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
    }
    template <typename T>
    void add(const T &v) {
        add(&v, sizeof v);
    }
    void add(const std::string &s) {
        add(s.size());
        add(s.data(), s.size());
    }
};

std::string columnsOf(const jet::JetTableInfo &t) {
    std::string out;
    for (const auto &f : t.fields)
        out += (out.empty() ? "" : ",") + f.name + ":" + f.typeName + ":" + std::to_string(f.size) +
               (f.required ? "!" : "");
    return field(out);
}

void readJet(const std::string &file, std::vector<std::string> &names) {
    std::unique_ptr<jet::JetReader> reader;
    try {
        reader = std::make_unique<jet::JetReader>(file);
    } catch (const jet::JetError &e) {
        std::printf("R refused\t%s\n", field(e.what()).c_str());
        return;
    }
    std::printf("R open\t%d\n", reader->jetVersion());
    for (const auto &t : reader->tables()) {
        names.push_back(t.name);
        std::printf("T %s\t%d\t%lld\t%s\n", field(t.name).c_str(), t.system ? 1 : 0, static_cast<long long>(t.rowCount),
                    columnsOf(t).c_str());
        try {
            auto cursor = reader->openTable(t.name);
            std::vector<jet::Value> row;
            Hash h;
            long long rows = 0;
            while (cursor->next(row)) {
                ++rows;
                for (const auto &v : row) {
                    h.add(static_cast<int>(v.kind));
                    h.add(v.integer);
                    h.add(v.real);
                    h.add(v.bytes);
                }
            }
            std::printf("J ok\t%s\t%lld\t%016llx\n", field(t.name).c_str(), rows, static_cast<unsigned long long>(h.h));
        } catch (const jet::JetError &e) {
            std::printf("J err\t%s\t%s\n", field(t.name).c_str(), field(e.what()).c_str());
        }
        std::fflush(stdout);
    }
}

std::string bracketed(const std::string &name) {
    std::string out = "[";
    for (char c : name) out += c == ']' ? std::string("]]") : std::string(1, c);
    return out + "]";
}

void readServer(const std::string &file, const std::vector<std::string> &names, server::Session &session) {
    // A workgroup file beside the Jet file is logged on to as the program does.
    const auto path = std::filesystem::absolute(file);
    const auto workgroup = path.parent_path() / "system.mda";
    std::string text = "Data Source=" + path.string();
    if (std::filesystem::exists(workgroup))
        text += ";User ID=morningstar;Password=" + std::string(jet::Workgroup::kPassword) +
                ";Jet OLEDB:System database=" + workgroup.string();
    std::string quoted;  // inside the SQL string literal
    for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    for (const auto &name : names) {
        const std::string sql =
            "SELECT * FROM OPENDATASOURCE('" + std::string(kProvider) + "','" + quoted + "')..." + bracketed(name);
        server::BatchResult r = session.execute(sql);
        if (!r.ok()) {
            std::printf("S err\t%s\t%d %s\n", field(name).c_str(), r.errors.front().number(),
                        field(r.errors.front().text()).c_str());
        } else if (r.resultSets.empty()) {
            std::printf("S err\t%s\tno result\n", field(name).c_str());
        } else {
            const auto &rs = r.resultSets.front();
            Hash h;
            for (const auto &row : rs.rows)
                for (const auto &v : row) {
                    h.add(static_cast<int>(v.kind));
                    h.add(v.i);
                    h.add(v.d);
                    h.add(v.s);
                }
            std::string cols;
            for (const auto &c : rs.columns) cols += (cols.empty() ? "" : ",") + c.name + ":" + c.type.name();
            std::printf("S ok\t%s\t%zu\t%016llx\t%s\n", field(name).c_str(), rs.rows.size(),
                        static_cast<unsigned long long>(h.h), field(cols).c_str());
        }
        std::fflush(stdout);
    }
}

}  // namespace

void makeInstance(const std::string &folder) {
    server::Instance::create(folder, "sa", "pw");
    {
        auto instance = server::Instance::open(folder);
        server::Session admin(instance, "sa", "pw", "master");
        auto r = admin.execute("exec sp_configure 'show advanced options',1 \r\nreconfigure\r\n"
                               "exec sp_configure 'Ad Hoc Distributed Queries',1\r\nreconfigure\r\n");
        if (!r.ok()) throw r.errors.front();
    }
    server::Instance::release(folder);
}

int readOne(const std::string &file, const std::string &namesFile, const std::string &instanceFolder) {
    std::vector<std::string> names;
    readJet(file, names);
    std::set<std::string> asked(names.begin(), names.end());
    if (!namesFile.empty()) {
        std::ifstream in(namesFile);
        for (std::string line; std::getline(in, line);)
            if (!line.empty() && asked.insert(line).second) names.push_back(line);
    }
    std::string folder = instanceFolder;
    std::filesystem::path scratch;
    try {
        if (folder.empty()) {
            scratch = std::filesystem::temp_directory_path() / ("jetmutants-" + std::to_string(getpid()));
            std::filesystem::remove_all(scratch);
            std::filesystem::create_directories(scratch);
            folder = scratch.string();
            makeInstance(folder);
        }
        auto instance = server::Instance::open(folder);
        {
            server::Session session(instance, "sa", "pw", "master");
            readServer(file, names, session);
        }
        instance.reset();
        server::Instance::release(folder);
    } catch (const server::SqlError &e) {
        std::fprintf(stderr, "jetmutants: the server cannot run: %s\n", e.text().c_str());
        return 3;
    }
    if (!scratch.empty()) std::filesystem::remove_all(scratch);
    std::printf("END\n");
    std::fflush(stdout);
    return 0;
}

}  // namespace jetmutants
