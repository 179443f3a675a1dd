#include "SampleSet.h"

#include <cmath>
#include <stdexcept>

namespace samples {

Table::Table(jet::TableText text) : text_(std::move(text)) {
    for (size_t i = 0; i < text_.columns.size(); ++i) index_[text_.columns[i].name] = i;
}

size_t Table::index(const std::string &column) const {
    const auto it = index_.find(column);
    if (it == index_.end()) throw std::out_of_range(text_.name + " has no column " + column);
    return it->second;
}

const jet::ColumnSpec &Table::column(const std::string &name) const { return text_.columns[index(name)]; }

bool Table::isNull(size_t row, const std::string &column) const { return !text_.rows.at(row)[index(column)]; }

std::string Table::str(size_t row, const std::string &column) const {
    const auto &cell = text_.rows.at(row)[index(column)];
    return cell ? *cell : std::string();
}

int64_t Table::integer(size_t row, const std::string &column) const {
    const std::string s = str(row, column);
    return s.empty() ? 0 : std::stoll(s);
}

double Table::real(size_t row, const std::string &column) const {
    const std::string s = str(row, column);
    return s.empty() ? 0 : std::stod(s);
}

Cents Table::cents(size_t row, const std::string &column) const {
    const std::string s = str(row, column);
    return s.empty() ? 0 : parseCents(s);
}

bool Table::flag(size_t row, const std::string &column) const {
    const std::string s = str(row, column);
    return s == "1" || s == "-1" || s == "true";
}

SampleSet SampleSet::load(const std::string &dir) {
    SampleSet set;
    for (auto &t : jet::readTableTextFolder(dir)) {
        const std::string name = t.name;
        set.tables_.emplace(name, Table(std::move(t)));
    }
    return set;
}

const Table &SampleSet::operator[](const std::string &table) const {
    const auto it = tables_.find(table);
    if (it == tables_.end()) throw std::out_of_range("no table " + table);
    return it->second;
}

Table &SampleSet::edit(const std::string &table) {
    const auto it = tables_.find(table);
    if (it == tables_.end()) throw std::out_of_range("no table " + table);
    return it->second;
}

Cents parseCents(const std::string &text) {
    size_t i = 0;
    const bool neg = !text.empty() && text[0] == '-';
    if (neg) ++i;
    Cents whole = 0;
    int frac = 0, digits = 0;
    bool any = false, point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            any = true;
            if (!point)
                whole = whole * 10 + (c - '0');
            else if (digits < 2)
                frac = frac * 10 + (c - '0'), ++digits;
            else if (c != '0')
                throw std::invalid_argument("more than 2 decimals: " + text);
        } else {
            throw std::invalid_argument("not an amount: " + text);
        }
    }
    if (!any) throw std::invalid_argument("not an amount: " + text);
    while (digits < 2) frac *= 10, ++digits;
    const Cents v = whole * 100 + frac;
    return neg ? -v : v;
}

}  // namespace samples
