// Runs every case file of tests/server/cases against a fresh database.
#include <gtest/gtest.h>

#include <QDir>

#include <map>
#include <memory>

#include "CaseFile.h"
#include "kit/TestServer.h"
#include "server/Convert.h"

namespace {

std::vector<std::string> caseFiles() {
    QDir dir(QStringLiteral(PNW_SOURCE_DIR "/tests/server/cases"));
    std::vector<std::string> out;
    for (const QString &f : dir.entryList({QStringLiteral("*.test")}, QDir::Files, QDir::Name))
        out.push_back(f.toStdString());
    return out;
}

std::string rowText(const std::vector<server::Value> &row, const std::vector<server::ColumnMeta> &cols) {
    std::string s;
    for (size_t i = 0; i < row.size(); ++i) s += (i ? " | " : "") + server::displayText(row[i], cols[i].type);
    return s;
}

std::string errorsText(const server::BatchResult &r) {
    std::string s;
    for (const auto &e : r.errors) s += "Msg " + std::to_string(e.number()) + ": " + e.text() + "\n";
    return s;
}

class CaseFileTest : public ::testing::TestWithParam<std::string> {};

TEST_P(CaseFileTest, Runs) {
    std::string path = std::string(PNW_SOURCE_DIR "/tests/server/cases/") + GetParam();
    std::vector<Case> cases = readCaseFile(path);
    TestServer fx;
    std::map<std::string, std::unique_ptr<server::Session>> sessions;
    sessions["1"] = fx.connect();
    server::Session *cur = sessions["1"].get();
    for (const Case &c : cases) {
        std::string where = GetParam() + ":" + std::to_string(c.line);
        switch (c.kind) {
        case Case::Kind::Session: {
            const std::string closed = " closed";
            if (c.argument.size() > closed.size() &&
                c.argument.compare(c.argument.size() - closed.size(), closed.size(), closed) == 0) {
                sessions.erase(c.argument.substr(0, c.argument.size() - closed.size()));
                cur = sessions["1"].get();
                break;
            }
            if (!sessions.count(c.argument)) sessions[c.argument] = fx.connect();
            cur = sessions[c.argument].get();
            break;
        }
        case Case::Kind::Transaction:
            if (c.argument == "begin")
                cur->beginTransaction();
            else if (c.argument == "commit")
                cur->commit();
            else
                cur->rollback();
            break;
        case Case::Kind::Ok: {
            auto r = cur->execute(c.sql);
            EXPECT_TRUE(r.ok()) << where << "\n" << c.sql << errorsText(r);
            break;
        }
        case Case::Kind::Error: {
            auto r = cur->execute(c.sql);
            if (r.errors.empty()) {
                ADD_FAILURE() << where << ": expected error " << c.errorNumber << "\n" << c.sql;
                break;
            }
            EXPECT_EQ(r.errors.front().number(), c.errorNumber) << where << "\n" << c.sql << errorsText(r);
            if (!c.errorText.empty()) {
                EXPECT_NE(r.errors.front().text().find(c.errorText), std::string::npos)
                    << where << ": text '" << r.errors.front().text() << "' lacks '" << c.errorText << "'";
            }
            break;
        }
        case Case::Kind::Query: {
            auto r = cur->execute(c.sql);
            if (!r.ok() || r.resultSets.empty()) {
                ADD_FAILURE() << where << ": query failed\n" << c.sql << errorsText(r);
                break;
            }
            const auto &rs = r.resultSets.front();
            std::vector<std::string> got;
            for (const auto &row : rs.rows) got.push_back(rowText(row, rs.columns));
            EXPECT_EQ(got, c.rows) << where << "\n" << c.sql;
            break;
        }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CaseFileTest, ::testing::ValuesIn(caseFiles()),
                         [](const ::testing::TestParamInfo<std::string> &info) {
                             std::string n = info.param.substr(0, info.param.find('.'));
                             for (char &ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return n;
                         });

}  // namespace
