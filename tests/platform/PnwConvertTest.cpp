#include <gtest/gtest.h>

#include <QDateTime>

#include "platform/PlatformSettings.h"
#include "platform/PnwConvert.h"

TEST(PnwConvert, ValuesToText) {
    PlatformSettings::resetToEnvironment();
    PlatformSettings::setShortDateFormat(QStringLiteral("yyyy/M/d"));
    PlatformSettings::setLongTimeFormat(QStringLiteral("H:mm:ss"));
    struct Case {
        QVariant value;
        QString text;
    } cases[] = {
        {QVariant(), ""},
        {QString(""), ""},
        {QStringLiteral("文本"), "文本"},
        {true, "True"},
        {false, "False"},
        {42, "42"},
        {qint64(-9000000000), "-9000000000"},
        {0.1, "0.1"},
        {2.5, "2.5"},
        {1.0 / 3.0, "0.333333333333333"},
        {1e20, "1E+20"},
        {QDate(2018, 3, 7), "2018/3/7"},
        {QDateTime(QDate(2018, 3, 7), QTime(9, 5, 1)), "2018/3/7 9:05:01"},
        {QDateTime(QDate(2018, 3, 7), QTime(0, 0)), "2018/3/7"},
    };
    for (const Case &c : cases) EXPECT_EQ(PnwConvert::ToText(c.value), c.text) << c.value.typeName();
    EXPECT_EQ(PnwConvert::ToText(QVariant(), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(PnwConvert::ToText(QString(""), QStringLiteral("d")), QString());
    EXPECT_EQ(PnwConvert::ToText(7, QStringLiteral("d")), QStringLiteral("7"));
    PlatformSettings::resetToEnvironment();
}

TEST(PnwConvert, ByteLengthFollowsTheCodePage) {
    PlatformSettings::setAnsiCodePage(936);
    EXPECT_EQ(PnwConvert::ByteLength(QStringLiteral("张三ab")), 6);
    EXPECT_EQ(PnwConvert::ByteLength(QString()), 0);
    PlatformSettings::setAnsiCodePage(1252);
    EXPECT_EQ(PnwConvert::ByteLength(QStringLiteral("张三ab")), 4);  // "??ab"
    PlatformSettings::resetToEnvironment();
}
