#include "foundation/InputChecks.h"
#include "foundation/TrimSpaces.h"

#include "platform/AnsiCodec.h"
#include "platform/PnwConvert.h"
#include "platform/PnwError.h"

namespace {

bool passes(QChar c, bool allowDoubleByte, bool allowDot, bool allowSpaceParens) {
    if (allowSpaceParens && (c == QLatin1Char(' ') || c == QLatin1Char('(') || c == QLatin1Char(')'))) return true;
    const QByteArray bytes = AnsiCodec::encode(QString(c).toUpper());
    if (bytes.size() >= 2) return allowDoubleByte;  // a double-byte character
    if (bytes.size() != 1) return false;
    const char b = bytes.at(0);
    return (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '_' || (allowDot && b == '.');
}

}  // namespace

bool StartsWithDigit(const QString &text) {
    const QString t = TrimSpaces(text);
    if (t.isEmpty()) throw PnwError(5, QStringLiteral("StartsWithDigit"), QStringLiteral("无效的过程调用或参数"));
    return t.at(0) >= QLatin1Char('0') && t.at(0) <= QLatin1Char('9');
}

bool IsValidName(const QString &name, int maxLen, bool allowDoubleByte, bool allowDot, bool allowSpaceParens) {
    const QString t = TrimSpaces(name);
    if (maxLen >= 1 && PnwConvert::ByteLength(t) > maxLen) return false;
    if (GetFileExtension(t).isEmpty()) return false;
    for (QChar c : t)
        if (!passes(c, allowDoubleByte, allowDot, allowSpaceParens)) return false;
    return true;
}

bool CheckCompanyName(QString &message, int &position, const QString &name, bool skipCharCheck, int maxLen) {
    const QString t = TrimSpaces(name);
    if ((maxLen >= 1 && PnwConvert::ByteLength(t) > maxLen) || t.isEmpty()) return false;
    if (skipCharCheck) return true;
    static const QString forbidden = QStringLiteral("'\\$\"");
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (forbidden.contains(t.at(i))) {
            message = QStringLiteral("公司名称不能包含") + t.at(i);
            position = static_cast<int>(i + 1);
            return false;
        }
    }
    return true;
}

QString GetFileExtension(const QString &fileName) {
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? fileName : fileName.mid(dot + 1);
}

QString AddTrailingBackslash(const QString &path) {
    const QString t = TrimSpaces(path);
    if (t.isEmpty() || t.endsWith(QLatin1Char('/'))) return t;
    return t + QLatin1Char('/');
}
