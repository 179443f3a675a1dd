#include "CheckSupport.h"

namespace samples {

namespace {

// Texts the upgrade splices into statements with their quotes doubled.
const std::set<std::pair<std::string, std::string>> kQuoteSafe = {
    {"GLVch", "FExp"},        {"GLVchTemplate1", "FExp"}, {"GLRecurEntry", "FExp"},
    {"FACard", "FAssetName"}, {"FACard", "FModel"},       {"FACard", "FRemark"},
};

size_t characters(const std::string &utf8) {
    size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

Problems checkTexts(const SampleSet &s) {
    Report r;
    for (const auto &[name, t] : s.tables()) {
        const auto &cols = t.text().columns;
        for (size_t c = 0; c < cols.size(); ++c) {
            const bool text = cols[c].type == jet::ColumnType::Text || cols[c].type == jet::ColumnType::Memo;
            if (!text) continue;
            const bool quotesAllowed = kQuoteSafe.count({name, cols[c].name}) != 0;
            for (size_t i = 0; i < t.size(); ++i) {
                const auto &cell = t.text().rows[i][c];
                if (!cell) continue;
                if (cols[c].type == jet::ColumnType::Text)
                    r.expect(characters(*cell) <= static_cast<size_t>(cols[c].size),
                             name + "." + cols[c].name + " too long: " + *cell);
                r.expect(quotesAllowed || cell->find('\'') == std::string::npos,
                         name + "." + cols[c].name + " holds a quote: " + *cell);
            }
        }
    }
    return r.take();
}

Problems checkUsers(const SampleSet &s) {
    Report r;
    std::set<int64_t> groups;
    std::set<std::string> groupNames, users;
    const Table &g = s["GLUserGroup"];
    for (size_t i = 0; i < g.size(); ++i) {
        r.expect(g.integer(i, "FUserGroupID") >= 0 && groups.insert(g.integer(i, "FUserGroupID")).second,
                 "user group number");
        groupNames.insert(g.str(i, "FUserGroupName"));
    }
    r.expect(groups.count(0) && groups.count(1), "built-in user groups missing");
    const Table &u = s["SysUsers"];
    for (size_t i = 0; i < u.size(); ++i) {
        r.expect(users.insert(u.str(i, "FUser")).second, "user named twice: " + u.str(i, "FUser"));
        r.expect(groups.count(u.integer(i, "FUserGroupID")) != 0, "user " + u.str(i, "FUser") + " in no group");
        r.expect(!groupNames.count(u.str(i, "FUser")), "a group is named like user " + u.str(i, "FUser"));
    }
    return r.take();
}

Problems checkTemplates(const SampleSet &s) {
    Report r;
    const auto accounts = accountRows(s);
    std::set<std::string> groups, currencies;
    for (size_t i = 0; i < s["GLVchGroup"].size(); ++i) groups.insert(s["GLVchGroup"].str(i, "FGroup"));
    for (size_t i = 0; i < s["GLCy"].size(); ++i) currencies.insert(s["GLCy"].str(i, "FCyID"));
    std::set<int64_t> types, ids;
    for (size_t i = 0; i < s["GLVchTemplateType"].size(); ++i)
        types.insert(s["GLVchTemplateType"].integer(i, "FTypeID"));
    const Table &t = s["GLVchTemplate"];
    for (size_t i = 0; i < t.size(); ++i) {
        r.expect(ids.insert(t.integer(i, "FID")).second, "template number twice");
        r.expect(types.count(t.integer(i, "FTypeID")) && groups.count(t.str(i, "FVchGroup")),
                 "template " + t.str(i, "FName") + " names an unknown category or group");
    }
    std::map<int64_t, int64_t> next;
    const Table &e = s["GLVchTemplate1"];
    for (size_t i = 0; i < e.size(); ++i) {
        const int64_t id = e.integer(i, "FGroupID");
        r.expect(ids.count(id) != 0, "template entry of no template");
        r.expect(e.integer(i, "FIndex") == next[id]++, "template entries not numbered from 0");
        r.expect(accounts.count(e.str(i, "FAcctID")) && currencies.count(e.str(i, "FCyID")),
                 "template entry account or currency");
        for (const char *c : {"FObjID", "FCustID", "FDeptID", "FEmplID"})
            r.expect(e.str(i, c) != "*", "\"*\" item in a template");
    }
    std::set<int64_t> recurs;
    const Table &rc = s["GLRecur"];
    for (size_t i = 0; i < rc.size(); ++i) {
        r.expect(recurs.insert(rc.integer(i, "FRecurID")).second && groups.count(rc.str(i, "FVchGroup")),
                 "recurring transfer " + rc.str(i, "FRecurName"));
    }
    std::set<std::pair<int64_t, int64_t>> entries;
    const Table &re = s["GLRecurEntry"];
    for (size_t i = 0; i < re.size(); ++i) {
        r.expect(recurs.count(re.integer(i, "FRecurID")) &&
                     entries.insert({re.integer(i, "FRecurID"), re.integer(i, "FEntryID")}).second,
                 "recurring entry without transfer or twice");
        r.expect(accounts.count(re.str(i, "FAcctID")) && currencies.count(re.str(i, "FCyID")),
                 "recurring entry account or currency");
        for (const char *c : {"FAmountFor", "FAmount", "FQty"})
            r.expect(re.str(i, c).find('\'') == std::string::npos, "quote in a formula");
    }
    return r.take();
}

}  // namespace samples
