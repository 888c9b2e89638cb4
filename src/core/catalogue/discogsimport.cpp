#include "discogsimport.h"

#include "carrierorigins.h"
#include "carrierstore.h"
#include "cataloguetexts.h"
#include "core/db/csvreader.h"
#include "core/db/recordaccess.h"
#include "core/settings/settings.h"
#include "discogsformat.h"

#include <QFile>
#include <QHash>
#include <optional>

namespace discogs {
namespace {

constexpr int kImportProgressRows = 64;

// Where each column of the file is; -1 when it has none.
struct Columns {
    int catalog = -1, artist = -1, title = -1, label = -1, format = -1, rating = -1, released = -1,
        releaseId = -1, folder = -1, dateAdded = -1, media = -1, sleeve = -1, notes = -1;
    QList<std::pair<int, QString>> extra; // further "Collection NAME" columns
    int count = 0;
};

// Finds the columns by their titles; the German error when a required one is missing.
QString readHeader(const QStringList& header, Columns& c) {
    QHash<QString, int> byTitle;
    for (int i = header.size() - 1; i >= 0; --i)
        byTitle.insert(header[i].trimmed().toLower(), i);
    const QStringList& titles = columnTitles();
    int* const targets[] = {&c.catalog, &c.artist,   &c.title,     &c.label,  &c.format,
                            &c.rating,  &c.released, &c.releaseId, &c.folder, &c.dateAdded,
                            &c.media,   &c.sleeve,   &c.notes};
    for (int i = 0; i < titles.size(); ++i)
        *targets[i] = byTitle.value(titles[i].toLower(), -1);
    const std::pair<int, const char*> required[] = {{c.artist, "Artist"},
                                                    {c.title, "Title"},
                                                    {c.format, "Format"},
                                                    {c.releaseId, "release_id"}};
    for (const auto& [column, title] : required)
        if (column < 0)
            return QStringLiteral("Die Datei ist keine Discogs-Sammlung: Spalte „%1“ fehlt.")
                .arg(QLatin1String(title));
    static const QLatin1String collection("Collection ");
    for (int i = 0; i < header.size(); ++i) {
        const QString title = header[i].trimmed();
        if (title.startsWith(collection) && !titles.contains(title, Qt::CaseInsensitive))
            c.extra.append({i, title.mid(collection.size())});
    }
    c.count = int(header.size());
    return {};
}

CollectionRow rowOf(const QStringList& cells, const Columns& c) {
    auto at = [&](int column) { return column < 0 ? QString() : cells.value(column); };
    CollectionRow row{at(c.catalog),  at(c.artist),
                      at(c.title),    at(c.label),
                      at(c.format),   at(c.rating),
                      at(c.released), at(c.releaseId),
                      at(c.folder),   at(c.dateAdded),
                      at(c.media),    at(c.sleeve),
                      at(c.notes),    {}};
    for (const auto& [column, name] : c.extra)
        if (!cells.value(column).trimmed().isEmpty())
            row.extra.append({name, cells.value(column)});
    return row;
}

// The media types of the collection, looked up by short or long name, case aside.
class MediaTypes {
public:
    explicit MediaTypes(Database& db) {
        for (const LookupRecord& r : CarrierStore(db).lookupRows(QStringLiteral("MUSIKART")))
            m_rows.push_back(r);
    }
    const LookupRecord* find(const QString& name) const {
        for (const LookupRecord& r : m_rows)
            if (r.kurzbezeichnung.trimmed().compare(name, Qt::CaseInsensitive) == 0 ||
                r.langbezeichnung.trimmed().compare(name, Qt::CaseInsensitive) == 0)
                return &r;
        return nullptr;
    }

private:
    std::vector<LookupRecord> m_rows;
};

// One row judged: what it would give, and what stands in its way.
struct Judged {
    RowOutcome outcome;
    CarrierFields fields;
    double type = 0;
};

QString ownedNote(int number, carrierorigins::Reason reason) {
    return QStringLiteral("wie Nr. %1 (%2)")
        .arg(number)
        .arg(reason == carrierorigins::Reason::DiscogsRelease ? QStringLiteral("Discogs")
                                                              : QStringLiteral("Gruppe/Titel"));
}

// Judges a row against the carriers up to ownedLimit, the collection before the import.
void judge(Database& db, const MediaTypes& types, const Options& options, int ownedLimit,
           const QStringList& cells, const Columns& columns, bool utf8, Judged& j) {
    RowOutcome& r = j.outcome;
    auto error = [&](const QString& text) {
        r.result = Result::Error;
        r.note = text;
    };
    if (!utf8)
        return error(QStringLiteral("Die Zeile ist kein gültiger UTF-8-Text."));
    if (cells.size() != columns.count)
        return error(QStringLiteral("Die Zeile hat %1 Felder, die Kopfzeile %2.")
                         .arg(cells.size())
                         .arg(columns.count));
    const QString fault = toCarrier(rowOf(cells, columns), j.fields);
    r.group = j.fields.group;
    r.title = j.fields.title;
    r.type = j.fields.typeName;
    if (!fault.isEmpty())
        return error(fault);
    if (j.fields.group.trimmed().isEmpty())
        return error(cataloguetexts::kGroupEmpty);

    carrierorigins::Candidate candidate;
    candidate.discogsRelease = j.fields.releaseId;
    candidate.group = j.fields.group;
    candidate.title = j.fields.title;
    std::optional<carrierorigins::Owned> sameRelease, sameNames;
    for (const carrierorigins::Owned& owned : carrierorigins::findOwned(db, candidate)) {
        if (owned.number > ownedLimit)
            continue; // stored by this import: a second copy is wanted
        auto& slot =
            owned.reason == carrierorigins::Reason::DiscogsRelease ? sameRelease : sameNames;
        if (!slot)
            slot = owned;
    }
    const auto owned = sameRelease ? sameRelease : sameNames;
    if (owned) {
        r.number = owned->number;
        r.note = ownedNote(owned->number, owned->reason);
        if (sameRelease || !options.allowDuplicate) {
            r.result = Result::Owned;
            return;
        }
    }
    const LookupRecord* type = types.find(j.fields.typeName);
    if (!type) {
        r.result = Result::UnknownType;
        r.number = 0;
        return;
    }
    j.type = type->indexNummer;
    r.type = type->kurzbezeichnung;
    r.result = Result::New;
    r.number = 0;
}

// Reads the file row by row and judges each; store is called for each "neu" row until it
// fails. Returns false when the file could not be read or a row stopped the run.
using Store = std::function<bool(Judged&, Outcome&)>;

void run(Database& db, const QString& path, const Options& options, const Progress& progress,
         int ownedLimit, const Store& store, Outcome& o) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        o.error = QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")
                      .arg(path, file.errorString());
        return;
    }
    // A spreadsheet may have written the header with ';' between the columns.
    const QByteArray head = file.peek(64 * 1024);
    const QByteArray firstLine = head.left(head.indexOf('\n'));
    const char separator = firstLine.contains(';') && !firstLine.contains(',') ? ';' : ',';
    CsvReader reader(&file, separator);
    QStringList cells;
    Columns columns;
    if (reader.next(cells))
        o.error = readHeader(cells, columns);
    else if (!reader.failed())
        o.error = readHeader({}, columns);
    if (reader.failed())
        o.error = QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")
                      .arg(path, file.errorString());
    if (!o.error.isEmpty())
        return;
    const MediaTypes types(db);
    bool storing = true;
    while (reader.next(cells)) {
        Judged j;
        j.outcome.line = reader.rowLine();
        judge(db, types, options, ownedLimit, cells, columns, reader.rowIsUtf8(), j);
        if (j.outcome.result == Result::Error && o.error.isEmpty()) {
            o.error = QStringLiteral("Zeile %1: %2").arg(j.outcome.line).arg(j.outcome.note);
            storing = false;
        }
        const bool stopped = store && storing && j.outcome.result == Result::New && !store(j, o);
        o.rows.append(j.outcome);
        if (stopped)
            return; // the store named its line
        if (progress && o.rows.size() % kImportProgressRows == 0 &&
            !progress(reader.position(), file.size())) {
            o.cancelled = true;
            return;
        }
    }
    if (reader.failed()) {
        o.error = QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")
                      .arg(path, file.errorString());
        return;
    }
    if (progress)
        progress(file.size(), file.size());
    o.ok = o.error.isEmpty();
}

void count(Outcome& o) {
    o.counts = {};
    for (const RowOutcome& r : o.rows) {
        switch (r.result) {
        case Result::New:
        case Result::Stored:
            ++o.counts.added;
            break;
        case Result::Owned:
            ++o.counts.owned;
            break;
        case Result::UnknownType:
            ++o.counts.unknownType;
            break;
        case Result::Error:
            ++o.counts.errors;
            break;
        }
    }
}

int highestCarrier(Database& db) {
    return int(records::nextKey(db, records::tableOf<CarrierRecord>(), u"Folgenummer Kopf")) - 1;
}

} // namespace

QString resultText(Result result) {
    switch (result) {
    case Result::New:
        return QStringLiteral("neu");
    case Result::Owned:
        return QStringLiteral("vorhanden");
    case Result::UnknownType:
        return QStringLiteral("Art unbekannt");
    case Result::Error:
        return QStringLiteral("Fehler");
    case Result::Stored:
        return QStringLiteral("übernommen");
    }
    return {};
}

QString summaryText(const Counts& counts) {
    return QStringLiteral("Neu: %1, vorhanden: %2, Art unbekannt: %3, Fehler: %4")
        .arg(counts.added)
        .arg(counts.owned)
        .arg(counts.unknownType)
        .arg(counts.errors);
}

Outcome plan(Database& db, const QString& path, const Options& options, const Progress& progress) {
    Outcome o;
    try {
        run(db, path, options, progress, highestCarrier(db), {}, o);
    } catch (const DbError& e) {
        o.ok = false;
        o.error = e.message();
    }
    count(o);
    return o;
}

Outcome import(Database& db, const QString& path, const Settings& settings, const Options& options,
               const QDate& today, const Progress& progress) {
    Outcome o;
    try {
        Transaction transaction(db);
        CarrierStore store(db);
        const int ownedLimit = highestCarrier(db);
        QHash<double, CarrierCheck> checks;
        auto save = [&](Judged& j, Outcome& out) {
            RowOutcome& r = j.outcome;
            const CarrierFields& f = j.fields;
            CarrierData data = CarrierStore::newCarrier(settings, today);
            CarrierRecord& c = data.carrier;
            c.gruppeInterpretText1 = f.group;
            c.text2 = f.title;
            c.artDerSchallplatte = j.type;
            c.erscheinungsjahr = f.year;
            c.bewertung = f.rating;
            c.kaufdatum = QDate(); // Discogs knows when it was typed in, not when it was bought
            // The number the entry window proposes: the global one, or the type's counter.
            if (settings.globalNumbering) {
                c.nummerierung = settings.globalNumber + out.stored;
            } else if (const int counter = store.typeCounter(j.type); counter > 0) {
                c.nummerierung = counter;
            }
            while (records::find(db, c))
                c.nummerierung += 1;
            data.info.firma = f.company;
            data.info.bestellcode = f.orderCode;
            data.info.zustand = f.condition;
            CdReading reading;
            reading.found = true; // what the source said: the free text
            reading.textLines = f.textLines;
            if (!f.releaseId.isEmpty())
                reading.origins.append({carrierorigins::kDiscogsRelease, f.releaseId});
            try {
                // Beyond the group, judged already, a new carrier's check depends on its type.
                if (!checks.contains(j.type))
                    checks.insert(j.type, store.check(c));
                const CarrierCheck& check = checks[j.type];
                if (!check.ok())
                    throw DbError(DbError::Kind::Other, check.message);
                r.number = store.insertNew(data, &reading, settings.globalNumbering, today);
            } catch (const DbError& e) {
                out.error = QStringLiteral("Zeile %1: %2").arg(r.line).arg(e.message());
                return false;
            }
            const QString owned = r.note;
            r.result = Result::Stored;
            r.note = QStringLiteral("Nr. %1").arg(r.number);
            if (!owned.isEmpty())
                r.note += QStringLiteral(", ") + owned;
            ++out.stored;
            return true;
        };
        run(db, path, options, progress, ownedLimit, save, o);
        if (o.ok)
            transaction.commit();
    } catch (const DbError& e) {
        o.ok = false;
        if (o.error.isEmpty())
            o.error = e.message();
    }
    if (!o.ok) {
        // Rolled back: the rows read as in the dry run.
        for (RowOutcome& r : o.rows) {
            if (r.result != Result::Stored)
                continue;
            r.result = Result::New;
            r.note = r.note.section(QStringLiteral(", "), 1);
            r.number = 0;
        }
        o.stored = 0;
    }
    count(o);
    return o;
}

} // namespace discogs
