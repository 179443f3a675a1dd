// samplegen: writes a consistent source account set as a folder of table
// text files ("<Table>.tsv"), the same bytes for the same arguments.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "Generator.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: samplegen --edition standard|mini --size small|large [--vouchers N] [--years N]\n"
                 "                 [--accounts N] [--assets N] [--employees N] [--customers N] [--suppliers N]\n"
                 "                 [--seed N] [--empty-current] [--broad] [--open-questions] <out-folder>\n");
    return 2;
}

bool toInt(const char *text, int &out) {
    char *end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (!end || *end || v < 0 || v > 100000000) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    using samplegen::Edition;
    samplegen::Profile p;
    std::string edition, size, out;
    bool emptyCurrent = false, broad = false, openQuestions = false;
    struct Option {
        const char *name;
        int value = -1;
    };
    Option vouchers{"--vouchers"}, years{"--years"}, accounts{"--accounts"}, assets{"--assets"},
        employees{"--employees"}, customers{"--customers"}, suppliers{"--suppliers"}, seed{"--seed"};
    Option *numeric[] = {&vouchers, &years, &accounts, &assets, &employees, &customers, &suppliers, &seed};
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--edition" || a == "--size") && i + 1 < argc) {
            (a == "--edition" ? edition : size) = argv[++i];
            continue;
        }
        if (a == "--empty-current" || a == "--broad") {
            (a == "--broad" ? broad : emptyCurrent) = true;
            continue;
        }
        if (a == "--open-questions") {
            openQuestions = true;
            continue;
        }
        bool matched = false;
        for (Option *o : numeric)
            if (a == o->name) {
                if (i + 1 >= argc || !toInt(argv[++i], o->value)) {
                    std::fprintf(stderr, "samplegen: %s needs a whole number\n", o->name);
                    return 2;
                }
                matched = true;
            }
        if (matched) continue;
        if (!a.empty() && a[0] == '-') return usage();
        if (!out.empty()) return usage();
        out = a;
    }
    if (out.empty() || (edition != "standard" && edition != "mini") || (size != "small" && size != "large"))
        return usage();
    p.edition = edition == "standard" ? Edition::Standard : Edition::Mini;
    p.large = size == "large";
    // Of the Standard sets only the broad one leaves the current period empty:
    // its fixed assets then neither depreciate nor alter a card in that period.
    if (emptyCurrent && p.fixedAssets() && !broad) {
        std::fprintf(stderr, "samplegen: --empty-current is for the mini edition or the broad set\n");
        return 2;
    }
    p.emptyCurrent = emptyCurrent;
    p.openQuestions = openQuestions;
    // The shapes of the broad set are those of a small Standard set.
    if (broad && (p.large || !p.standard())) {
        std::fprintf(stderr, "samplegen: --broad is for a small set of the standard edition\n");
        return 2;
    }
    p.broad = broad;
    if (broad) p.seed = 20240401;
    if (p.large) {
        p.years = 5;
        p.voucherEntries = 200000;
        p.accounts = 2000;
        p.assets = 1000;
        p.employees = 200;
        p.customers = 300;
        p.suppliers = 100;
    } else if (!p.standard()) {
        p.employees = 6;
        p.customers = 4;
        p.suppliers = 3;
    }
    auto set = [](const Option &o, int &field) {
        if (o.value >= 0) field = o.value;
    };
    set(vouchers, p.voucherEntries);
    set(years, p.years);
    set(accounts, p.accounts);
    set(assets, p.assets);
    set(employees, p.employees);
    set(customers, p.customers);
    set(suppliers, p.suppliers);
    if (seed.value >= 0) p.seed = static_cast<uint64_t>(seed.value);
    if (p.years < 1 || p.years > 20 || p.employees < 4 || p.customers < 4 || p.suppliers < 3 ||
        (!p.large && (p.customers > 99 || p.suppliers > 99)) || p.customers > 999 || p.suppliers > 999 ||
        p.employees > 999) {
        std::fprintf(stderr, "samplegen: a count is out of range\n");
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        samplegen::generate(p).write(out);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::fprintf(stderr, "samplegen: wrote %s in %.1f s\n", out.c_str(), seconds);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "samplegen: %s\n", e.what());
        return 1;
    }
    return 0;
}
