#pragma once

#include "core/db/recordaccess.h"

#include <QVariantList>

// Small carriers for the catalogue tests. The delivered data set has media types 1 (LP),
// music directions and states from 1 on, and currencies 1 (EUR) and 2 (DEM).
struct CarrierSpec {
    double number = 1;
    QString group;
    QString title = QStringLiteral("Titel");
    double type = 1;
    double numbering = 1;
    double direction = 1;
    double state = 1;
    std::optional<double> price;
    bool info = true;
    std::optional<qint32> currency = 1;
    QString pressing;

    CarrierSpec(double n, QString g) : number(n), group(std::move(g)) {}
    CarrierSpec& withTitle(const QString& t) { return title = t, *this; }
    CarrierSpec& withType(double t) { return type = t, *this; }
    CarrierSpec& withPrice(double p) { return price = p, *this; }
    CarrierSpec& withoutInfo() { return info = false, *this; }
    CarrierSpec& withCurrency(qint32 c) { return currency = c, *this; }
    CarrierSpec& withPressing(const QString& p) { return pressing = p, *this; }
};

inline void addCarrier(Database& db, const CarrierSpec& c) {
    CarrierRecord k;
    k.folgenummerKopf = c.number;
    k.gruppeInterpretText1 = c.group;
    k.text2 = c.title;
    k.artDerSchallplatte = c.type;
    k.nummerierung = c.numbering;
    k.musikrichtung = c.direction;
    k.status = c.state;
    k.kaufpreis = c.price;
    k.anzahlDerLieder = 0;
    k.laufzeitDerSchallplatte = 0;
    records::insert(db, k);
    if (c.info) {
        CarrierInfoRecord i;
        i.folgenummerInfo = c.number;
        i.currency = c.currency;
        i.pressung = c.pressing;
        records::insert(db, i);
    }
}

inline void addSong(Database& db, double carrier, double side, double nr, const QString& title,
                    double time, bool info = true) {
    SongRecord s;
    s.folgenummerPosition = carrier;
    s.seiteDerSchallplatte = side;
    s.nrDesLiedes = nr;
    s.titelDesLiedes = title;
    s.interpretDesLiedes = QStringLiteral("Interpret");
    s.laufzeitDesLiedes = time;
    s.musikrichtung = 1;
    s.zaehlwerkstandVon = 0;
    s.zaehlwerkstandBis = 0;
    s.bewertung = 3;
    records::insert(db, s);
    if (info) {
        SongInfoRecord i;
        i.folgenummerPosInfo = carrier;
        i.seiteDerSchallplatte = side;
        i.nrDesLiedes = nr;
        i.bpmVon = 100;
        i.bpmBis = 120;
        i.tanzstil = 1;
        records::insert(db, i);
    }
}

// A whole table as text, for comparing a database before and after an operation.
inline QString dumpTable(Database& db, const QString& table) {
    Statement s = db.prepare(QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1, 2").arg(table));
    QStringList rows;
    while (s.next()) {
        QStringList cols;
        for (int c = 0; c < s.columnCount(); ++c)
            cols.append(s.toVariant(c).toString());
        rows.append(cols.join(QLatin1Char('|')));
    }
    return rows.join(QLatin1Char('\n'));
}

inline QString dumpAll(Database& db) {
    QString all;
    for (const schema::Table& t : schema::tables())
        all += t.name + QLatin1Char('\n') + dumpTable(db, t.name) + QLatin1Char('\n');
    return all;
}
