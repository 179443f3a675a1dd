// Reads a Jet file (Jet 4, and Jet 3 where libmdb reads it) read-only
// through libmdb. Lists every table definition, system tables included, and
// streams rows with values decoded by type (JetValue.h). The file is
// untrusted: its structures are checked before libmdb sees them, and any
// damage surfaces as JetError(kErrFormat), never as a crash. Opening
// checks the header and the catalogue; a damaged table definition only
// marks that table (JetTableInfo::damage), so tables nobody reads cannot
// make the file unreadable.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "jet/JetTableCursor.h"
#include "jet/JetTableInfo.h"

namespace jet {

struct JetReaderState;

class JetReader {
public:
    // Throws JetError: kErrOpen (missing, unreadable), kErrFormat (not a
    // Jet file, damaged).
    explicit JetReader(const std::string &path);
    ~JetReader();
    JetReader(const JetReader &) = delete;
    JetReader &operator=(const JetReader &) = delete;

    const std::string &path() const;
    int jetVersion() const;  // 3 or 4
    // Every table of the catalogue, in catalogue order.
    const std::vector<JetTableInfo> &tables() const;
    // Case-insensitive; nullptr when there is none.
    const JetTableInfo *findTable(const std::string &name) const;
    // A cursor over the live rows of a table. Throws JetError: kErrNoTable,
    // kErrFormat (the table is damaged; the message names it).
    // REQUIRES: the cursor does not outlive this reader.
    std::unique_ptr<JetTableCursor> openTable(const std::string &name) const;

private:
    std::unique_ptr<JetReaderState> state_;
};

}  // namespace jet
