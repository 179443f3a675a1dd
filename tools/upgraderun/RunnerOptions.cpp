#include "RunnerOptions.h"

std::optional<RunnerOptions> RunnerOptions::parse(const QStringList &arguments, QString &error) {
    RunnerOptions o;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        auto value = [&](QString &into) {
            if (i + 1 >= arguments.size()) {
                error = a + QStringLiteral(" needs a value");
                return false;
            }
            into = arguments.at(++i);
            return true;
        };
        bool ok = true;
        if (a == QLatin1String("--standin"))
            ok = value(o.standin);
        else if (a == QLatin1String("--source"))
            ok = value(o.source);
        else if (a == QLatin1String("--number"))
            ok = value(o.number);
        else if (a == QLatin1String("--name"))
            ok = value(o.name);
        else if (a == QLatin1String("--answers"))
            ok = value(o.answers);
        else if (a == QLatin1String("--balances-only"))
            o.balancesOnly = true;
        else if (a == QLatin1String("--check-only"))
            o.checkOnly = true;
        else {
            error = QStringLiteral("unknown argument: ") + a;
            return std::nullopt;
        }
        if (!ok) return std::nullopt;
    }
    if (o.standin.isEmpty() || o.source.isEmpty() || o.number.isEmpty()) {
        error = QStringLiteral("--standin, --source and --number are required");
        return std::nullopt;
    }
    return o;
}

QString RunnerOptions::usage() {
    return QStringLiteral(
        "usage: upgraderun --standin <installation folder> --source <file.ais> --number <account number>\n"
        "                  [--name <account name>] [--balances-only] [--check-only] [--answers <file>]\n"
        "Runs the wizard's data check and upgrade without a window. Exit status: 0 done, 1 done with\n"
        "warnings, 2 failed or cancelled.\n");
}
