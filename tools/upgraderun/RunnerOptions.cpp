#include "RunnerOptions.h"

#include "foundation/InputChecks.h"
#include "wizard/SettingsValidator.h"

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
        else if (a == QLatin1String("--delete"))
            ok = value(o.deleteNumber);
        else if (a == QLatin1String("--balances-only"))
            o.balancesOnly = true;
        else if (a == QLatin1String("--check-only"))
            o.checkOnly = true;
        else if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            o.help = true;
        else {
            error = QStringLiteral("unknown argument: ") + a;
            return std::nullopt;
        }
        if (!ok) return std::nullopt;
    }
    if (o.help) return o;
    if (!o.deleteNumber.isEmpty()) {
        if (o.standin.isEmpty()) {
            error = QStringLiteral("--delete needs --standin");
            return std::nullopt;
        }
        return o;
    }
    if (o.standin.isEmpty() || o.source.isEmpty() || o.number.isEmpty()) {
        error = QStringLiteral("--standin, --source and --number are required");
        return std::nullopt;
    }
    return o;
}

QString RunnerOptions::defaultName(const QString &source) {
    QString name = SettingsValidator::DefaultAccountName(source);
    for (QChar &c : name)
        if (!IsValidName(QString(c), 0, true, false, false)) c = QLatin1Char('_');
    return name;
}

QString RunnerOptions::usage() {
    return QStringLiteral(
        "usage: upgraderun --standin <installation folder> --source <file.ais> --number <account number>\n"
        "                  [--name <account name>] [--balances-only] [--check-only] [--answers <file>]\n"
        "       upgraderun --standin <installation folder> --delete <account number>\n"
        "       upgraderun --help\n"
        "\n"
        "Runs the wizard's data check and upgrade without a window. Exit status: 0 done, 1 done with\n"
        "warnings, 2 failed or cancelled.\n"
        "The name defaults to the source file's name, with every character an account name may not\n"
        "hold turned into \"_\".\n"
        "The new account set is deleted again on every ending without a finished upgrade: after\n"
        "--check-only, a failed check, a failed or cancelled upgrade. --delete removes an account set\n"
        "that a killed run left behind (registered or not), as the wizard deletes its own.\n"
        "\n"
        "Output, one record a line, fields separated by tabs (a tab, line break or backslash inside\n"
        "a field is written \\t, \\n, \\r or \\\\): every log entry (status, project, description),\n"
        "every message box (\"message\", title, text, \"answer\" and the reply), every stage, every\n"
        "mapping question and the report paths; failures of the runner itself go to stderr.\n"
        "\n"
        "The answers file (--answers), UTF-8, one answer a line; \"#\" starts a comment line:\n"
        "  Yes | No | OK | Cancel | Abort | Retry | Ignore | 1 to 7\n"
        "      the reply to the next message box; boxes beyond the replies get their default button.\n"
        "  nature <account code> = 客户 | 供应商\n"
        "      the account-nature dialog (指定往来单位核算项目性质), one line per account.\n"
        "  unit <account code> = <measure unit name>\n"
        "      the measure-unit dialog, per quantity account; a name the target lacks is created.\n"
        "  businessunit <unit code> = 客户 | 供应商 | 客户 供应商\n"
        "      the business-unit dialog, per unit as its tree shows it (code before the name); a\n"
        "      unit brings the units above it along, and a group its units.\n"
        "  payitem <pay item name> = 逻辑 | 日期 | 文本 | 整数 | 实数 | 货币\n"
        "      the payroll data-type dialog, per new pay item.\n"
        "  bank <account code> <currency> = <bank account number>\n"
        "      the bank-account dialog, per bank account and currency; stored as written.\n"
        "A \"#\" at the start of an answer or after a blank begins a note; an empty answer is none.\n"
        "\n"
        "Every mapping question prints one record: \"answer\", where the answer came from (\"file\",\n"
        "or \"default\": what the dialog itself starts with or gives), and the answer as a line of\n"
        "this format. A question with neither (a bank account number, a measure unit, an account\n"
        "whose name says nothing of its nature) prints \"unanswered\" and the line to fill in; the\n"
        "dialog is then closed without confirming, as an operator may close it, and the step\n"
        "reports that as it does in the wizard. Answers that no dialog asked for print \"unused\".\n");
}
