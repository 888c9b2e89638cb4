#include "carrierkey.h"

#include <QRegularExpression>

namespace carrierkey {

QString Match::describe() const {
    return QStringLiteral("#%1 %2 / %3").arg(number).arg(group, title);
}

namespace {

std::vector<Match> collect(Statement& s) {
    std::vector<Match> matches;
    while (s.next())
        matches.push_back({int(s.toInt64(0)), s.toString(1), s.toString(2)});
    return matches;
}

const QString kSelect = QStringLiteral("SELECT K.\"Folgenummer Kopf\", K.\"Gruppe/Interpret/Text "
                                       "1\", K.\"Text 2\" FROM \"MUSIKKOP\" K ");

} // namespace

Result resolve(Database& db, const QString& key) {
    Result result;
    const QString k = key.trimmed();
    static const QRegularExpression numberForm(QStringLiteral("^#(\\d{1,9})$"));
    static const QRegularExpression typeForm(QStringLiteral("^(.*):\\s*(-?\\d{1,9})$"));
    if (const auto m = numberForm.match(k); m.hasMatch()) {
        Statement s = db.prepare(kSelect + QStringLiteral("WHERE K.\"Folgenummer Kopf\" = ?"));
        s.bind(1, m.captured(1).toLongLong());
        result.matches = collect(s);
    } else if (const auto typed = typeForm.match(k);
               typed.hasMatch() && !typed.captured(1).trimmed().isEmpty()) {
        Statement s = db.prepare(
            kSelect +
            QStringLiteral("JOIN \"MUSIKART\" A ON A.\"Index-Nummer\" = "
                           "K.\"Art der Schallplatte\" WHERE LOWER(A.\"Kurzbezeichnung\") "
                           "= LOWER(?) AND K.\"Nummerierung\" = ? "
                           "ORDER BY K.\"Folgenummer Kopf\""));
        s.bind(1, typed.captured(1).trimmed());
        s.bind(2, typed.captured(2).toLongLong());
        result.matches = collect(s);
    } else {
        result.error = QStringLiteral("Ungültige Tonträgerangabe \"%1\": erwartet ART:NUMMER "
                                      "(etwa LP:17) oder #N.")
                           .arg(key);
        return result;
    }
    if (result.matches.empty()) {
        result.error = QStringLiteral("Kein Tonträger zu \"%1\" gefunden.").arg(key);
    } else if (result.matches.size() > 1) {
        QStringList lines;
        for (const Match& m : result.matches)
            lines.append(QStringLiteral("  ") + m.describe());
        result.error = QStringLiteral("\"%1\" bezeichnet mehrere Tonträger:\n%2")
                           .arg(key, lines.join(QLatin1Char('\n')));
    }
    return result;
}

QString keyOf(Database& db, int carrierNumber) {
    Statement s = db.prepare(
        u"SELECT A.\"Kurzbezeichnung\", K.\"Nummerierung\" FROM \"MUSIKKOP\" K JOIN \"MUSIKART\" A "
        u"ON A.\"Index-Nummer\" = K.\"Art der Schallplatte\" WHERE K.\"Folgenummer Kopf\" = ?");
    s.bind(1, carrierNumber);
    if (s.next() && !s.toString(0).isEmpty())
        return QStringLiteral("%1:%2").arg(s.toString(0)).arg(s.toInt64(1));
    return QStringLiteral("#%1").arg(carrierNumber);
}

} // namespace carrierkey
