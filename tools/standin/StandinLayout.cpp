#include "StandinLayout.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <QString>
#include <QStringEncoder>

#include "foundation/DES.h"
#include "jet/JetError.h"
#include "jet/Workgroup.h"
#include "platform/OnlineUpdate.h"
#include "platform/PnwError.h"
#include "platform/RegistryFile.h"
#include "server/Instance.h"
#include "server/ScriptBatches.h"
#include "server/Session.h"
#include "server/SqlError.h"

namespace {

namespace fs = std::filesystem;

constexpr const char *kCipherKey = "mwqTRZej";
constexpr const char *kDefaultInstance = "MSSQLSERVER";
constexpr const char *kBaseDatabase = "VEQBase";

std::string readFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path &path, const std::string &bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string errorsOf(const server::BatchResult &r) {
    std::string text;
    for (const auto &e : r.errors)
        text += (text.empty() ? "" : "; ") + std::string("Msg ") + std::to_string(e.number()) + ": " + e.text();
    return text;
}

// Runs a script batch by batch; every failed batch is a problem.
void runScript(server::Session &session, const fs::path &script, std::vector<std::string> &problems) {
    auto batches = server::splitGoBatches(readFile(script));
    for (size_t i = 0; i < batches.size(); ++i) {
        auto r = session.execute(batches[i]);
        if (!r.ok())
            problems.push_back(script.filename().string() + ", batch " + std::to_string(i + 1) + ": " + errorsOf(r));
    }
}

void execute(server::Session &session, const std::string &sql, std::vector<std::string> &problems) {
    auto r = session.execute(sql);
    if (!r.ok()) problems.push_back(sql + ": " + errorsOf(r));
}

// The base account set's scripts, in the order of their names.
std::vector<fs::path> baseScripts(const fs::path &folder) {
    std::vector<fs::path> scripts;
    for (const auto &e : fs::directory_iterator(folder))
        if (e.is_regular_file() && e.path().extension() == ".sql") scripts.push_back(e.path());
    std::sort(scripts.begin(), scripts.end());
    return scripts;
}

std::string quoted(const std::string &text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

// The first four lines of a description file, line ends kept.
void cutToFourLines(const fs::path &path) {
    std::string bytes = readFile(path);
    size_t pos = 0;
    for (int line = 0; line < 4 && pos != std::string::npos; ++line) {
        pos = bytes.find('\n', pos);
        if (pos != std::string::npos) ++pos;
    }
    if (pos != std::string::npos) bytes.resize(pos);
    writeFile(path, bytes);
}

// Lines 3 and 4 of a description file name the logical data and log files
// the restore moves; they must be the names the server gave the base.
void setLogicalNames(const fs::path &path, const std::string &data, const std::string &log) {
    std::string bytes = readFile(path);
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        end = end == std::string::npos ? bytes.size() : end + 1;
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end;
    }
    auto replaceLine = [&lines](size_t i, const std::string &value) {
        if (i >= lines.size()) return;
        std::string &line = lines[i];
        size_t colon = line.find(':');
        std::string ending = line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0 ? "\r\n" : "\n";
        line = (colon == std::string::npos ? std::string() : line.substr(0, colon + 1)) + value + ending;
    };
    replaceLine(2, data);
    replaceLine(3, log);
    std::string out;
    for (const auto &l : lines) out += l;
    if (out != bytes) writeFile(path, out);
}

std::string gbk(const QString &text) {
    QStringEncoder enc("GBK");
    QByteArray b = enc(text);
    return std::string(b.constData(), size_t(b.size()));
}

}  // namespace

std::string StandinLayout::encode2015(const std::string &text) {
    DES des;
    return des.EncodeString(QString::fromStdString(text), QString::fromLatin1(kCipherKey)).toStdString();
}

std::string StandinLayout::encodeOld(const std::string &text) {
    return OnlineUpdate::CREncryptData(QString::fromStdString(text)).toStdString();
}

StandinLayout::Result StandinLayout::run(const StandinOptions &options) {
    if (options.folder.empty()) throw std::runtime_error("no folder given");
    const fs::path root = fs::absolute(options.folder).lexically_normal();
    const fs::path source = options.source.empty() ? fs::path(PNW_STANDIN_SOURCE) : fs::path(options.source);
    if (!fs::is_directory(source / "product")) throw std::runtime_error("no stand-in sources in " + source.string());
    const std::string instanceName = options.instanceName.empty() ? kDefaultInstance : options.instanceName;
    Result result;
    const fs::path product = root / "product";
    const fs::path common = root / "common";
    const fs::path instance = root / "sql" / instanceName;
    result.productFolder = product.string();
    result.commonFolder = common.string();
    result.instanceFolder = instance.string();
    result.registryFile = (root / "registry.txt").string();
    result.dataFolder = (root / "data").string();
    if (fs::exists(instance / "master"))
        throw std::runtime_error("an installation is there already: " + instance.string());

    // Product files, byte for byte.
    fs::create_directories(product);
    fs::copy(source / "product", product, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    const fs::path sqldb = product / "Common" / "SQLDB";

    // Workgroup file of the source account sets.
    try {
        fs::create_directories(product / "Advance");
        jet::Workgroup::writeFile((product / "Advance" / "system_VEQ75.mda").string(),
                                  {{"admin", ""}, {jet::Workgroup::kUser, jet::Workgroup::kPassword}});
    } catch (const jet::JetError &e) {
        throw std::runtime_error(std::string("workgroup file: ") + e.what());
    }

    // Server instance, AcctCtl and the base account set's backups.
    try {
        server::Instance::create(instance.string(), options.login, options.password);
        auto inst = server::Instance::open(instance.string());
        if (!options.versionText.empty()) inst->setSetting("version", options.versionText);
        if (!options.providers.empty()) inst->setSetting("providers", options.providers);
        {
            server::Session master(inst, options.login, options.password, "master");
            execute(master, "CREATE DATABASE AcctCtl", result.problems);
            execute(master, std::string("CREATE DATABASE ") + kBaseDatabase, result.problems);
        }
        if (inst->database("AcctCtl")) {
            server::Session acctctl(inst, options.login, options.password, "AcctCtl");
            runScript(acctctl, source / "acctctl" / "acctctl.sql", result.problems);
        }
        if (inst->database(kBaseDatabase)) {
            {
                server::Session base(inst, options.login, options.password, kBaseDatabase);
                for (const auto &script : baseScripts(source / "base")) runScript(base, script, result.problems);
                // The logical file names the server gave the base (when it lists them).
                auto files = base.execute("select name, status FROM sysfiles");
                if (files.ok() && !files.resultSets.empty()) {
                    std::string data, log;
                    for (const auto &row : files.resultSets[0].rows) ((row.at(1).i & 0x40) ? log : data) = row.at(0).s;
                    if (!data.empty() && !log.empty())
                        for (const char *dbb : {"SQLDBBack.dbb", "SQLDBBack_2008.dbb"})
                            setLogicalNames(sqldb / dbb, data, log);
                }
            }
            server::Session master(inst, options.login, options.password, "master");
            for (const char *bak : {"SQLDBBack.bak", "SQLDBBack_2008.bak"}) {
                const size_t before = result.problems.size();
                execute(master,
                        std::string("BACKUP DATABASE ") + kBaseDatabase +
                            " TO DISK = " + quoted((sqldb / bak).string()) + " WITH INIT",
                        result.problems);
                // A failed backup leaves no half-written file behind.
                if (result.problems.size() != before) fs::remove(sqldb / bak);
            }
            execute(master, std::string("DROP DATABASE ") + kBaseDatabase, result.problems);
        }
        server::Instance::release(instance.string());
    } catch (const server::SqlError &e) {
        throw std::runtime_error("server instance: " + std::to_string(e.number()) + " " + e.text());
    }

    // Server configuration file with the encoded login.
    if (!options.noDbConfig) {
        QString text = QString("[ServerInfo2015]\r\nUser=%1\r\nPwd=%2\r\n\r\n[ServerInfo]\r\nUser=%3\r\nPwd=%4\r\n")
                           .arg(QString::fromStdString(encode2015(options.login)),
                                QString::fromStdString(encode2015(options.password)),
                                QString::fromStdString(encodeOld(options.login)),
                                QString::fromStdString(encodeOld(options.password)));
        writeFile(common / "Vantora" / "VEQ" / "DBConfig.veq", gbk(text));
    }

    // Registry values.
    try {
        RegistryFile reg = RegistryFile::load(QString::fromStdString(result.registryFile));
        auto set = [&reg](const char *key, const char *name, const std::string &value) {
            reg.setValue(QString::fromUtf8(key), {QString::fromUtf8(name), false, {QString::fromStdString(value)}});
        };
        set("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\VEQPRODUCT", "Version", options.installedVersion);
        set("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\VEQPRODUCT", "Path", product.string());
        set("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora", "RSPath", "");
        set("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora", "BKPath", "");
        reg.setValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Microsoft SQL Server",
                     {"InstalledInstances", true, {QString::fromStdString(instanceName)}});
        set("HKEY_LOCAL_MACHINE\\SoftWare\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "DefaultDomainName",
            "VeqServer");
        reg.save(QString::fromStdString(result.registryFile));
    } catch (const PnwError &e) {
        throw std::runtime_error("registry file: " + std::string(e.what()));
    }
    fs::create_directories(result.dataFolder);

    // Broken installations.
    if (options.shortDbb)
        for (const char *dbb : {"SQLDBBack.dbb", "SQLDBBack_2008.dbb"}) cutToFourLines(sqldb / dbb);
    if (options.missingBak)
        for (const char *bak : {"SQLDBBack.bak", "SQLDBBack_2008.bak"}) fs::remove(sqldb / bak);
    if (options.unreadableList) {
        // A folder in the list's place: no user, root included, reads it as a file.
        const fs::path list = product / "Common" / "SqlSrv" / "CreateDB.lst";
        fs::remove(list);
        fs::create_directories(list);
    }

    result.environment = environmentOf(root.string());
    return result;
}

std::vector<std::pair<std::string, std::string>> StandinLayout::environmentOf(const std::string &folder) {
    const fs::path root = fs::absolute(folder).lexically_normal();
    return {{"CommonProgramFiles", (root / "common").string()},
            {"PNW_REGISTRY_FILE", (root / "registry.txt").string()},
            {"PNW_SQL_INSTANCE_DIR", (root / "sql" / kDefaultInstance).string()},
            {"PNW_DATA_DIR", (root / "data").string()}};
}
