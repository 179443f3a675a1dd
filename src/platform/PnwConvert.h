// Value conversions of the component library: any value to its text, and
// the byte length of a text in the ANSI code page.
#pragma once

#include <QString>
#include <QVariant>

class PnwConvert {
public:
    // Null and "" give ""; booleans "True"/"False"; whole numbers in
    // decimal; floating values with up to 15 significant digits ("0.1",
    // "1E+20"); dates in the regional short-date format, times in the long
    // time format, a date-time as both (the date alone at midnight); bytes
    // are read in the ANSI code page; anything else as Qt converts it.
    static QString ToText(const QVariant &value);
    // As ToText, with defaultText for Null.
    static QString ToText(const QVariant &value, const QString &defaultText);
    // Bytes the text takes in the ANSI code page ("张三" is 4 in GBK).
    static int ByteLength(const QString &text);
};
