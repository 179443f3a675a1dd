#include "server/OpenDataSource.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <list>
#include <mutex>

#include "jet/JetError.h"
#include "jet/JetReader.h"
#include "jet/Workgroup.h"
#include "server/Ast.h"
#include "server/Catalog.h"
#include "server/DataSourceText.h"
#include "server/Instance.h"
#include "server/JetVirtualTable.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Translator.h"

namespace server {

namespace {

namespace fs = std::filesystem;

std::string trimmedName(const std::string &s) { return trimRightBlanks(trimLeftBlanks(s)); }

bool providerInstalled(Instance &instance, const std::string &provider) {
    std::string list = instance.setting("providers");
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string::npos) end = list.size();
        std::string item = trimmedName(list.substr(start, end - start));
        if (!item.empty() && iequals(item, provider)) return true;
        start = end + 1;
    }
    return false;
}

SqlError cannotOpen(const std::string &provider) { return makeError(7303, provider); }

// 7303 with the message the provider gave, as the server passes it on.
SqlError cannotOpen(const std::string &provider, const std::string &message) {
    SqlError e = makeError(7303, provider);
    return SqlError(e.number(), e.text() + "链接服务器 \"(null)\" 的 OLE DB 访问接口 \"" + provider +
                                    "\" 返回了消息 \"" + message + "\"。");
}

// What the provider says about a file its reader refused.
std::string refusal(const jet::JetError &e, const std::string &file) {
    if (e.number() == jet::kErrOpen) return "找不到文件 '" + file + "'，或者不能打开它。";
    std::error_code ec;
    const fs::file_status st = fs::status(file, ec);
    if (fs::is_fifo(st)) return "'" + file + "' 是命名管道，不是数据库文件。";
    if (!fs::is_regular_file(st)) return "'" + file + "' 不是普通文件，不是数据库文件。";
    // A file that begins as a Jet file but cannot be read through is damaged
    // (a truncated copy among them); anything else is no database at all.
    std::ifstream in(file, std::ios::binary);
    char head[19] = {};
    in.read(head, sizeof head);
    if (in.gcount() == sizeof head && std::string(head + 4, 15) == "Standard Jet DB")
        return "数据库 '" + file + "' 已损坏或不完整，需要修复。";
    return "无法识别的数据库格式 '" + file + "'。";
}

// The server's mapping of the provider's column types.
SqlType mappedType(const jet::JetFieldInfo &f) {
    if (f.typeName == "Boolean") return SqlType::of(Base::Bit);
    if (f.typeName == "Byte") return SqlType::of(Base::TinyInt);
    if (f.typeName == "Integer") return SqlType::of(Base::SmallInt);
    if (f.typeName == "Long" || f.typeName == "AutoNumber") return SqlType::of(Base::Int);
    if (f.typeName == "Currency") return SqlType::of(Base::Money, 0, 19, 4);
    if (f.typeName == "Single") return SqlType::of(Base::Real);
    if (f.typeName == "Double") return SqlType::of(Base::Float);
    if (f.typeName == "DateTime") return SqlType::of(Base::DateTime);
    if (f.typeName == "Text") return SqlType::of(Base::NVarChar, f.size > 0 ? std::min(f.size, 4000) : 255);
    if (f.typeName == "Memo") return SqlType::of(Base::NText);
    if (f.typeName == "Decimal")
        return SqlType::of(Base::Decimal, 0, f.precision > 0 ? std::min(f.precision, 38) : 18,
                           std::clamp(f.scale, 0, f.precision > 0 ? std::min(f.precision, 38) : 18));
    if (f.typeName == "GUID") return SqlType::of(Base::UniqueIdentifier);
    // OLE objects, and the binary kinds the subset has no type for, as bytes.
    return SqlType::of(Base::Image);
}

// What tells one file's content from another's without reading it through:
// the file itself, its size and times, and its first page.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{}, changed{};
    size_t headDigest = 0;

    bool operator==(const FileIdentity &o) const {
        return device == o.device && inode == o.inode && size == o.size && modified.tv_sec == o.modified.tv_sec &&
               modified.tv_nsec == o.modified.tv_nsec && changed.tv_sec == o.changed.tv_sec &&
               changed.tv_nsec == o.changed.tv_nsec && headDigest == o.headDigest;
    }
};

bool identify(const std::string &file, FileIdentity &id) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    std::ifstream in(file, std::ios::binary);
    std::string head(4096, '\0');
    in.read(head.data(), std::streamsize(head.size()));
    head.resize(size_t(std::max<std::streamsize>(in.gcount(), 0)));
    id = {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim, std::hash<std::string>{}(head)};
    return true;
}

// Opening a file reads and checks its whole catalogue. The staging reads one
// table after another from the same source, so the last few readers are
// kept and reused while their file is the same one; a file replaced or
// rewritten is read anew. Sessions may run on several threads.
std::shared_ptr<const jet::JetReader> readerFor(const std::string &file) {
    struct Kept {
        std::string file;
        FileIdentity identity;
        std::shared_ptr<const jet::JetReader> reader;
    };
    static std::mutex mutex;
    static std::list<Kept> kept;
    constexpr size_t kKeep = 4;
    std::lock_guard<std::mutex> lock(mutex);
    FileIdentity identity;
    if (!identify(file, identity)) {
        kept.remove_if([&file](const Kept &k) { return k.file == file; });
        return std::make_shared<const jet::JetReader>(file);
    }
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        if (it->file != file) continue;
        if (it->identity == identity) {
            kept.splice(kept.begin(), kept, it);
            return kept.front().reader;
        }
        kept.erase(it);
        break;
    }
    auto reader = std::make_shared<const jet::JetReader>(file);
    kept.push_front({file, identity, reader});
    if (kept.size() > kKeep) kept.pop_back();
    return reader;
}

std::shared_ptr<JetRowSource> openSource(const TableRef &ref, const std::string &provider) {
    DataSourceText text(ref.odsInit);
    std::string file = text.path("Data Source");
    if (file.empty()) throw cannotOpen(provider);
    // The workgroup: the one the text names, else "system.mda" beside the file.
    bool named = !text.value("Jet OLEDB:System database").empty();
    std::string workgroup =
        named ? text.path("Jet OLEDB:System database") : (fs::path(file).parent_path() / "system.mda").string();
    std::string user = text.has("User ID") ? text.value("User ID") : "Admin";
    std::string password = text.value("Password");
    std::error_code ec;
    bool check = named || text.has("User ID") || fs::exists(workgroup, ec);
    auto source = std::make_shared<JetRowSource>();
    source->provider = provider;
    bool logon = true;
    try {
        logon = !check || jet::Workgroup::checkLogon(workgroup, user, password);
    } catch (const jet::JetError &) {
        throw cannotOpen(provider, "不能启动应用程序。工作组信息文件丢失，或是已被其他用户以独占方式打开。");
    }
    if (!logon) throw cannotOpen(provider, "不是有效的帐户名称或密码。");
    try {
        source->reader = readerFor(file);
    } catch (const jet::JetError &e) {
        throw cannotOpen(provider, refusal(e, file));
    } catch (const std::bad_alloc &) {
        throw cannotOpen(provider, "数据库 '" + file + "' 已损坏或不完整，需要修复。");
    }
    source->table = source->reader->findTable(ref.name.name);
    if (!source->table) throw makeError(7314, provider, ref.name.name);
    // A damaged table cannot be read; the other tables of the file can.
    if (!source->table->damage.empty()) throw cannotOpen(provider, "数据库 '" + file + "' 已损坏或不完整，需要修复。");
    return source;
}

}  // namespace

std::string OpenDataSource::open(Instance &instance, sqlite3 *db, const TableRef &ref,
                                 std::vector<OutputColumn> &columns) {
    std::string provider = trimmedName(ref.odsProvider);
    if (!instance.adHocQueriesEnabled()) throw makeError(15281);
    if (!providerInstalled(instance, provider)) throw makeError(7403, ref.odsProvider);
    std::shared_ptr<JetRowSource> source = openSource(ref, ref.odsProvider);
    columns.clear();
    for (const auto &f : source->table->fields) {
        OutputColumn c;
        c.name = f.name;
        c.type = mappedType(f);
        c.nullable = !f.required;
        columns.push_back(c);
    }
    if (columns.empty()) throw makeError(7314, ref.odsProvider, ref.name.name);
    static int64_t counter = 0;
    std::string name = "__ods_" + std::to_string(++counter);
    JetVirtualTable::add(name, source);
    JetVirtualTable::registerModule(db);
    try {
        execSql(db, "CREATE VIRTUAL TABLE temp." + quoteIdent(name) + " USING " + JetVirtualTable::kModule + "(" +
                        name + ")");
    } catch (...) {
        JetVirtualTable::remove(name);
        throw;
    }
    // The table holds its own reference from now on; the source stays listed
    // for SQLite to reconnect after a schema reset, until close.
    return name;
}

void OpenDataSource::close(sqlite3 *db, const std::string &name) {
    sqlite3_exec(db, ("DROP TABLE IF EXISTS temp." + quoteIdent(name)).c_str(), nullptr, nullptr, nullptr);
    JetVirtualTable::remove(name);
}

}  // namespace server
