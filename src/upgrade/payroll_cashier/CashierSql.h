// Statement pieces the cashier phases share.
#pragma once

#include <QString>

// Declares @StartYear and @StartPeriod (text) from the 'cn' start keys: the
// cashier start that every phase works from.
extern const QString kStartKeys;
// After kStartKeys: @StartDate, the first day of the cashier start period.
extern const QString kStartDate;

// The base-currency amount of `amount` in the currency aliased `currency`
// (with FOperator and FExchangeRate) at the rate `rate`: multiplied for "*",
// divided for "/" (the amount itself when the rate is missing, or zero for
// "/"), the amount itself for any other operator.
QString ToBase(const QString &amount, const QString &currency, const QString &rate);

// The base-currency opening of a journal balance row (alias `balance`) in
// the currency aliased `currency`: the source's own base opening (booked at
// the rates of its time); the opening at today's rate only where the source
// holds none.
QString JournalBaseOpening(const QString &balance, const QString &currency);

// Base amounts of a journal table (CN_XJRJZ or CN_YHRJZ) for the cashier
// accounts whose currency has the operator op ('*' or '/'): the amounts
// times or divided by the row's rate. A row without a rate (or with a zero
// rate in a dividing currency) keeps its amounts (see UnconvertibleRows).
QString BaseAmounts(const QString &table, QChar op);
// The rows of a journal table whose rate cannot convert them: none, or zero
// in a dividing currency. FID, FDate, FExp, currency name.
QString UnconvertibleRows(const QString &table);

// Sets a 'cn' key of t_SystemProfile to an expression over AIS_GLPref
// (alias t2) when the key exists, else inserts it ('cn', key, whenMissing,
// 0, 2) from AIS_GLPref.
QString CnProfileKey(const QString &key, const QString &whenPresent, const QString &whenMissing);

// The query of a 'cn' key's value, and the same in parentheses (a subquery).
QString CnKeyQuery(const QString &key);
QString CnKeyValue(const QString &key);

// Copies the rows of a cashier table (CN_YHRJZ or CN_YHDZD) chosen by
// `where` (over alias t) into year and period as unreconciled items carried
// forward (FDzAlready 0, FDzNumber -1, FJz 1, FOldID = oldId over t).
QString CarryCopy(const QString &table, const QString &year, const QString &period, const QString &where,
                  const QString &oldId = QStringLiteral("t.FOldID"));

// Adjusted balances of the cashier accounts with opening items: the journal
// balance plus the statement's opening credits less its debits, and the
// statement balance less the journal's opening credits plus its debits.
QString CashierAdjustedJournalBalance();
QString CashierAdjustedStatementBalance();
