#include <gtest/gtest.h>

#include "jet/JetDate.h"
#include "jet/JetError.h"

using namespace jet;

TEST(JetDate, CountsDaysFromTheJetEpoch) {
    struct Case {
        const char *text;
        double value;
    } cases[] = {
        {"1899-12-30", 0.0},
        {"1899-12-31", 1.0},
        {"1900-01-01", 2.0},
        {"1899-12-29", -1.0},
        {"1899-12-29 06:00:00", -1.25},  // before the epoch the time still counts forwards
        {"1899-12-30 12:00:00", 0.5},
        {"1800-01-01", -36522.0},
        {"2024-02-29", 45351.0},
        {"2024-02-29 18:00:00", 45351.75},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(jetDateFromText(c.text), c.value);
        EXPECT_EQ(jetDateToText(c.value), c.text);
    }
}

TEST(JetDate, RoundTripsSecondsAcrossTheEpoch) {
    for (const char *t : {"1850-06-01 06:30:59", "1899-12-29 23:59:59", "1899-12-30 00:00:01", "9999-12-31 23:59:59",
                          "0100-01-01 00:00:01"}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(jetDateToText(jetDateFromText(t)), t);
    }
}

TEST(JetDate, RejectsBadDates) {
    for (const char *t : {"", "2024-02-30", "2023-02-29", "2024-13-01", "2024-1-1", "2024-01-01 24:00:00",
                          "2024-01-01T10:00:00", "2024-01-01 10:00", "0099-12-31", "2024-01-01x"}) {
        SCOPED_TRACE(t);
        EXPECT_THROW(jetDateFromText(t), JetError);
    }
    EXPECT_THROW(jetDateToParts(1e12), JetError);
    EXPECT_THROW(jetDateToParts(std::numeric_limits<double>::quiet_NaN()), JetError);
}
