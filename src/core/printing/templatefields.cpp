#include "templatefields.h"

#include "core/db/database.h"

namespace templatefields {

std::vector<Field> fieldsFor(Database& db, const QString& group, int kind) {
    // The usages of the group's own fields grow with the kind: lists know the carrier,
    // carrier sheets its songs as well, letters and lending lists also borrowers.
    QString usages = QStringLiteral("9999, 0");
    if (group == QLatin1String("T")) {
        if (kind == 1)
            usages += QStringLiteral(", 1");
        else if (kind == 2)
            usages += QStringLiteral(", 1, 2");
        else if (kind == 3 || kind == 4)
            usages += QStringLiteral(", 1, 2, 3");
    }
    Statement s =
        db.prepare(QStringLiteral("SELECT o.\"Feldindex\", o.\"Beschreibung\", o.\"Listentext\", "
                                  "k.\"Feldbezeichnung\", o.\"Auffüllen\", o.\"Verwendung\" "
                                  "FROM \"FeldOriginal\" o LEFT JOIN \"FeldKopie\" k "
                                  "ON o.\"Typ\" = k.\"Typ\" AND o.\"Feldindex\" = k.\"Feldindex\" "
                                  "WHERE o.\"Typ\" = ?1 AND o.\"Verwendung\" IN (%1) "
                                  "ORDER BY o.\"Feldindex\"")
                       .arg(usages));
    s.bind(1, group);
    std::vector<Field> fields;
    while (s.next()) {
        Field f;
        f.index = qint32(s.toInt64(0));
        f.description = s.toString(1);
        f.name = s.toString(2);
        f.renamed = s.toString(3);
        f.padded = s.toInt64(4) != 0;
        f.usage = int(s.toInt64(5));
        fields.push_back(f);
    }
    return fields;
}

QString placeholder(const QString& name, const Styles& styles, Alignment alignment) {
    QString text;
    if (styles.bold)
        text += QStringLiteral("$F$");
    if (styles.italic)
        text += QStringLiteral("$K$");
    if (styles.underline)
        text += QStringLiteral("$U$");
    if (styles.normal)
        text += QStringLiteral("$N$");
    const QChar sigil = alignment == Alignment::PadAfter    ? QLatin1Char('&')
                        : alignment == Alignment::PadBefore ? QLatin1Char('%')
                                                            : QLatin1Char('$');
    text += sigil + name + sigil;
    if (styles.bold || styles.italic || styles.underline)
        text += QStringLiteral("$N$");
    return text;
}

} // namespace templatefields
