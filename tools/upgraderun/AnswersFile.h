// The answers file of upgraderun: replies to message boxes and answers to
// the mapping dialogs' questions, written by a person.
//   - A line "<dialog> <row> = <answer>" answers one row of a mapping
//     dialog, the row named by what the dialog shows in it:
//       nature <account code> = 客户 | 供应商
//       unit <account code> = <measure unit name>
//       businessunit <unit code> = 客户 | 供应商 | 客户 供应商
//       payitem <pay item name> = 逻辑 | 日期 | 文本 | 整数 | 实数 | 货币
//       bank <account code> <currency> = <bank account number>
//     A "#" that begins the answer or follows a blank starts a note; an
//     empty answer leaves the question unanswered.
//   - Any other line is a reply to the next message box (OK, Cancel, Abort,
//     Retry, Ignore, Yes, No or the number 1 to 7).
//   - Blank lines and lines starting with "#" are skipped.
#pragma once

#include <optional>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class AnswersFile {
public:
    // The file's text read, or none with the reason ("line 3: ...").
    static std::optional<AnswersFile> parse(const QString &text, QString &error);

    // The message-box replies in order.
    QList<int> replies;

    // The answer given for a dialog's row, marking it used; none when the
    // file gives none. row is matched with its blanks collapsed.
    std::optional<QString> take(const QString &dialog, const QString &row);
    // The answer lines that matched no row of any dialog shown.
    QStringList unused() const;

    // The known dialog words, in the order above.
    static const QStringList &dialogs();
    // The line that answers row of dialog with answer (may be empty), with
    // an optional note after it.
    static QString line(const QString &dialog, const QString &row, const QString &answer,
                        const QString &note = QString());

private:
    struct Entry {
        QString answer;
        QString line;
        bool used = false;
    };
    QHash<QString, Entry> m_entries;  // "<dialog> <row>"
    QStringList m_order;              // keys in file order
};
