#include "mbsearchcommands.h"
#include "console.h"
#include "newcarrier.h"

#include "core/catalogue/carrierorigins.h"
#include "core/catalogue/carrierstore.h"
#include "core/cd/musicbrainzclient.h"
#include "core/db/database.h"
#include "core/shell/datadirectorylock.h"
#include "usage.h"

#include <optional>

namespace {

using musicbrainz::SearchTerms;

int mbsearchUsage() {
    return usagetext::show({QStringLiteral("mbsearch"), QStringLiteral("add")});
}

// What both commands search with.
struct SearchOptions {
    std::optional<QString> barcode, catno, artist, title;
    QString server; // the settings' (or the service's) when empty
    QString user;
};

// Takes one search option; false when key is none of them.
bool takeSearchOption(SearchOptions& o, const QString& key, const QString& value) {
    if (key == QLatin1String("--barcode"))
        o.barcode = value;
    else if (key == QLatin1String("--catno"))
        o.catno = value;
    else if (key == QLatin1String("--artist"))
        o.artist = value;
    else if (key == QLatin1String("--title"))
        o.title = value;
    else if (key == QLatin1String("--server"))
        o.server = value;
    else if (key == QLatin1String("--user"))
        o.user = value;
    else
        return false;
    return true;
}

// Exactly one of: a barcode, a catalogue number, or an artist with a title.
std::optional<SearchTerms> termsOf(const SearchOptions& o) {
    const bool byName = o.artist && o.title;
    if (int(o.barcode.has_value()) + int(o.catno.has_value()) + int(byName) != 1 ||
        (o.artist.has_value() != o.title.has_value()))
        return std::nullopt;
    SearchTerms t;
    if (o.barcode) {
        t.kind = SearchTerms::Kind::Barcode;
        t.barcode = *o.barcode;
    } else if (o.catno) {
        t.kind = SearchTerms::Kind::CatalogueNumber;
        t.catalogueNumber = *o.catno;
    } else {
        t.artist = *o.artist;
        t.title = *o.title;
    }
    return t;
}

struct Search {
    SearchTerms terms;
    QString query;
};

// The terms and their query text; nullopt after the usage or a German message (exit 2).
std::optional<Search> searchOf(const SearchOptions& o) {
    const auto terms = termsOf(o);
    if (!terms) {
        mbsearchUsage();
        return std::nullopt;
    }
    QString error;
    const auto query = musicbrainz::searchQuery(*terms, &error);
    if (!query) {
        fail(error);
        return std::nullopt;
    }
    return Search{*terms, *query};
}

void configure(MusicBrainzClient& client, const SearchOptions& o) {
    if (!o.server.isEmpty())
        client.setServer(o.server);
    if (!o.user.isEmpty())
        client.setContact(o.user);
}

// One page of hits from offset on; nullopt after a German message when there is none.
std::optional<musicbrainz::HitPage> searchPage(MusicBrainzClient& client, const QString& query,
                                               int offset) {
    const MusicBrainzClient::Search found = client.search(query, offset);
    if (found.outcome == MusicBrainzClient::Outcome::Found)
        return found.page;
    // Beyond the last page the service still counts the hits of the search.
    fail(found.outcome == MusicBrainzClient::Outcome::NotFound && found.page.total > 0
             ? QStringLiteral("Die Suche hat nur %1 Treffer.").arg(found.page.total)
             : found.message);
    return std::nullopt;
}

// Hit `pick` of the search (1 = the first), asking only for its page; nullopt after a German
// message.
std::optional<musicbrainz::ReleaseDetails> pickedRelease(MusicBrainzClient& client,
                                                         const QString& query, int pick) {
    const int index = (pick - 1) % musicbrainz::kHitsPerPage;
    const auto page = searchPage(client, query, pick - 1 - index);
    if (!page)
        return std::nullopt;
    if (index >= page->hits.size()) {
        fail(QStringLiteral("Die Suche hat nur %1 Treffer.").arg(page->total));
        return std::nullopt;
    }
    const MusicBrainzClient::ReleaseLookup found = client.release(page->hits[index].id);
    if (found.outcome != MusicBrainzClient::Outcome::Found) {
        fail(found.message);
        return std::nullopt;
    }
    return found.release;
}

std::optional<int> positive(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= 1 ? std::optional(n) : std::nullopt;
}

struct AddOptions {
    QString directory;
    SearchOptions search;
    bool searchGiven = false;
    int pick = 1;
    bool cover = false;
    bool allowDuplicate = false;
    QString type;
    QString coverServer;
};

std::optional<AddOptions> parseAdd(const QStringList& args) {
    AddOptions o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            if (!o.directory.isEmpty())
                return std::nullopt;
            o.directory = a;
        } else if (a == QLatin1String("--search")) {
            o.searchGiven = true;
        } else if (a == QLatin1String("--cover")) {
            o.cover = true;
        } else if (a == QLatin1String("--allow-duplicate")) {
            o.allowDuplicate = true;
        } else if (i + 1 >= args.size()) {
            return std::nullopt;
        } else if (const QString& value = args[++i]; a == QLatin1String("--pick")) {
            const auto pick = positive(value);
            if (!pick)
                return std::nullopt;
            o.pick = *pick;
        } else if (a == QLatin1String("--type")) {
            o.type = value;
        } else if (a == QLatin1String("--cover-server")) {
            o.coverServer = value;
        } else if (!takeSearchOption(o.search, a, value)) {
            return std::nullopt;
        }
    }
    if (o.directory.isEmpty() || !o.searchGiven)
        return std::nullopt;
    return o;
}

} // namespace

int runMbSearchCommand(const QStringList& args) {
    SearchOptions o;
    int page = 1;
    for (int i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return mbsearchUsage();
        if (args[i] == QLatin1String("--page")) {
            const auto n = positive(args[i + 1]);
            if (!n)
                return mbsearchUsage();
            page = *n;
        } else if (!takeSearchOption(o, args[i], args[i + 1])) {
            return mbsearchUsage();
        }
    }
    const auto search = searchOf(o);
    if (!search)
        return 2;
    MusicBrainzClient client;
    configure(client, o);
    const auto found = searchPage(client, search->query, (page - 1) * musicbrainz::kHitsPerPage);
    if (!found)
        return 1;
    QTextStream& s = out();
    s << found->range() << "\n";
    for (int i = 0; i < found->hits.size(); ++i) {
        const musicbrainz::Hit& h = found->hits[i];
        s << found->offset + i + 1;
        for (const QString& value :
             {h.title, h.artist, h.format, h.country, h.year, h.labels, h.catalogueNumbers,
              h.barcode, QString::number(h.tracks), h.id})
            s << '\t' << tabCell(value);
        s << "\n";
    }
    s.flush();
    return 0;
}

int runAddCommand(const QStringList& args) {
    const auto options = parseAdd(args);
    if (!options)
        return mbsearchUsage();
    const AddOptions& o = *options;
    const auto search = searchOf(o.search);
    if (!search)
        return 2;

    // A new carrier is numbered from what the running program may be writing at the same time.
    DataDirectoryLock lock(o.directory);
    Database db;
    if (!openDataSetForWriting(o.directory, lock, db))
        return 1;
    Settings settings = dataSetSettings(o.directory);
    CarrierData data = CarrierStore::newCarrier(settings, QDate::currentDate());
    CarrierRecord& c = data.carrier;
    musicbrainz::ReleaseTakeOver take;
    try {
        carrierorigins::ensureTable(db);
        CarrierStore store(db);
        if (!o.type.isEmpty()) {
            const auto type = mediaTypeByShortName(store, o.type);
            if (!type)
                return fail(QStringLiteral("Die Tonträgerart %1 gibt es nicht.").arg(o.type));
            c.artDerSchallplatte = *type;
        }

        MusicBrainzClient client;
        client.configure(settings);
        configure(client, o.search);
        if (!o.coverServer.isEmpty())
            client.setCoverServer(o.coverServer);
        const auto release = pickedRelease(client, search->query, o.pick);
        if (!release)
            return 1;
        take =
            musicbrainz::takeOver(*release, search->terms.kind == SearchTerms::Kind::CatalogueNumber
                                                ? search->terms.catalogueNumber
                                                : QString());
        if (!take.hint.isEmpty())
            err() << "Hinweis: " << take.hint << Qt::endl;
        musicbrainz::fillCarrier(db, data, take);
        if (c.artDerSchallplatte == 0)
            return fail(
                QStringLiteral("Zum Format „%1“ gibt es keine Tonträgerart; bitte eine "
                               "mit --type angeben.")
                    .arg(take.typeName.isEmpty() ? QStringLiteral("unbekannt") : take.typeName));
        proposeNumber(store, settings, c);
        if (o.cover) {
            QString hint;
            take.reading.cover = client.frontCover(release->id, &hint);
            if (take.reading.cover.isEmpty())
                err() << "Hinweis: " << hint << Qt::endl; // no cover is no failure
        }
    } catch (const DbError& e) {
        return fail(e.message());
    }
    return saveNewCarrier(db, o.directory, settings, data, take.reading, o.allowDuplicate);
}
