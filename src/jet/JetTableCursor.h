// Streams the rows of one table, one page in memory at a time.
#pragma once

#include <memory>
#include <vector>

#include "jet/JetTableInfo.h"
#include "jet/JetValue.h"

namespace jet {

struct JetReaderState;
struct JetCursorState;

class JetTableCursor {
public:
    // checkDates: a Date/Time outside the years 100 to 9999 is damage (the
    // reader's own walk of the catalogue, which uses no dates, passes them).
    JetTableCursor(const JetReaderState &reader, const JetTableInfo &info, bool checkDates = true);
    ~JetTableCursor();
    JetTableCursor(const JetTableCursor &) = delete;
    JetTableCursor &operator=(const JetTableCursor &) = delete;

    const JetTableInfo &info() const;
    // Fills row with the next row's values (one per field); false at the
    // end. Throws JetError(kErrFormat) on damaged data.
    bool next(std::vector<Value> &row);

private:
    std::unique_ptr<JetCursorState> state_;
};

}  // namespace jet
