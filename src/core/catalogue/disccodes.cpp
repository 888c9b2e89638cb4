#include "disccodes.h"

#include "core/common/messageservice.h"
#include "core/db/recordaccess.h"

namespace disccodes {
namespace {
constexpr int kHelpExisting = 31005;
constexpr int kHelpDisc = 32001;
} // namespace

DiscReader defaultReader() {
    return [](const QString& drive, CdTocResult& result) {
        return ReadCDToc(1, drive, nullptr, result);
    };
}

bool hasCodes(Database& db, double carrierNumber) {
    Statement s = db.prepare(u"SELECT 1 FROM \"MUSIKINF\" WHERE \"Folgenummer Kopf\" = ? LIMIT 1");
    s.bind(1, carrierNumber);
    return s.next();
}

double storedCode(quint32 discId) {
    return double(qint32(discId));
}

int record(Database& db, double carrierNumber, const QString& drive, MessageService& messages,
           const DiscReader& read) {
    if (hasCodes(db, carrierNumber) &&
        messages.confirm(QStringLiteral("Der CD-Prüfcode für diesen Tonträger existiert bereits! "
                                        "Soll der Prüfcode überschrieben werden?"),
                         MessageButton::Yes | MessageButton::No | MessageButton::Help,
                         kHelpExisting) != MessageButton::Yes)
        return 0;
    int stored = 0;
    for (int disc = 1;; ++disc) {
        for (;;) {
            const MessageButton answer =
                messages.confirm(QStringLiteral("CD Nummer %1 eingelegt? ").arg(disc),
                                 MessageButton::Yes | MessageButton::No | MessageButton::Cancel |
                                     MessageButton::Help,
                                 kHelpDisc);
            if (answer == MessageButton::Yes)
                break;
            if (answer == MessageButton::Cancel)
                return stored;
        }
        CdTocResult toc;
        for (;;) {
            toc = CdTocResult{};
            const qint64 code = read(drive, toc);
            QString question;
            if (code == -1)
                question = QStringLiteral("CD-Prüfcode konnte nicht ermittelt werden! Weiter "
                                          "versuchen den Code zu ermitteln?");
            else if (!toc.hasAudio)
                question = QStringLiteral("Die eingelegte CD ist keine Audio-CD! Weiter versuchen "
                                          "die Daten zu ermitteln?");
            else
                break;
            if (messages.confirm(question,
                                 MessageButton::Yes | MessageButton::No | MessageButton::Help,
                                 kHelpDisc) != MessageButton::Yes)
                return stored;
        }
        {
            Transaction transaction(db);
            if (stored == 0) {
                Statement del =
                    db.prepare(u"DELETE FROM \"MUSIKINF\" WHERE \"Folgenummer Kopf\" = ?");
                del.bind(1, carrierNumber);
                del.run();
            }
            DiscCodeRecord r;
            r.folgenummerKopf = carrierNumber;
            r.cdNummer = disc;
            r.cdPruefcode = storedCode(toc.discId);
            records::insert(db, r);
            transaction.commit();
        }
        ++stored;
        if (messages.confirm(QStringLiteral("Soll der Prüfcode für eine weitere CD (Nummer %1) "
                                            "ermittelt werden?")
                                 .arg(disc + 1),
                             MessageButton::Yes | MessageButton::No | MessageButton::Help,
                             kHelpDisc) != MessageButton::Yes)
            return stored;
    }
}

QString driveFor(const QString& caption, const QStringList& drives) {
    for (const QString& d : drives) {
        if (caption.endsWith(QLatin1Char(' ') + d))
            return d;
    }
    return drives.value(0);
}

} // namespace disccodes
