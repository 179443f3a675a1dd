#include "platform/IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include "platform/AnsiCodec.h"
#include "platform/PlatformSettings.h"
#include "platform/PnwError.h"

namespace {

enum class Encoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct Decoded {
    QString text;
    Encoding encoding = Encoding::Ansi;
    bool valid = true;
};

Decoded decodeFile(const QByteArray &bytes) {
    Decoded d;
    auto viaQt = [&](QStringConverter::Encoding enc, qsizetype skip) {
        QStringDecoder dec(enc, QStringConverter::Flag::Stateless);
        d.text = dec.decode(bytes.mid(skip));
        d.valid = !dec.hasError();
    };
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        d.encoding = Encoding::Utf8;
        viaQt(QStringConverter::Utf8, 3);
    } else if (bytes.startsWith("\xFF\xFE")) {
        d.encoding = Encoding::Utf16LE;
        viaQt(QStringConverter::Utf16LE, 2);
    } else if (bytes.startsWith("\xFE\xFF")) {
        d.encoding = Encoding::Utf16BE;
        viaQt(QStringConverter::Utf16BE, 2);
    } else {
        d.text = AnsiCodec::decode(bytes, &d.valid);
    }
    return d;
}

QByteArray encodeFile(const QString &text, Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf8: return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case Encoding::Utf16LE: {
        QStringEncoder enc(QStringConverter::Utf16LE);
        return QByteArray("\xFF\xFE") + QByteArray(enc.encode(text));
    }
    case Encoding::Utf16BE: {
        QStringEncoder enc(QStringConverter::Utf16BE);
        return QByteArray("\xFE\xFF") + QByteArray(enc.encode(text));
    }
    case Encoding::Ansi: break;
    }
    return AnsiCodec::encode(text);
}

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

QString trimBlanks(const QString &s) {
    int a = 0;
    int b = static_cast<int>(s.size());
    while (a < b && isBlank(s.at(a))) ++a;
    while (b > a && isBlank(s.at(b - 1))) --b;
    return s.mid(a, b - a);
}

QString trimTrailingBlanks(QString s) {
    while (!s.isEmpty() && isBlank(s.back())) s.chop(1);
    return s;
}

QStringList splitLines(const QString &text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'));
}

bool sameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}  // namespace

IniFile::IniFile(const QString &path) : m_path(path) {
    QFile file(path);
    m_exists = file.exists();
    if (!m_exists) return;
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("无法读取 INI 文件 %1：%2").arg(path, file.errorString());
        return;
    }
    const Decoded d = decodeFile(file.readAll());
    if (!d.valid)
        m_error = QStringLiteral("INI 文件 %1 含有代码页 %2 中无效的字节，已按替换字符读出")
                      .arg(path)
                      .arg(PlatformSettings::ansiCodePage());
    parse(d.text);
}

void IniFile::parse(const QString &text) {
    for (const QString &raw : splitLines(text)) {
        const QString line = trimBlanks(raw);
        Line l;
        if (line.startsWith(QLatin1Char('['))) {
            const int close = static_cast<int>(line.lastIndexOf(QLatin1Char(']')));
            if (close > 0) {
                l.kind = Line::Section;
                l.name = trimBlanks(line.mid(1, close - 1));
            }
        } else if (!line.isEmpty() && !line.startsWith(QLatin1Char(';'))) {
            l.kind = Line::Key;
            const int eq = static_cast<int>(line.indexOf(QLatin1Char('=')));
            if (eq < 0) {
                l.name = line;
            } else {
                l.name = trimBlanks(line.left(eq));
                l.value = trimBlanks(line.mid(eq + 1));
            }
        }
        m_lines.append(l);
    }
}

int IniFile::findSection(const QString &section) const {
    for (int i = 0; i < m_lines.size(); ++i)
        if (m_lines.at(i).kind == Line::Section && sameName(m_lines.at(i).name, section)) return i;
    return -1;
}

std::optional<QString> IniFile::rawValue(const QString &section, const QString &key) const {
    const int s = findSection(section);
    if (s < 0) return std::nullopt;
    for (int i = s + 1; i < m_lines.size() && m_lines.at(i).kind != Line::Section; ++i) {
        const Line &l = m_lines.at(i);
        if (l.kind == Line::Key && sameName(l.name, trimBlanks(key))) return l.value;
    }
    return std::nullopt;
}

QStringList IniFile::sectionNames() const {
    QStringList names;
    for (const Line &l : m_lines)
        if (l.kind == Line::Section) names << l.name;
    return names;
}

QString IniFile::profileString(const QString &section, const QString &key, const QString &defaultValue,
                               int bufferSize) const {
    if (bufferSize <= 1) return QString();
    QString result;
    if (const auto v = rawValue(section, key)) {
        result = *v;
        if (result.size() > 1 && (result.front() == QLatin1Char('"') || result.front() == QLatin1Char('\'')) &&
            result.back() == result.front())
            result = result.mid(1, result.size() - 2);
    } else {
        result = trimTrailingBlanks(defaultValue);
    }
    return AnsiCodec::leftBytes(result, bufferSize - 1);
}

int IniFile::profileInt(const QString &section, const QString &key, int defaultValue) const {
    const QString text = profileString(section, key, QString(), 2048);
    if (text.isEmpty()) return defaultValue;
    int i = 0;
    while (i < text.size() && isBlank(text.at(i))) ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    quint32 n = 0;  // wraps like the platform's 32-bit reading
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i)
        n = n * 10u + static_cast<quint32>(text.at(i).unicode() - '0');
    if (negative) n = 0u - n;
    return static_cast<int>(n);
}

void IniFile::writeProfileString(const QString &path, const QString &section, const QString &key,
                                 const QString &value) {
    const QString source = QStringLiteral("WritePrivateProfileString");
    QString text;
    Encoding encoding = Encoding::Ansi;
    QFile in(path);
    if (in.exists()) {
        if (!in.open(QIODevice::ReadOnly))
            throw PnwError(-1, source, QStringLiteral("无法读取 INI 文件 %1：%2").arg(path, in.errorString()));
        const Decoded d = decodeFile(in.readAll());
        if (!d.valid)
            throw PnwError(-1, source, QStringLiteral("INI 文件 %1 含有代码页中无效的字节，不予改写").arg(path));
        text = d.text;
        encoding = d.encoding;
        in.close();
    }
    const QString eol =
        text.contains(QStringLiteral("\r\n")) || text.isEmpty() ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QStringList lines = splitLines(text);
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    const QString entry = trimBlanks(key) + QLatin1Char('=') + value;

    IniFile parsed(QString{});
    parsed.parse(lines.join(QLatin1Char('\n')));
    const int s = parsed.findSection(section);
    if (s < 0) {
        lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    } else {
        int lastKey = s;
        bool replaced = false;
        for (int i = s + 1; i < parsed.m_lines.size() && parsed.m_lines.at(i).kind != Line::Section; ++i) {
            const Line &l = parsed.m_lines.at(i);
            if (l.kind != Line::Key) continue;
            if (sameName(l.name, trimBlanks(key))) {
                lines[i] = entry;
                replaced = true;
                break;
            }
            lastKey = i;
        }
        if (!replaced) lines.insert(lastKey + 1, entry);
    }

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        throw PnwError(-1, source, QStringLiteral("无法写入 INI 文件 %1：%2").arg(path, out.errorString()));
    out.write(encodeFile(lines.join(eol) + eol, encoding));
    if (!out.commit())
        throw PnwError(-1, source, QStringLiteral("无法写入 INI 文件 %1：%2").arg(path, out.errorString()));
}
