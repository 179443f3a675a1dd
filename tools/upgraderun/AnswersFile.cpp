#include "AnswersFile.h"

#include <QRegularExpression>

#include "platform/MessageScript.h"

namespace {

QString keyOf(const QString &dialog, const QString &row) { return dialog + QLatin1Char(' ') + row.simplified(); }

// The answer without its note.
QString withoutNote(const QString &text) {
    static const QRegularExpression note(QStringLiteral("(^|\\s)#"));
    const QRegularExpressionMatch m = note.match(text);
    return (m.hasMatch() ? text.left(m.capturedStart()) : text).trimmed();
}

// The sides of a business unit: 客户, 供应商 or both, in any order.
bool isSides(const QString &answer) {
    const QStringList words = answer.split(QRegularExpression(QStringLiteral("[\\s,，、+]+")), Qt::SkipEmptyParts);
    if (words.isEmpty() || words.size() > 2) return false;
    for (const QString &w : words)
        if (w != QStringLiteral("客户") && w != QStringLiteral("供应商")) return false;
    return true;
}

// Why an answer cannot be taken for the dialog ("" when it can).
QString refusal(const QString &dialog, const QString &answer) {
    if (answer.isEmpty()) return QString();
    if (dialog == QLatin1String("nature") && answer != QStringLiteral("客户") && answer != QStringLiteral("供应商"))
        return QStringLiteral("an account's nature is 客户 or 供应商");
    if (dialog == QLatin1String("businessunit") && !isSides(answer))
        return QStringLiteral("a business unit is 客户, 供应商 or 客户 供应商");
    if (dialog == QLatin1String("payitem") &&
        !QStringList{QStringLiteral("逻辑"), QStringLiteral("日期"), QStringLiteral("文本"), QStringLiteral("整数"),
                     QStringLiteral("实数"), QStringLiteral("货币")}
             .contains(answer))
        return QStringLiteral("a data type is one of 逻辑 日期 文本 整数 实数 货币");
    if (dialog == QLatin1String("unit") && answer == QStringLiteral("*"))
        return QStringLiteral("the unit name \"*\" is reserved");
    return QString();
}

}  // namespace

const QStringList &AnswersFile::dialogs() {
    static const QStringList words = {QStringLiteral("nature"), QStringLiteral("unit"), QStringLiteral("businessunit"),
                                      QStringLiteral("payitem"), QStringLiteral("bank")};
    return words;
}

QString AnswersFile::line(const QString &dialog, const QString &row, const QString &answer, const QString &note) {
    QString text = keyOf(dialog, row) + QStringLiteral(" = ") + answer;
    if (!note.isEmpty()) text += (answer.isEmpty() ? QStringLiteral(" # ") : QStringLiteral("  # ")) + note.simplified();
    return text;
}

std::optional<AnswersFile> AnswersFile::parse(const QString &text, QString &error) {
    AnswersFile file;
    // Message replies keep their line numbers: answer lines become blanks.
    QStringList replyLines;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char('#')) || equals < 0) {
            replyLines << line;
            continue;
        }
        replyLines << QString();
        const QString left = line.left(equals).simplified();
        const QString dialog = left.section(QLatin1Char(' '), 0, 0);
        const QString row = left.section(QLatin1Char(' '), 1);
        const auto where = [&](const QString &why) {
            error = QStringLiteral("line %1: %2: %3").arg(i + 1).arg(why, line);
            return std::nullopt;
        };
        if (!dialogs().contains(dialog)) return where(QStringLiteral("not a dialog (") + dialogs().join(QStringLiteral(", ")) + QLatin1Char(')'));
        if (row.isEmpty()) return where(QStringLiteral("no row named"));
        const QString answer = withoutNote(line.mid(equals + 1));
        const QString why = refusal(dialog, answer);
        if (!why.isEmpty()) return where(why);
        if (answer.isEmpty()) continue;  // left to be filled in
        const QString key = keyOf(dialog, row);
        if (file.m_entries.contains(key)) return where(QStringLiteral("answered twice"));
        file.m_entries.insert(key, Entry{answer, line, false});
        file.m_order << key;
    }
    QString replyError;
    file.replies = MessageScript::parseReplies(replyLines.join(QLatin1Char('\n')), &replyError);
    if (!replyError.isEmpty()) {
        error = replyError;
        return std::nullopt;
    }
    return file;
}

std::optional<QString> AnswersFile::take(const QString &dialog, const QString &row) {
    auto it = m_entries.find(keyOf(dialog, row));
    if (it == m_entries.end()) return std::nullopt;
    it->used = true;
    return it->answer;
}

QStringList AnswersFile::unused() const {
    QStringList out;
    for (const QString &key : m_order)
        if (!m_entries.value(key).used) out << m_entries.value(key).line;
    return out;
}
