// Taking over Paradox tables and writing CSV, on a large generated collection:
//
//   diskarium-bench-paradox [CARRIERS=100000] [SONGS=15] [--csv-only]
//
// The collection is generated into a data set, written as Paradox tables by the test
// writer (pxlib) and then read three ways, each in a child process of its own so that its
// peak memory is its own: pxlib alone reading every record (the floor; memo and graphic
// fields left out, pxlib's memo reader aborts), the take-over into a new data set, and the
// restore of a backup of the same data set. Then the carrier list as CSV: the tool's writer
// and the window's model export against the sqlite3 shell's ".mode csv" of the same SELECT.
#include "collectiongenerator.h"
#include "core/backup/backupfile.h"
#include "core/backup/databackup.h"
#include "core/catalogue/listcsv.h"
#include "core/catalogue/medialist.h"
#include "core/catalogue/medialistmodel.h"
#include "core/common/csvwriter.h"
#include "core/db/dataset.h"
#include "core/db/schema.h"
#include "core/paradox/paradoximport.h"
#include "support/paradoxwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <sys/resource.h>

extern "C" {
#include <paradox.h>
}

namespace {

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class SilentMessages : public MessageService {
public:
    MessageButton show(const Message& m) override {
        return m.buttons.testFlag(MessageButton::Ok) ? MessageButton::Ok : MessageButton::Yes;
    }
    QString chooseOpenFile(const FileChoice&) override { return {}; }
    QString chooseSaveFile(const FileChoice&) override { return {}; }
};

// Every table of the data set as a Paradox file, row by row.
void writeParadox(Database& db, const QString& target) {
    using T = schema::FieldType;
    for (const schema::Table& table : schema::tables()) {
        paradoxwriter::TableWriter writer;
        QString error;
        if (!writer.open(target, paradoxwriter::schemaLayout(table), &error))
            qFatal("%s", qPrintable(error));
        Statement s =
            db.prepare(QStringLiteral("SELECT * FROM %1").arg(schema::quoted(table.name)));
        QVariantList row;
        while (s.next()) {
            row.clear();
            for (int i = 0; i < int(table.fields.size()); ++i) {
                if (s.isNull(i)) {
                    row.append(QVariant());
                    continue;
                }
                switch (table.fields[size_t(i)].type) {
                case T::Alpha:
                case T::Memo:
                    row.append(s.toString(i));
                    break;
                case T::Number:
                case T::Money:
                    row.append(s.toDouble(i));
                    break;
                case T::Short:
                case T::Long:
                    row.append(int(s.toInt64(i)));
                    break;
                case T::Date:
                    row.append(s.toDate(i));
                    break;
                case T::Logical:
                    row.append(s.toInt64(i) != 0);
                    break;
                case T::Graphic:
                    row.append(s.toBlob(i));
                    break;
                }
            }
            writer.addRow(row);
        }
        writer.close();
    }
}

void ignore(pxdoc_t*, int, const char*, void*) {}

// pxlib reading every record and every field but memo and graphic ones.
qint64 readWithPxlib(const QString& folder) {
    qint64 records = 0;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.DB")}, QDir::Files)) {
        pxdoc_t* doc = PX_new2(ignore, nullptr, nullptr, nullptr);
        if (PX_open_file(doc, QFile::encodeName(QDir(folder).filePath(name)).constData()) < 0)
            qFatal("pxlib cannot open %s", qPrintable(name));
        const int fields = PX_get_num_fields(doc);
        pxfield_t* info = PX_get_fields(doc);
        QByteArray record(PX_get_recordsize(doc), '\0');
        const int count = PX_get_num_records(doc);
        for (int r = 0; r < count; ++r) {
            if (!PX_get_record(doc, r, record.data()))
                qFatal("pxlib cannot read record %d of %s", r, qPrintable(name));
            char* p = record.data();
            for (int f = 0; f < fields; ++f) {
                const int len = info[f].px_flen;
                switch (info[f].px_ftype) {
                case pxfAlpha: {
                    char* text = nullptr;
                    if (PX_get_data_alpha(doc, p, len, &text) > 0 && text)
                        doc->free(doc, text);
                    break;
                }
                case pxfDate:
                case pxfLong: {
                    long v;
                    PX_get_data_long(doc, p, len, &v);
                    break;
                }
                case pxfShort: {
                    short v;
                    PX_get_data_short(doc, p, len, &v);
                    break;
                }
                case pxfNumber:
                case pxfCurrency: {
                    double v;
                    PX_get_data_double(doc, p, len, &v);
                    break;
                }
                case pxfLogical: {
                    char v;
                    PX_get_data_byte(doc, p, len, &v);
                    break;
                }
                default:
                    break;
                }
                p += len;
            }
            ++records;
        }
        PX_close(doc);
        PX_delete(doc);
    }
    return records;
}

// One measured step in a child process: "milliseconds peak-kilobytes".
struct Measured {
    double ms = 0;
    long kilobytes = 0;
};

Measured child(const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(), args);
    p.waitForFinished(-1);
    const QStringList parts =
        QString::fromLatin1(p.readAllStandardOutput()).split(QLatin1Char(' '));
    if (p.exitCode() != 0 || parts.size() < 2)
        qFatal("step %s failed", qPrintable(args.join(QLatin1Char(' '))));
    return {parts[0].toDouble(), parts[1].trimmed().toLong()};
}

int runStep(const QStringList& args) {
    QElapsedTimer t;
    t.start();
    if (args[0] == QLatin1String("--floor")) {
        readWithPxlib(args[1]);
    } else if (args[0] == QLatin1String("--import")) {
        SilentMessages messages;
        const auto result = paradoximport::importDataSet(args[1], args[2], messages);
        if (!result.ok)
            qFatal("%s", qPrintable(result.failure));
    } else if (args[0] == QLatin1String("--write")) {
        // A source data set for the mutation run: --write DIR CARRIERS
        const QTemporaryDir scratch;
        dataset::create(scratch.path());
        Database db;
        db.open(dataset::databasePath(scratch.path()));
        CollectionSize size;
        size.carriers = args.value(2, QStringLiteral("200")).toInt();
        size.songsPerCarrier = 5;
        generateCollection(db, size);
        QDir().mkpath(args[1]);
        writeParadox(db, args[1]);
        return 0;
    } else if (args[0] == QLatin1String("--restore")) {
        TBackupFile component;
        databackup::configure(component);
        const auto result = databackup::restoreDataDirectory(component, args[1], args[2]);
        if (!result.ok)
            qFatal("%s", qPrintable(result.failure));
    }
    out() << t.nsecsElapsed() / 1e6 << ' ' << peakKilobytes() << Qt::endl;
    return 0;
}

QString extensionPath() {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("libdiskarium-german"));
}

// The shell's time for the statement, less its time for "SELECT 1" (start, load, exit).
double shellMs(const QString& database, const QString& sql) {
    auto run = [&](const QString& statement) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer t;
        t.start();
        p.start(QStringLiteral("sqlite3"),
                {QStringLiteral("-csv"), QStringLiteral("-header"), QStringLiteral("-cmd"),
                 QStringLiteral(".load %1").arg(extensionPath()), database, statement});
        p.waitForFinished(-1);
        return t.nsecsElapsed() / 1e6;
    };
    return qMax(0.0, run(sql) - run(QStringLiteral("SELECT 1")));
}

template <class F> double bestOf(int runs, F&& body) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        body();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (!args.isEmpty() && args[0].startsWith(QLatin1String("--")))
        return runStep(args);

    CollectionSize size;
    size.carriers = args.size() > 0 ? args[0].toInt() : 100000;
    size.songsPerCarrier = args.size() > 1 ? args[1].toInt() : 15;
    const bool csvOnly = args.contains(QStringLiteral("--csv-only"));
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("daten"));
    const QString source = dir.filePath(QStringLiteral("quelle"));
    QDir().mkpath(source);
    dataset::create(data);
    {
        Database db;
        db.open(dataset::databasePath(data));
        generateCollection(db, size);
        if (!csvOnly)
            writeParadox(db, source);
    }
    if (!csvOnly) {
        qint64 bytes = 0;
        for (const QFileInfo& f : QDir(source).entryInfoList(QDir::Files))
            bytes += f.size();
        out() << size.carriers << " Tonträger x " << size.songsPerCarrier
              << " Lieder; Paradox-Dateien " << bytes / (1024 * 1024) << " MB" << Qt::endl;

        const QString archive = dir.filePath(QStringLiteral("s.bck"));
        {
            TBackupFile component;
            databackup::configure(component);
            if (!databackup::backupDataDirectory(component, data, archive).ok)
                qFatal("backup failed");
        }
        const Measured floor = child({QStringLiteral("--floor"), source});
        const Measured imported =
            child({QStringLiteral("--import"), source, dir.filePath(QStringLiteral("neu"))});
        const Measured restored =
            child({QStringLiteral("--restore"), archive, dir.filePath(QStringLiteral("wieder"))});
        auto line = [](const char* name, const Measured& m) {
            out() << QStringLiteral("%1 %2 ms  Spitze %3 MB")
                         .arg(QString::fromUtf8(name), -44)
                         .arg(m.ms, 9, 'f', 0)
                         .arg(m.kilobytes / 1024)
                  << Qt::endl;
        };
        line("pxlib liest alle Datensätze (Untergrenze)", floor);
        line("Übernahme (import-paradox)", imported);
        line("Wiederherstellung derselben Daten (restore)", restored);
        out()
            << QStringLiteral("Übernahme / Untergrenze: %1").arg(imported.ms / floor.ms, 0, 'f', 2)
            << Qt::endl;
    }

    // The carrier list as CSV.
    Database db;
    db.open(dataset::databasePath(data));
    const medialist::Query query(db);
    const QStringList titles = listcsv::carrierTitles(db, false);
    const double tool = bestOf(3, [&] {
        QFile sink(QStringLiteral("/dev/null"));
        sink.open(QIODevice::WriteOnly);
        listcsv::write(db, query, titles, &sink);
    });
    const long before = peakKilobytes();
    const double window = bestOf(1, [&] {
        MediaListModel model;
        model.setQuery(std::make_unique<medialist::Query>(db));
        model.finishCount(); // the export reads every row the model has
        model.setColumnTitles(titles);
        csv::exportModel(model, {}, dir.filePath(QStringLiteral("liste.csv")));
    });
    const long growth = peakKilobytes() - before;
    std::vector<double> shells;
    for (int i = 0; i < 3; ++i)
        shells.push_back(shellMs(dataset::databasePath(data), query.selectSql()));
    const double shell = *std::min_element(shells.begin(), shells.end());
    out() << QStringLiteral(
                 "CSV carriers --csv %1 ms; Modell-Export (andere Listen) %2 ms (Spitze +%3 MB); "
                 "sqlite3 .mode csv %4 ms; Verhältnis %5")
                 .arg(tool, 0, 'f', 0)
                 .arg(window, 0, 'f', 0)
                 .arg(growth / 1024)
                 .arg(shell, 0, 'f', 0)
                 .arg(tool / shell, 0, 'f', 2)
          << Qt::endl;
    return 0;
}
