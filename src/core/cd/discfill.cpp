#include "discfill.h"

#include "core/db/database.h"
#include "core/db/statement.h"

#include <QRegularExpression>

namespace discfill {

QString releaseYear(const QString& current, const QString& lookedUp) {
    if (!current.trimmed().isEmpty())
        return current;
    static const QRegularExpression fourDigits(QStringLiteral("^\\d{4}$"));
    const QString year = lookedUp.trimmed();
    return fourDigits.match(year).hasMatch() ? year : QString();
}

std::optional<qint64> musicDirectionFor(Database& db, const QString& genre) {
    const QString name = genre.trimmed();
    if (name.isEmpty())
        return std::nullopt;
    // Compared here, not in SQL: SQLite's lower() leaves umlauts alone ("Ländler").
    Statement s = db.prepare(u"SELECT \"Index-Nummer\", \"Kurzbezeichnung\", "
                             u"\"Langbezeichnung\" FROM \"MUSIKDIR\" ORDER BY \"Index-Nummer\"");
    while (s.next()) {
        if (s.toString(1).trimmed().compare(name, Qt::CaseInsensitive) == 0 ||
            s.toString(2).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return s.toInt64(0);
    }
    return std::nullopt;
}

} // namespace discfill
