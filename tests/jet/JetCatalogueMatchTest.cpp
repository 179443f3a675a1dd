// A table whose definition is not the one its catalogue row means is
// refused by name, the other tables still read: a definition of the wrong
// kind, one copied over another's, an unreadable or doubled column name,
// a column the catalogue row's properties name but the definition lacks,
// and two definitions exchanged. Files made by our writer, then damaged.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "JetTestUtil.h"
#include "WornFileFixture.h"
#include "jet/JetError.h"
#include "jet/JetReader.h"
#include "jet/JetWriter.h"

using namespace jet;
using namespace jettest;

namespace {

constexpr size_t kPage = format::kPageSize;

std::string ucs2(const std::string &ascii) {
    std::string out;
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

// The first page of the definition naming a column (with its length prefix,
// so that "FID" is not found inside "FAcctID").
size_t definitionOf(const std::string &bytes, const std::string &column) {
    const std::string name = std::string{static_cast<char>(2 * column.size()), '\0'} + ucs2(column);
    for (size_t pg = 1; pg * kPage < bytes.size(); ++pg) {
        const std::string page = bytes.substr(pg * kPage, kPage);
        if (page[0] == format::kPageTableDef && page.find(name) != std::string::npos) return pg;
    }
    ADD_FAILURE() << "no definition names " << column;
    return 0;
}

// Renames a column inside its definition (same length).
void renameColumn(std::string &bytes, const std::string &from, const std::string &to) {
    const size_t pg = definitionOf(bytes, from);
    const size_t at = bytes.find(ucs2(from), pg * kPage);
    bytes.replace(at, 2 * to.size(), ucs2(to));
}

void swapPages(std::string &bytes, size_t a, size_t b) {
    const std::string pa = bytes.substr(a * kPage, kPage);
    bytes.replace(a * kPage, kPage, bytes, b * kPage, kPage);
    bytes.replace(b * kPage, kPage, pa);
}

struct Case {
    const char *what;
    bool worn;  // the worn file, else a file of one table with rows and one without
    std::function<void(std::string &)> damage;
    std::map<std::string, std::string> refused;  // table -> what its refusal says
};

}  // namespace

TEST(JetCatalogueMatch, ADefinitionOtherThanItsRowMeansIsRefused) {
    ScratchDir dir;
    const std::string worn = dir.file("worn.ais"), pair = dir.file("pair.ais");
    writeWornFile(worn);
    JetWriter::writeFile(pair, {parseTableText("GLAcct", "FAcctID:Text(20)\tFName:Text(40)\n1001\tcash\n1002\tbank\n"),
                                parseTableText("GLRate", "FCyID:Text(10)\tFBegRate:Double\n")});
    const std::string wornBytes = readBytes(worn), pairBytes = readBytes(pair);
    for (const auto &[name, outcome] : readTables(worn)) ASSERT_EQ(outcome, "read") << name;
    for (const auto &[name, outcome] : readTables(pair)) ASSERT_EQ(outcome, "read") << name;

    const Case cases[] = {
        {"a user table's definition says system table",
         true,
         [](std::string &b) { b[definitionOf(b, "FText") * kPage + 40] = 0x53; },
         {{"GLVch", "whose definition is a system table's"}}},
        {"a definition of no known kind",
         true,
         [](std::string &b) { b[definitionOf(b, "FSingle") * kPage + 40] = 0x58; },
         {{"AllKinds", "definition of unknown kind"}}},
        {"one definition copied over another",
         true,
         [](std::string &b) {
             b.replace(definitionOf(b, "FSingle") * kPage, kPage, b, definitionOf(b, "FText") * kPage, kPage);
         },
         {{"AllKinds", "shares its usage map"}, {"GLVch", "shares its usage map"}}},
        {"a column name with a control character",
         true,
         [](std::string &b) { renameColumn(b, "FSingle", "\x01Single"); },
         {{"AllKinds", "unreadable column name"}}},
        {"two columns of one name",
         true,
         [](std::string &b) { renameColumn(b, "FByte", "FFlag"); },
         {{"AllKinds", "two columns of one name"}}},
        {"a column the catalogue row's properties name is missing",
         true,
         [](std::string &b) { renameColumn(b, "FID", "FIX"); },
         {{"GLVch", "has no column \"FID\""}}},
        {"the definitions of an empty user table and an empty system table exchanged",
         false,
         [](std::string &b) { swapPages(b, definitionOf(b, "FCyID"), definitionOf(b, "ACM")); },
         {{"GLRate", "whose definition is a system table's"},
          {"MSysACEs", "is a system table whose definition is a user table's"}}},
        {"the definitions of a table with rows and one without exchanged",
         false,
         [](std::string &b) { swapPages(b, definitionOf(b, "FAcctID"), definitionOf(b, "FCyID")); },
         {{"GLAcct", "has data pages its definition does not list"}, {"GLRate", "lists the data pages of table"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = c.worn ? wornBytes : pairBytes;
        c.damage(bytes);
        const std::string file = dir.file("damaged.ais");
        writeBytes(file, bytes);
        for (const auto &[name, outcome] : readTables(file)) {
            auto it = c.refused.find(name);
            if (it == c.refused.end()) {
                EXPECT_EQ(outcome, "read") << name;
                continue;
            }
            EXPECT_NE(outcome.find("\"" + name + "\""), std::string::npos) << outcome;
            EXPECT_NE(outcome.find(it->second), std::string::npos) << outcome;
        }
    }
}
