#include "lendingcommands.h"

#include "console.h"
#include "core/catalogue/carrierkey.h"
#include "core/db/database.h"
#include "core/lending/borrowers.h"
#include "core/lending/lending.h"
#include "core/lending/lendingqueries.h"
#include "core/settings/settings.h"
#include "core/shell/datadirectorylock.h"
#include "usage.h"

namespace {

int lendingUsage() {
    return usagetext::show(
        {QStringLiteral("lend"), QStringLiteral("return"), QStringLiteral("history")},
        QStringLiteral(
            "TONTRÄGER ist ART:NUMMER (etwa LP:17) oder #N, LEIHER #N oder der genaue Name.\n"));
}

// A refusal of the lending rules is printed as it stands.
int refuse(const QString& message) {
    err() << message << Qt::endl;
    return 1;
}

std::optional<int> carrierOf(Database& db, const QString& key) {
    const carrierkey::Result r = carrierkey::resolve(db, key);
    if (!r.ok()) {
        err() << r.error << Qt::endl;
        return std::nullopt;
    }
    return r.carrier().number;
}

std::optional<int> borrowerOf(Database& db, const QString& key) {
    const borrowers::Match m = borrowers::resolve(db, key);
    if (!m.ok()) {
        err() << m.error << Qt::endl;
        return std::nullopt;
    }
    return qRound(m.matches.front().folgenummer);
}

// Lending and taking back write while the program may be running: both take the lock.
int change(const QString& directory,
           const std::function<lending::Outcome(Database&, const Settings&)>& operation) {
    DataDirectoryLock lock(directory);
    QString refusal;
    if (!lock.tryLock(&refusal))
        return refuse(refusal);
    Database db;
    if (!openDataSet(directory, db))
        return 1;
    const Settings settings = dataSetSettings(directory);
    try {
        const lending::Outcome o = operation(db, settings);
        if (!o.ok())
            return refuse(o.message);
    } catch (const DbError& e) {
        return fail(e.message());
    }
    return 0;
}

} // namespace

int runLendCommand(const QStringList& args) {
    if (args.size() != 3)
        return lendingUsage();
    return change(args[0], [&args](Database& db, const Settings&) {
        lending::Outcome o;
        const std::optional<int> carrier = carrierOf(db, args[1]);
        const std::optional<int> borrower = carrier ? borrowerOf(db, args[2]) : std::nullopt;
        if (!carrier || !borrower) {
            o.message = QStringLiteral("Es wurde nichts verliehen.");
            return o;
        }
        o = lending::lend(db, *carrier, *borrower, QDateTime::currentDateTime());
        if (o.ok())
            out() << carrierkey::keyOf(db, *carrier) << " verliehen an "
                  << borrowers::find(db, *borrower)->name1 << " am "
                  << o.record.verliehenAm.toString(QStringLiteral("dd.MM.yyyy")) << Qt::endl;
        return o;
    });
}

int runReturnCommand(const QStringList& args) {
    if (args.size() != 2)
        return lendingUsage();
    return change(args[0], [&args](Database& db, const Settings& settings) {
        lending::Outcome o;
        const std::optional<int> carrier = carrierOf(db, args[1]);
        if (!carrier) {
            o.message = QStringLiteral("Es wurde nichts zurückgenommen.");
            return o;
        }
        o = lending::takeBack(db, *carrier, QDate::currentDate(), settings.directDeleteLended);
        if (o.ok())
            out() << carrierkey::keyOf(db, *carrier) << " zurück am "
                  << QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")) << Qt::endl;
        return o;
    });
}

int runHistoryCommand(const QStringList& args) {
    if (args.isEmpty() || args[0].startsWith(QLatin1String("--")))
        return lendingUsage();
    QString borrowerKey, carrierKey;
    for (int i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return lendingUsage();
        if (args[i] == QLatin1String("--borrower") && borrowerKey.isNull())
            borrowerKey = args[i + 1];
        else if (args[i] == QLatin1String("--carrier") && carrierKey.isNull())
            carrierKey = args[i + 1];
        else
            return lendingUsage();
    }
    Database db;
    if (!openDataSet(args[0], db))
        return 1;
    try {
        std::optional<int> borrower, carrier;
        if (!borrowerKey.isNull() && !(borrower = borrowerOf(db, borrowerKey)))
            return 1;
        if (!carrierKey.isNull() && !(carrier = carrierOf(db, carrierKey)))
            return 1;
        const QDate today = QDate::currentDate();
        const QString format = QStringLiteral("dd.MM.yyyy");
        for (const lendingqueries::HistoryRow& r : lendingqueries::history(db, borrower, carrier)) {
            const bool open = r.lending.verleihstatus == 1;
            const QDate lent = r.lending.verliehenAm;
            out() << (open ? "verliehen" : "zurück") << '\t' << lent.toString(format) << '\t'
                  << r.lending.zurueckAm.toString(format) << '\t'
                  << (open && lent.isValid() ? QString::number(lent.daysTo(today)) : QString())
                  << '\t' << '#' << qRound(r.lending.verliehenAn.value_or(0)) << ' '
                  << r.borrowerName << '\t' << carrierkey::keyOf(db, r.carrier) << '\t' << r.group
                  << " / " << r.title << '\n';
        }
        out().flush();
    } catch (const DbError& e) {
        return fail(e.message());
    }
    return 0;
}
