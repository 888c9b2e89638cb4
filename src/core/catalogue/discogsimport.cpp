#include "discogsimport.h"

namespace discogs {

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

Outcome plan(Database&, const QString&, const Options&, const Progress&) {
    return {};
}

Outcome import(Database&, const QString&, const Settings&, const Options&, const QDate&,
               const Progress&) {
    return {};
}

} // namespace discogs
