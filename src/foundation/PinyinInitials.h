// Chinese initials: every character of the GB 2312 set becomes the
// upper-case first letter of its pinyin reading ("张三" -> "ZS"); every
// other character stays as it is. Characters are looked up by their code
// in code page 936 whatever the ANSI code page setting. UI thread only
// (the tables are module state).
#pragma once

#include <QChar>
#include <QString>

// The initials of text, one character per UTF-16 unit of text, except that
// a few GBK codes past the end of the level-2 table drop out. A text over
// 32,767 units raises PnwError 6 (overflow).
QString GetPinyinInitials(const QString &text);
// The initial of one character: a letter, "[" (a level-2 character without
// a letter), the character itself, or "" (dropped).
QString GetCharInitial(QChar character);
// Fills the two lookup tables; GetPinyinInitials calls it on every call.
void InitInitialTables();
