#include "platform/RegistryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include "platform/PnwError.h"

namespace {

const QString kSource = QStringLiteral("PNW.Reg");

bool sameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString quote(const QString &s) {
    QString out = QStringLiteral("\"");
    for (QChar c : s) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '"': out += QStringLiteral("\\\""); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default: out += c;
        }
    }
    return out + QLatin1Char('"');
}

// Reads a quoted text at pos (which must hold '"'); advances pos past it.
std::optional<QString> readQuoted(const QString &line, int &pos) {
    if (pos >= line.size() || line.at(pos) != QLatin1Char('"')) return std::nullopt;
    QString out;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line.at(pos);
        if (c == QLatin1Char('"')) {
            ++pos;
            return out;
        }
        if (c == QLatin1Char('\\')) {
            if (++pos >= line.size()) return std::nullopt;
            switch (line.at(pos).unicode()) {
            case '\\': out += QLatin1Char('\\'); break;
            case '"': out += QLatin1Char('"'); break;
            case 'n': out += QLatin1Char('\n'); break;
            case 'r': out += QLatin1Char('\r'); break;
            case 't': out += QLatin1Char('\t'); break;
            default: return std::nullopt;
            }
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

void skipBlanks(const QString &line, int &pos) {
    while (pos < line.size() && (line.at(pos) == QLatin1Char(' ') || line.at(pos) == QLatin1Char('\t'))) ++pos;
}

}  // namespace

QString RegistryFile::normalizeKeyPath(const QString &keyPath) {
    QString p = keyPath.trimmed();
    while (p.endsWith(QLatin1Char('\\'))) p.chop(1);
    const int cut = p.indexOf(QLatin1Char('\\'));
    const QString hive = cut < 0 ? p : p.left(cut);
    const QString rest = cut < 0 ? QString() : p.mid(cut);
    if (sameName(hive, QStringLiteral("HKLM"))) return QStringLiteral("HKEY_LOCAL_MACHINE") + rest;
    if (sameName(hive, QStringLiteral("HKCU"))) return QStringLiteral("HKEY_CURRENT_USER") + rest;
    return p;
}

int RegistryFile::findKey(const QString &keyPath) const {
    const QString p = normalizeKeyPath(keyPath);
    for (int i = 0; i < m_keys.size(); ++i)
        if (sameName(m_keys.at(i).path, p)) return i;
    return -1;
}

bool RegistryFile::keyExists(const QString &keyPath) const { return findKey(keyPath) >= 0; }

std::optional<RegistryFile::Value> RegistryFile::value(const QString &keyPath, const QString &name) const {
    const int k = findKey(keyPath);
    if (k < 0) return std::nullopt;
    for (const Value &v : m_keys.at(k).values)
        if (sameName(v.name, name)) return v;
    return std::nullopt;
}

void RegistryFile::setValue(const QString &keyPath, const Value &value) {
    int k = findKey(keyPath);
    if (k < 0) {
        m_keys.append(Key{normalizeKeyPath(keyPath), {}});
        k = static_cast<int>(m_keys.size()) - 1;
    }
    for (Value &v : m_keys[k].values) {
        if (sameName(v.name, value.name)) {
            v.multi = value.multi;
            v.data = value.data;
            return;
        }
    }
    m_keys[k].values.append(value);
}

bool RegistryFile::removeValue(const QString &keyPath, const QString &name) {
    const int k = findKey(keyPath);
    if (k < 0) return false;
    auto &values = m_keys[k].values;
    for (int i = 0; i < values.size(); ++i) {
        if (sameName(values.at(i).name, name)) {
            values.removeAt(i);
            return true;
        }
    }
    return false;
}

QString RegistryFile::toText() const {
    QString out;
    for (const Key &key : m_keys) {
        out += QLatin1Char('[') + key.path + QStringLiteral("]\n");
        for (const Value &v : key.values) {
            out += v.name.isEmpty() ? QStringLiteral("@") : quote(v.name);
            out += QLatin1Char('=');
            if (v.multi) {
                QStringList parts;
                for (const QString &s : v.data) parts << quote(s);
                out += QStringLiteral("multi:") + parts.join(QLatin1Char(','));
            } else {
                out += quote(v.data.value(0));
            }
            out += QLatin1Char('\n');
        }
        out += QLatin1Char('\n');
    }
    return out;
}

RegistryFile RegistryFile::fromText(const QString &text, const QString &origin) {
    RegistryFile reg;
    int current = -1;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString trimmed = line.trimmed();
        auto fail = [&](const QString &why) {
            return PnwError(
                -1, kSource,
                QStringLiteral("注册表文件 %1 第 %2 行无法解析（%3）：%4").arg(origin).arg(n + 1).arg(why, trimmed));
        };
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'))) continue;
        if (trimmed.startsWith(QLatin1Char('['))) {
            if (!trimmed.endsWith(QLatin1Char(']')) || trimmed.size() < 3) throw fail(QStringLiteral("键名缺少“]”"));
            const QString path = normalizeKeyPath(trimmed.mid(1, trimmed.size() - 2));
            current = reg.findKey(path);
            if (current < 0) {
                reg.m_keys.append(Key{path, {}});
                current = static_cast<int>(reg.m_keys.size()) - 1;
            }
            continue;
        }
        if (current < 0) throw fail(QStringLiteral("值不在任何键下"));
        int pos = 0;
        Value v;
        if (trimmed.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else {
            auto name = readQuoted(trimmed, pos);
            if (!name) throw fail(QStringLiteral("值名须加引号"));
            v.name = *name;
        }
        skipBlanks(trimmed, pos);
        if (pos >= trimmed.size() || trimmed.at(pos) != QLatin1Char('=')) throw fail(QStringLiteral("缺少“=”"));
        ++pos;
        skipBlanks(trimmed, pos);
        if (trimmed.mid(pos, 6).compare(QStringLiteral("multi:"), Qt::CaseInsensitive) == 0) {
            v.multi = true;
            pos += 6;
            skipBlanks(trimmed, pos);
            while (pos < trimmed.size()) {
                auto item = readQuoted(trimmed, pos);
                if (!item) throw fail(QStringLiteral("多字符串的项须加引号"));
                v.data << *item;
                skipBlanks(trimmed, pos);
                if (pos >= trimmed.size()) break;
                if (trimmed.at(pos) != QLatin1Char(',')) throw fail(QStringLiteral("多字符串的项以“,”分隔"));
                ++pos;
                skipBlanks(trimmed, pos);
            }
        } else {
            auto data = readQuoted(trimmed, pos);
            if (!data) throw fail(QStringLiteral("值须加引号"));
            v.data << *data;
            skipBlanks(trimmed, pos);
            if (pos != trimmed.size()) throw fail(QStringLiteral("值后有多余内容"));
        }
        reg.setValue(reg.m_keys.at(current).path, v);
    }
    return reg;
}

RegistryFile RegistryFile::load(const QString &path) {
    QFile file(path);
    if (!file.exists()) return RegistryFile();
    if (!file.open(QIODevice::ReadOnly))
        throw PnwError(-1, kSource, QStringLiteral("无法读取注册表文件 %1：%2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) throw PnwError(-1, kSource, QStringLiteral("注册表文件 %1 不是有效的 UTF-8 文本").arg(path));
    return fromText(text, path);
}

void RegistryFile::save(const QString &path) const {
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw PnwError(-1, kSource, QStringLiteral("无法写入注册表文件 %1：%2").arg(path, file.errorString()));
    file.write(toText().toUtf8());
    if (!file.commit())
        throw PnwError(-1, kSource, QStringLiteral("无法写入注册表文件 %1：%2").arg(path, file.errorString()));
}
