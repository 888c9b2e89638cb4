#include "carriernames.h"

#include "core/db/recordaccess.h"

namespace {

using namespace templateformat;

template <class R> std::map<int, R> readTable(Database& db, const char* table) {
    std::map<int, R> rows;
    for (R& row : records::select<R>(db, {}, {}, schema::table(QString::fromLatin1(table))))
        rows.emplace(qRound(double(row.indexNummer)), std::move(row));
    return rows;
}

TemplateValue textValue(const QString& text, int width) {
    return {text, width};
}

std::optional<double> asNumber(const OptShort& value) {
    return value ? std::optional<double>(*value) : std::nullopt;
}

} // namespace

ReportLookups ReportLookups::read(Database& db) {
    ReportLookups lookups;
    lookups.mediaTypes = readTable<LookupRecord>(db, "MUSIKART");
    lookups.directions = readTable<LookupRecord>(db, "MUSIKDIR");
    lookups.states = readTable<LookupRecord>(db, "MUSIKSTA");
    lookups.danceStyles = readTable<LookupRecord>(db, "MusikTanzStil");
    for (CurrencyRecord& row : records::select<CurrencyRecord>(db))
        lookups.currencies.emplace(row.index, std::move(row));
    return lookups;
}

const LookupRecord* ReportLookups::find(const std::map<int, LookupRecord>& table,
                                        const std::optional<double>& code) {
    const auto it = table.find(qRound(code.value_or(0)));
    return it == table.end() ? nullptr : &it->second;
}

std::optional<TemplateValue> CarrierNames::resolve(const QString& name) const {
    static const CarrierRecord kNoCarrier;
    static const CarrierInfoRecord kNoInfo;
    const CarrierRecord& c = m_carrier ? *m_carrier : kNoCarrier;
    const CarrierInfoRecord& info = m_info ? *m_info : kNoInfo;

    // A code without a lookup row prints an empty value, padded like any other.
    auto looked = [&](const std::map<int, LookupRecord>& table, const std::optional<double>& code,
                      bool longName) {
        const LookupRecord* row = ReportLookups::find(table, code);
        const QString text = !row       ? QString()
                             : longName ? row->langbezeichnung
                                        : row->kurzbezeichnung;
        return textValue(text, longName ? 50 : 10);
    };

    if (name == QLatin1String("TEXT_1"))
        return textValue(c.gruppeInterpretText1, 50);
    if (name == QLatin1String("TEXT_2"))
        return textValue(c.text2, 50);
    if (name == QLatin1String("ART"))
        return looked(m_lookups.mediaTypes, c.artDerSchallplatte, false);
    if (name == QLatin1String("ARTL"))
        return looked(m_lookups.mediaTypes, c.artDerSchallplatte, true);
    if (name == QLatin1String("NUMMER"))
        return TemplateValue{integer(c.nummerierung)};
    if (name == QLatin1String("LIEDER"))
        return TemplateValue{integer(c.anzahlDerLieder, 5)};
    if (name == QLatin1String("ZEIT"))
        return TemplateValue{fixed72(c.laufzeitDerSchallplatte)};
    if (name == QLatin1String("JAHR"))
        return TemplateValue{c.erscheinungsjahr};
    if (name == QLatin1String("RICHTUNG"))
        return looked(m_lookups.directions, c.musikrichtung, false);
    if (name == QLatin1String("RICHTUNGL"))
        return looked(m_lookups.directions, c.musikrichtung, true);
    if (name == QLatin1String("STATUS"))
        return looked(m_lookups.states, c.status, false);
    if (name == QLatin1String("STATUSL"))
        return looked(m_lookups.states, c.status, true);
    if (name == QLatin1String("WERTUNG"))
        return TemplateValue{text(c.bewertung)};
    if (name == QLatin1String("DATUM"))
        return TemplateValue{text(c.kaufdatum)};
    if (name == QLatin1String("PREIS"))
        return TemplateValue{fixed72(c.kaufpreis)};
    if (name == QLatin1String("PRESSUNG"))
        return textValue(info.pressung, 5);
    if (name == QLatin1String("ZUSTAND"))
        return textValue(info.zustand, 5);
    if (name == QLatin1String("AUFNAHME"))
        return textValue(info.aufnahme, 5);
    if (name == QLatin1String("HERSTELLER"))
        return textValue(info.firma, 30);
    if (name == QLatin1String("BESTELLCODE"))
        return textValue(info.bestellcode, 20);
    if (name == QLatin1String("ERSTELLUNGSDATUM"))
        return TemplateValue{text(info.creationDate)};
    if (name == QLatin1String("AENDERUNGSDATUM"))
        return TemplateValue{text(info.changeDate)};
    if (name == QLatin1String("WAEHRUNG") || name == QLatin1String("WAEHRUNGL")) {
        const bool longName = name.size() == 9;
        const auto it = m_lookups.currencies.find(info.currency.value_or(0));
        const QString value = it == m_lookups.currencies.end() ? QString()
                              : longName                       ? it->second.currencyLong
                                                               : it->second.currency;
        return textValue(value, longName ? 50 : 10);
    }
    return std::nullopt;
}

std::optional<TemplateValue> SongNames::resolve(const QString& name) const {
    static const SongRecord kNoSong;
    const SongRecord& s = m_song ? *m_song : kNoSong;

    auto dance = [&](bool longName) {
        // A song without its information record shows the dance style of index 0.
        const LookupRecord* row = ReportLookups::find(
            m_lookups.danceStyles, m_info ? m_info->tanzstil : std::optional<double>(0));
        const QString text = !row       ? QString()
                             : longName ? row->langbezeichnung
                                        : row->kurzbezeichnung;
        return textValue(text, longName ? 50 : 10);
    };

    if (name == QLatin1String("SEITE"))
        return TemplateValue{integer(s.seiteDerSchallplatte, 2)};
    if (name == QLatin1String("LIEDNR"))
        return TemplateValue{integer(s.nrDesLiedes, 2)};
    if (name == QLatin1String("TITEL"))
        return textValue(s.titelDesLiedes, 50);
    if (name == QLatin1String("INTERPRET"))
        return textValue(s.interpretDesLiedes, 50);
    if (name == QLatin1String("LZEIT"))
        return TemplateValue{fixed72(s.laufzeitDesLiedes)};
    if (name == QLatin1String("LRICHTUNG") || name == QLatin1String("LRICHTUNGL")) {
        const bool longName = name.size() == 10;
        const LookupRecord* row = ReportLookups::find(m_lookups.directions, s.musikrichtung);
        const QString text = !row       ? QString()
                             : longName ? row->langbezeichnung
                                        : row->kurzbezeichnung;
        return textValue(text, longName ? 50 : 10);
    }
    if (name == QStringLiteral("ZÄHLERVON") || name == QLatin1String("ZAEHLERVON") ||
        name == QLatin1String("ZAHLERVON"))
        return TemplateValue{integer(s.zaehlwerkstandVon, 5)};
    if (name == QStringLiteral("ZÄHLERBIS") || name == QLatin1String("ZAEHLERBIS") ||
        name == QLatin1String("ZAHLERBIS"))
        return TemplateValue{integer(s.zaehlwerkstandBis, 5)};
    if (name == QLatin1String("LWERTUNG"))
        return TemplateValue{integer(s.bewertung, 1)};
    if (name == QLatin1String("LJAHR"))
        return TemplateValue{s.erscheinungsjahr};
    if (name == QLatin1String("BPMVON"))
        return TemplateValue{integer(m_info ? asNumber(m_info->bpmVon) : std::nullopt, 5)};
    if (name == QLatin1String("BPMBIS"))
        return TemplateValue{integer(m_info ? asNumber(m_info->bpmBis) : std::nullopt, 5)};
    if (name == QLatin1String("TANZSTIL"))
        return dance(false);
    if (name == QLatin1String("LTANZSTIL") || name == QLatin1String("TANZSTILL"))
        return dance(true);
    return std::nullopt;
}
