// SQL texts as the steps write them: the statement as it stands, with named
// placeholders "{name}" that are filled with literals (quotes doubled, NULL
// for a Null value), so no caller splices raw text into a statement.
//
//   SqlText("UPDATE t_Item SET FName = {name} WHERE FItemID = {id}")
//       .arg("name", sourceName).arg("id", itemId).str();
//
// A placeholder is "{" letters, digits or "_" "}"; any other brace is kept.
// str() raises PnwError 5 naming the first placeholder left unfilled, so a
// statement never reaches the server half-built.
#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

// The text with every apostrophe doubled (for use between apostrophes).
QString SqlLiteral(QString text);
// 'text' with its apostrophes doubled.
QString SqlString(const QString &text);
// N'text' with its apostrophes doubled.
QString SqlNString(const QString &text);
// [name] with its closing brackets doubled: a table or column name that may
// hold blanks, "]" or ";".
QString SqlName(QString name);
// A value as a T-SQL literal: Null -> NULL; bool -> 1/0; integers and
// floating numbers as plain numbers (no exponent for money-sized values);
// a null QString -> NULL; QDate -> 'yyyy-MM-dd'; QDateTime -> 'yyyy-MM-dd HH:mm:ss'; anything else
// as N'text'.
QString SqlValue(const QVariant &value);

class SqlText {
public:
    explicit SqlText(QString sql);

    // {name} becomes SqlValue(value).
    SqlText &arg(const QString &name, const QVariant &value);
    // {name} becomes 'text' (a non-Unicode literal, where the statement
    // compares with varchar columns); a Null QString becomes NULL.
    SqlText &text(const QString &name, const QString &value);
    // {name} becomes a piece of SQL written by the program itself (a table
    // or column name built from known parts, a list of numbers). Never pass
    // text from the source file or the user here.
    SqlText &raw(const QString &name, const QString &sql);

    // The filled statement. Raises PnwError 5 when a placeholder has no value.
    QString str() const;
    operator QString() const { return str(); }

private:
    QString m_sql;
    QHash<QString, QString> m_values;
};
