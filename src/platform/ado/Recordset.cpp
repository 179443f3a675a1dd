#include "platform/ado/Recordset.h"

#include <QRegularExpression>
#include <QStringList>

#include "platform/ado/AdoError.h"
#include "platform/ado/AdoTypes.h"
#include "platform/ado/Connection.h"
#include "platform/ado/Variant.h"
#include "server/Session.h"

namespace ado {

namespace {

struct Criterion {
    QString field;
    QString op;
    QVariant value;
};

// Compares a field value with a filter value: texts without regard to case,
// numbers as numbers.
int compareValues(const QVariant &a, const QVariant &b) {
    if (!a.isValid() || a.isNull()) return (!b.isValid() || b.isNull()) ? 0 : -2;
    bool okA = false, okB = false;
    double da = a.toDouble(&okA), db = b.toDouble(&okB);
    if (a.typeId() != QMetaType::QString && okA && okB) return da < db ? -1 : da > db ? 1 : 0;
    QString sa = a.toString(), sb = b.toString();
    while (sa.endsWith(QLatin1Char(' '))) sa.chop(1);
    while (sb.endsWith(QLatin1Char(' '))) sb.chop(1);
    int c = QString::compare(sa, sb, Qt::CaseInsensitive);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool matches(int c, const QString &op) {
    if (c == -2) return false;
    if (op == QLatin1String("=")) return c == 0;
    if (op == QLatin1String("<>")) return c != 0;
    if (op == QLatin1String("<")) return c < 0;
    if (op == QLatin1String(">")) return c > 0;
    if (op == QLatin1String("<=")) return c <= 0;
    return c >= 0;
}

std::vector<Criterion> parseFilter(const QString &filter) {
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*\[?([^\]=<>]+?)\]?\s*(<=|>=|<>|=|<|>)\s*(?:'((?:[^']|'')*)'|#([^#]*)#|([^\s]+))\s*$)"));
    std::vector<Criterion> out;
    QStringList parts =
        filter.split(QRegularExpression(QStringLiteral(R"(\s+AND\s+)"), QRegularExpression::CaseInsensitiveOption));
    for (const QString &part : parts) {
        auto m = re.match(part);
        if (!m.hasMatch())
            throw AdoError(
                3001, QStringLiteral("ADODB.Recordset"),
                QStringLiteral("参数类型不正确，或不在可以接受的范围之内，或与其他参数冲突。（%1）").arg(filter),
                0x800A0BB9u);
        Criterion c;
        c.field = m.captured(1).trimmed();
        c.op = m.captured(2);
        if (m.capturedStart(3) >= 0)
            c.value = m.captured(3).replace(QStringLiteral("''"), QStringLiteral("'"));
        else if (m.capturedStart(4) >= 0)
            c.value = m.captured(4);
        else if (m.captured(5).compare(QLatin1String("null"), Qt::CaseInsensitive) == 0)
            c.value = QVariant();
        else
            c.value = m.captured(5).toDouble();
        out.push_back(c);
    }
    return out;
}

// What the provider answers when a forward-only recordset is asked to go
// back or to filter its rows.
AdoError notForwardOnly() {
    return AdoError(-2147217884, QStringLiteral("Microsoft OLE DB Provider for SQL Server"),
                    QStringLiteral("行集不支持反向提取。"), 0x80040E24u);
}

}  // namespace

Recordset::Recordset(server::ResultSet rows, std::shared_ptr<server::Session> keepAlive)
    : open_(true), rs_(std::move(rows)), session_(std::move(keepAlive)) {
    indexColumns();
    if (forwardOnly())
        fetch();
    else
        setFilter(QString());
}

void Recordset::Open(const QString &sql, Connection &connection, int cursorType, int lockType) {
    if (open_) throw objectOpen();
    Recordset r = cursorType == adOpenForwardOnly && connection.CursorLocation == adUseServer
                      ? connection.executeForwardOnly(sql)
                      : connection.Execute(sql);
    *this = std::move(r);
    LockType = lockType;
    if (!open_) {
        // A batch without rows still gives an open, empty recordset.
        open_ = true;
        session_ = connection.session();
        setFilter(QString());
    }
}

void Recordset::Close() {
    if (!open_) throw objectClosed();
    open_ = false;
    rs_ = server::ResultSet();
    indexColumns();
    visible_.clear();
    current_.clear();
    session_.reset();
}

int Recordset::State() const { return open_ ? adStateOpen : adStateClosed; }

void Recordset::requireOpen() const {
    if (!open_) throw objectClosed();
}

void Recordset::requireCurrent() const {
    requireOpen();
    if (Eof() || pos_ < 0) throw noCurrentRecord();
}

void Recordset::fetch() {
    spoolEnded_ = !rs_.spool->next(current_);
    if (spoolEnded_) current_.clear();
}

const std::vector<server::Value> &Recordset::currentRow() const {
    return forwardOnly() ? current_ : rs_.rows[size_t(visible_[size_t(pos_)])];
}

int Recordset::RecordCount() const {
    requireOpen();
    return forwardOnly() ? -1 : int(visible_.size());
}

bool Recordset::Eof() const {
    requireOpen();
    return forwardOnly() ? spoolEnded_ : pos_ >= int(visible_.size());
}

bool Recordset::BOF() const {
    requireOpen();
    if (forwardOnly()) return pos_ == 0 && spoolEnded_;
    return pos_ < 0 || visible_.empty();
}

void Recordset::MoveFirst() {
    requireOpen();
    if (forwardOnly()) {
        // Only where it already stands: the rows before are gone.
        if (pos_ == 0 && spoolEnded_) throw noCurrentRecord();
        if (pos_ != 0) throw notForwardOnly();
        return;
    }
    if (visible_.empty()) throw noCurrentRecord();
    pos_ = 0;
}

void Recordset::MoveLast() {
    requireOpen();
    if (forwardOnly()) throw notForwardOnly();
    if (visible_.empty()) throw noCurrentRecord();
    pos_ = int(visible_.size()) - 1;
}

void Recordset::MoveNext() {
    requireOpen();
    if (Eof()) throw noCurrentRecord();
    ++pos_;
    if (forwardOnly()) fetch();
}

void Recordset::MovePrevious() {
    requireOpen();
    if (forwardOnly()) throw notForwardOnly();
    if (pos_ < 0) throw noCurrentRecord();
    --pos_;
}

int Recordset::fieldCount() const {
    requireOpen();
    return int(rs_.columns.size());
}

// Steps read fields by name for every row: the names are converted and
// hashed once per recordset.
void Recordset::indexColumns() {
    names_.clear();
    byName_.clear();
    byExact_.clear();
    names_.reserve(rs_.columns.size());
    std::vector<QString> folded;
    folded.reserve(rs_.columns.size());
    for (const auto &c : rs_.columns) {
        names_.push_back(QString::fromStdString(c.name));
        folded.push_back(names_.back().toCaseFolded());
    }
    // The first of several columns of one name wins.
    for (size_t i = folded.size(); i-- > 0;) byName_.insert(folded[i], int(i));
    // Steps mostly ask with the name as the query spells it: found without
    // folding, with the answer the folded lookup gives.
    for (size_t i = 0; i < names_.size(); ++i) byExact_.insert(names_[i], byName_.value(folded[i]));
}

int Recordset::columnIndex(const QString &name) const {
    if (auto exact = byExact_.constFind(name); exact != byExact_.constEnd()) return exact.value();
    auto it = byName_.constFind(name.toCaseFolded());
    return it == byName_.constEnd() ? -1 : it.value();
}

Field Recordset::makeField(int column, bool withValue) const {
    const auto &meta = rs_.columns[size_t(column)];
    Field f;
    f.Name = names_[size_t(column)];
    f.Type = adoType(meta.type);
    f.DefinedSize = meta.type.definedSize();
    f.Precision =
        meta.type.base == server::Base::Decimal || meta.type.base == server::Base::Money ? meta.type.precision : 0;
    f.NumericScale = meta.type.scale;
    if (withValue) f.Value = toVariant(currentRow()[size_t(column)], meta.type);
    return f;
}

Field Recordset::Fields(int index) const {
    requireOpen();
    if (index < 0 || index >= int(rs_.columns.size())) throw itemNotFound(QString::number(index));
    requireCurrent();
    return makeField(index, true);
}

int Recordset::namedColumn(const QString &name) const {
    requireOpen();
    const int i = columnIndex(name);
    if (i < 0) throw itemNotFound(name);
    return i;
}

QVariant Recordset::value(const QString &name) const {
    const int i = namedColumn(name);
    requireCurrent();
    return toVariant(currentRow()[size_t(i)], rs_.columns[size_t(i)].type);
}

Field Recordset::Fields(const QString &name) const { return Fields(namedColumn(name)); }

void Recordset::setFilter(const QString &filter) {
    if (forwardOnly()) {
        if (!filter.trimmed().isEmpty() && filter.trimmed() != QLatin1String("0")) throw notForwardOnly();
        filter_.clear();
        return;
    }
    filter_ = filter.trimmed();
    visible_.clear();
    if (filter_.isEmpty() || filter_ == QLatin1String("0")) {
        filter_.clear();
        for (size_t i = 0; i < rs_.rows.size(); ++i) visible_.push_back(int(i));
        pos_ = 0;
        return;
    }
    std::vector<Criterion> crit = parseFilter(filter_);
    std::vector<int> cols;
    for (const auto &c : crit) {
        int i = columnIndex(c.field);
        if (i < 0) throw itemNotFound(c.field);
        cols.push_back(i);
    }
    for (size_t r = 0; r < rs_.rows.size(); ++r) {
        bool ok = true;
        for (size_t k = 0; k < crit.size() && ok; ++k) {
            const auto &meta = rs_.columns[size_t(cols[k])];
            QVariant v = toVariant(rs_.rows[r][size_t(cols[k])], meta.type);
            ok = matches(compareValues(v, crit[k].value), crit[k].op);
        }
        if (ok) visible_.push_back(int(r));
    }
    pos_ = 0;
}

}  // namespace ado
