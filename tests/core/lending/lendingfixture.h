#pragma once

#include "core/db/dataset.h"
#include "core/db/recordaccess.h"

#include <QTemporaryDir>

// A delivered data set (media type 1, directions and states from -1 on, lending state
// texts) in a temporary folder, with helpers for carriers, borrowers and lendings.
struct LendingData {
    QTemporaryDir dir;
    Database db;

    LendingData() {
        db.open(dir.filePath(QStringLiteral("t.db")), Database::OpenMode::CreateIfMissing);
        db.exec(u"PRAGMA synchronous = OFF");
        dataset::createSchema(db);
        dataset::loadDeliveredData(db);
    }

    void carrier(int number, const QString& group, std::optional<double> status = 1.0, int type = 1,
                 int numbering = 0) {
        CarrierRecord c;
        c.folgenummerKopf = number;
        c.gruppeInterpretText1 = group;
        c.text2 = QStringLiteral("Titel %1").arg(number);
        c.artDerSchallplatte = type;
        c.nummerierung = numbering ? numbering : number;
        c.musikrichtung = 1;
        c.status = status;
        records::insert(db, c);
    }

    int borrower(const QString& name1, const QString& telefon = QString()) {
        BorrowerRecord b;
        b.folgenummer = records::nextKey(db, records::tableOf<BorrowerRecord>(), u"Folgenummer");
        b.name1 = name1;
        b.telefon = telefon;
        records::insert(db, b);
        return qRound(b.folgenummer);
    }

    void lendingRow(int carrier, int state, qint32 number, int borrower, QDate lent,
                    QDate back = {}, std::optional<double> statusAlt = 1.0) {
        records::insert(db, LendingRecord{double(carrier), double(state), double(number),
                                          double(borrower), lent, back, statusAlt});
    }

    // Both tables the lending changes, as text, to see that nothing else changed.
    QString snapshot() {
        QString text;
        for (const auto& c : records::select<CarrierRecord>(db, u"ORDER BY \"Folgenummer Kopf\""))
            text += QStringLiteral("K%1:%2;")
                        .arg(c.folgenummerKopf)
                        .arg(c.status ? QString::number(*c.status) : QStringLiteral("-"));
        for (const auto& l : records::select<LendingRecord>(
                 db, u"ORDER BY \"Tonträgernummer\", \"Verleihstatus\", \"Folgenummer\""))
            text += QStringLiteral("V%1/%2/%3/%4/%5/%6;")
                        .arg(l.tontraegernummer)
                        .arg(l.verleihstatus)
                        .arg(l.folgenummer)
                        .arg(l.verliehenAn.value_or(-99))
                        .arg(l.zurueckAm.toString(Qt::ISODate))
                        .arg(l.statusAlt ? QString::number(*l.statusAlt) : QStringLiteral("-"));
        return text;
    }
};
