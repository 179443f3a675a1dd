#include "jet/Workgroup.h"

#include <glib.h>

#include <random>

#include <strings.h>

#include "jet/JetError.h"
#include "jet/JetReader.h"
#include "jet/JetWriter.h"
#include "jet/TableText.h"

namespace jet {

namespace {

constexpr const char *kTable = "MSysAccounts";

std::string hashOf(const std::string &salt, const std::string &password) {
    const std::string input = salt + password;
    gchar *hex =
        g_compute_checksum_for_data(G_CHECKSUM_SHA256, reinterpret_cast<const guchar *>(input.data()), input.size());
    std::string out(hex);
    g_free(hex);
    return out;
}

std::string newSalt() {
    std::random_device rd;
    static const char *digits = "0123456789abcdef";
    std::string salt;
    for (int i = 0; i < 32; ++i) salt += digits[rd() % 16];
    return salt;
}

// Compares in constant time so that a wrong password's timing says nothing.
bool sameText(const std::string &a, const std::string &b) {
    if (a.size() != b.size()) return false;
    unsigned char diff = 0;
    for (size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

}  // namespace

void Workgroup::writeFile(const std::string &path) { writeFile(path, {{kUser, kPassword}}); }

void Workgroup::writeFile(const std::string &path, const std::vector<Account> &accounts) {
    TableText table = parseTableText(kTable, "Name:Text(64)!\tSalt:Text(32)!\tHash:Text(64)!\n");
    for (const auto &[user, password] : accounts) {
        const std::string salt = newSalt();
        table.rows.push_back({user, salt, hashOf(salt, password)});
    }
    JetWriter::writeFile(path, {table});
}

bool Workgroup::checkLogon(const std::string &path, const std::string &user, const std::string &password) {
    JetReader reader(path);
    const JetTableInfo *info = reader.findTable(kTable);
    if (!info || info->fields.size() != 3) throw JetError(kErrFormat, path + " is not a workgroup file");
    auto cursor = reader.openTable(kTable);
    std::vector<Value> row;
    bool accepted = false;
    while (cursor->next(row)) {
        if (row[0].kind != ValueKind::Text || row[1].kind != ValueKind::Text || row[2].kind != ValueKind::Text)
            throw JetError(kErrFormat, path + " is not a workgroup file");
        if (!strcasecmp(row[0].bytes.c_str(), user.c_str()) && sameText(hashOf(row[1].bytes, password), row[2].bytes))
            accepted = true;
    }
    return accepted;
}

}  // namespace jet
