// Checks of text typed by the operator (account number, account name,
// company name) and two small path and file-name routines. Lengths are
// byte lengths in the ANSI code page. Blanks trimmed are spaces only.
// The checks return a Boolean and raise nothing of their own, except
// StartsWithDigit on a blank text. UI thread only.
#pragma once

#include <QString>

// True when the text, trimmed, starts with "0" to "9". REQUIRES a text that
// is not blank; otherwise raises PnwError 5.
bool StartsWithDigit(const QString &text);

// True when the trimmed name is within maxLen bytes (maxLen below 1: no
// limit), does not end in "." and is not empty, and holds only letters A-Z
// (either case), digits and "_", plus double-byte characters when
// allowDoubleByte, "." when allowDot, and blanks and parentheses when
// allowSpaceParens.
bool IsValidName(const QString &name, int maxLen, bool allowDoubleByte, bool allowDot, bool allowSpaceParens);

// True when the trimmed name is not empty, within maxLen bytes (below 1: no
// limit) and, unless skipCharCheck, holds none of ' \ $ ". On the first such
// character: message "公司名称不能包含" and the character, position its
// index from 1, and False. Otherwise message and position stay as they were.
bool CheckCompanyName(QString &message, int &position, const QString &name, bool skipCharCheck, int maxLen);

// True when the folder exists on the database server: a path of at most 3
// characters (after trimming) must be one of the server's fixed drives, a
// longer one an existing folder. Otherwise, and when the path is empty or
// there is no server component, the operator is told (critical icon) and
// the result is False; an error of the component gives False silently.
// Sets g_ServerObject.
bool CheckServerFolder(const QString &path, const QString &label);

// The text after the last "."; the whole name without one; "" when it ends
// in ".".
QString GetFileExtension(const QString &fileName);

// The trimmed path with one "/" at the end; "" stays "".
QString AddTrailingBackslash(const QString &path);
