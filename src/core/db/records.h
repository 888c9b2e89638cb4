#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>

// One struct per table, fields in table order. Key fields are plain values; other number
// fields are optional, so an empty field stays distinguishable from 0; an empty date is a
// null QDate. Each struct names its table and lists its fields for the generic access in
// recordaccess.h.

using OptNumber = std::optional<double>;
using OptShort = std::optional<qint16>;
using OptLong = std::optional<qint32>;

// "MUSIKKOP.DB": one carrier.
struct CarrierRecord {
    static constexpr const char* kTable = "MUSIKKOP";
    QString gruppeInterpretText1;
    QString text2;
    double artDerSchallplatte = 0;
    double nummerierung = 0;
    double folgenummerKopf = 0;
    QString erscheinungsjahr;
    OptNumber musikrichtung;
    OptNumber anzahlDerLieder;
    OptNumber laufzeitDerSchallplatte;
    OptNumber status;
    OptNumber kaufpreis;
    QDate kaufdatum;
    OptNumber bewertung;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.gruppeInterpretText1), f(r.text2), f(r.artDerSchallplatte), f(r.nummerierung),
            f(r.folgenummerKopf), f(r.erscheinungsjahr), f(r.musikrichtung), f(r.anzahlDerLieder),
            f(r.laufzeitDerSchallplatte), f(r.status), f(r.kaufpreis), f(r.kaufdatum),
            f(r.bewertung);
    }
    bool operator==(const CarrierRecord&) const = default;
};

// "MusikInformation.DB": additional data of a carrier.
struct CarrierInfoRecord {
    static constexpr const char* kTable = "MusikInformation";
    double folgenummerInfo = 0;
    QString pressung;
    QString zustand;
    QString aufnahme;
    QString firma;
    QString bestellcode;
    OptLong currency;
    QDate creationDate;
    QDate changeDate;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.folgenummerInfo), f(r.pressung), f(r.zustand), f(r.aufnahme), f(r.firma),
            f(r.bestellcode), f(r.currency), f(r.creationDate), f(r.changeDate);
    }
    bool operator==(const CarrierInfoRecord&) const = default;
};

// "MUSIKPOS.DB": one song.
struct SongRecord {
    static constexpr const char* kTable = "MUSIKPOS";
    double folgenummerPosition = 0;
    double seiteDerSchallplatte = 0;
    double nrDesLiedes = 0;
    QString titelDesLiedes;
    QString interpretDesLiedes;
    OptNumber laufzeitDesLiedes;
    OptNumber musikrichtung;
    OptNumber zaehlwerkstandVon;
    OptNumber zaehlwerkstandBis;
    OptNumber bewertung;
    QString erscheinungsjahr;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.folgenummerPosition), f(r.seiteDerSchallplatte), f(r.nrDesLiedes), f(r.titelDesLiedes),
            f(r.interpretDesLiedes), f(r.laufzeitDesLiedes), f(r.musikrichtung),
            f(r.zaehlwerkstandVon), f(r.zaehlwerkstandBis), f(r.bewertung), f(r.erscheinungsjahr);
    }
    bool operator==(const SongRecord&) const = default;
};

// "MusikPosInformation.DB": tempo and dance style of a song.
struct SongInfoRecord {
    static constexpr const char* kTable = "MusikPosInformation";
    double folgenummerPosInfo = 0;
    double seiteDerSchallplatte = 0;
    double nrDesLiedes = 0;
    OptShort bpmVon;
    OptShort bpmBis;
    OptNumber tanzstil;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.folgenummerPosInfo), f(r.seiteDerSchallplatte), f(r.nrDesLiedes), f(r.bpmVon),
            f(r.bpmBis), f(r.tanzstil);
    }
    bool operator==(const SongInfoRecord&) const = default;
};

// "MUSIKTXT.DB": free text of a carrier.
struct CarrierTextRecord {
    static constexpr const char* kTable = "MUSIKTXT";
    double folgenummerText = 0;
    QString freierText; // lines separated by CR LF

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.folgenummerText), f(r.freierText);
    }
    bool operator==(const CarrierTextRecord&) const = default;
};

// "MUSIKGRF.DB": a picture of a carrier.
struct PictureRecord {
    static constexpr const char* kTable = "MUSIKGRF";
    double tontraegernummer = 0;
    double grafiknummer = 0;
    QByteArray grafik;
    bool stretch = false;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.tontraegernummer), f(r.grafiknummer), f(r.grafik), f(r.stretch);
    }
    bool operator==(const PictureRecord&) const = default;
};

// "MUSIKINF.DB": disc check code of one CD of a carrier.
struct DiscCodeRecord {
    static constexpr const char* kTable = "MUSIKINF";
    double folgenummerKopf = 0;
    double cdNummer = 0;
    OptNumber cdPruefcode;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.folgenummerKopf), f(r.cdNummer), f(r.cdPruefcode);
    }
    bool operator==(const DiscCodeRecord&) const = default;
};

// The eight lookup tables share this layout ("MUSIKART.DB", "MUSIKSTA.DB", ...); the table
// is named at each access.
struct LookupRecord {
    static constexpr const char* kTable = nullptr;
    double indexNummer = 0;
    QString kurzbezeichnung;
    QString langbezeichnung;
    OptNumber nummerierung;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.indexNummer), f(r.kurzbezeichnung), f(r.langbezeichnung), f(r.nummerierung);
    }
    bool operator==(const LookupRecord&) const = default;
};

// "MUSIKCOV.DB": cover print layout of a media type.
struct CoverLayoutRecord {
    static constexpr const char* kTable = "MUSIKCOV";
    double indexNummer = 0;
    OptShort leerzeilenVor;
    OptShort leerzeilenNach;
    QString fontName;
    OptShort fontGroesse;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.indexNummer), f(r.leerzeilenVor), f(r.leerzeilenNach), f(r.fontName), f(r.fontGroesse);
    }
    bool operator==(const CoverLayoutRecord&) const = default;
};

// "MUSIKVER.DB": one lending of a carrier.
struct LendingRecord {
    static constexpr const char* kTable = "MUSIKVER";
    double tontraegernummer = 0;
    double verleihstatus = 0; // 1 lent, 0 returned
    double folgenummer = 0;   // packed date-time of the lending
    OptNumber verliehenAn;
    QDate verliehenAm;
    QDate zurueckAm;
    OptNumber statusAlt;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.tontraegernummer), f(r.verleihstatus), f(r.folgenummer), f(r.verliehenAn),
            f(r.verliehenAm), f(r.zurueckAm), f(r.statusAlt);
    }
    bool operator==(const LendingRecord&) const = default;
};

// "VERSTAMM.DB": a borrower.
struct BorrowerRecord {
    static constexpr const char* kTable = "VERSTAMM";
    double folgenummer = 0;
    QString name1;
    QString name2;
    QString strasse;
    QString postfach;
    QString postleitzahl;
    QString ort;
    QString land;
    QString telefon;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.folgenummer), f(r.name1), f(r.name2), f(r.strasse), f(r.postfach), f(r.postleitzahl),
            f(r.ort), f(r.land), f(r.telefon);
    }
    bool operator==(const BorrowerRecord&) const = default;
};

// "MUSIKHLP.DB": display text of a coded value.
struct CodeTextRecord {
    static constexpr const char* kTable = "MUSIKHLP";
    QString tableName;
    double index = 0;
    QString hilfstext;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.tableName), f(r.index), f(r.hilfstext);
    }
    bool operator==(const CodeTextRecord&) const = default;
};

// "MPRTTEXT.DB": a print template.
struct PrintTemplateRecord {
    static constexpr const char* kTable = "MPRTTEXT";
    double type = 0;
    double indexNummer = 0;
    QString bezeichnung;
    OptNumber seitenrand;
    QString kopfText;
    QString seitenText;
    QString fussText;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.type), f(r.indexNummer), f(r.bezeichnung), f(r.seitenrand), f(r.kopfText),
            f(r.seitenText), f(r.fussText);
    }
    bool operator==(const PrintTemplateRecord&) const = default;
};

// "Currency.DB": a currency.
struct CurrencyRecord {
    static constexpr const char* kTable = "Currency";
    qint32 index = 0;
    QString currency;
    QString currencyLong;
    OptNumber factor;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.index), f(r.currency), f(r.currencyLong), f(r.factor);
    }
    bool operator==(const CurrencyRecord&) const = default;
};

// "FeldOriginal.DB": a field label as delivered.
struct FieldLabelRecord {
    static constexpr const char* kTable = "FeldOriginal";
    QString typ;
    qint32 feldindex = 0;
    QString feldbezeichnung;
    QString beschreibung;
    QString listentext;
    bool auffuellen = false;
    OptShort verwendung;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.typ), f(r.feldindex), f(r.feldbezeichnung), f(r.beschreibung), f(r.listentext),
            f(r.auffuellen), f(r.verwendung);
    }
    bool operator==(const FieldLabelRecord&) const = default;
};

// "FeldKopie.DB": a field label the user changed.
struct FieldLabelOverrideRecord {
    static constexpr const char* kTable = "FeldKopie";
    QString typ;
    qint32 feldindex = 0;
    QString feldbezeichnung;

    template <class R, class F> static void forEachField(R& r, F&& f) {
        f(r.typ), f(r.feldindex), f(r.feldbezeichnung);
    }
    bool operator==(const FieldLabelOverrideRecord&) const = default;
};

// "MUSIKTIP.DB": a tip of the tips dialog.
struct TipRecord {
    static constexpr const char* kTable = "MUSIKTIP";
    QString art; // "H", "N", "R", "S" or "W"
    QString tip; // "%s" marks a line break

    template <class R, class F> static void forEachField(R& r, F&& f) { f(r.art), f(r.tip); }
    bool operator==(const TipRecord&) const = default;
};
