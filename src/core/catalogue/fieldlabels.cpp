#include "fieldlabels.h"

#include <QHash>

namespace fieldlabels {

namespace {

const QString kGroup = QStringLiteral("T");

const std::vector<std::pair<int, QString>>& builtIn() {
    static const std::vector<std::pair<int, QString>> captions = {
        {10110, QStringLiteral("&Gruppe:")},
        {10115, QStringLiteral("&Titel:")},
        {10120, QStringLiteral("&Art:")},
        {10125, QStringLiteral("Lfd. N&r:")},
        {10130, QStringLiteral("A&nzahl Lieder:")},
        {10135, QStringLiteral("Gesamtlauf&zeit:")},
        {10140, QStringLiteral("&Musikrichtung:")},
        {10145, QStringLiteral("&Bewertung:")},
        {10150, QStringLiteral("Stat&us")},
        {10155, QStringLiteral("&Erscheinungsjahr:")},
        {10160, QStringLiteral("&Kaufpreis:")},
        {10165, QStringLiteral("Kau&fdatum:")},
        {10170, QStringLiteral("&Pressung:")},
        {10175, QStringLiteral("Aufna&hme:")},
        {10180, QStringLiteral("&Zustand:")},
        {10185, QStringLiteral("Bestell&code:")},
        {10190, QStringLiteral("Her&steller:")},
        {10510, QStringLiteral("S&eite:")},
        {10515, QStringLiteral("Fol&genummer:")},
        {10520, QStringLiteral("La&ufzeit:")},
        {10525, QStringLiteral("Lied&titel:")},
        {10530, QStringLiteral("Inter&pret:")},
        {10535, QStringLiteral("&Musikrichtung:")},
        {10540, QStringLiteral("Be&wertung:")},
        {10545, QStringLiteral("Zähler &von:")},
        {10550, QStringLiteral("&bis:")},
        {10555, QStringLiteral("Erscheinungs&jahr:")},
        {10560, QStringLiteral("B&PM von:")},
        {10565, QStringLiteral("bis:")},
        {10570, QStringLiteral("Tan&zstil:")},
    };
    return captions;
}

std::optional<QString> originalColumn(Database& db, int key, const char* column) {
    Statement s = db.prepare(QStringLiteral("SELECT \"%1\" FROM \"FeldOriginal\" "
                                            "WHERE \"Typ\" = ?1 AND \"Feldindex\" = ?2")
                                 .arg(QString::fromUtf8(column)));
    s.bind(1, kGroup).bind(2, key);
    if (!s.next())
        return std::nullopt;
    return s.toString(0);
}

} // namespace

const std::vector<int>& labelKeys() {
    static const std::vector<int> keys = [] {
        std::vector<int> k;
        for (const auto& entry : builtIn())
            k.push_back(entry.first);
        return k;
    }();
    return keys;
}

bool isLabelKey(int key) {
    return !caption(key).isEmpty();
}

QString caption(int key) {
    for (const auto& [k, text] : builtIn()) {
        if (k == key)
            return text;
    }
    return {};
}

QHash<int, QString> renamed(Database& db) {
    QHash<int, QString> names;
    Statement s = db.prepare(u"SELECT \"Feldindex\", \"Feldbezeichnung\" FROM \"FeldKopie\" "
                             u"WHERE \"Typ\" = 'T' AND \"Feldbezeichnung\" <> ''");
    while (s.next())
        names.insert(int(s.toInt64(0)), s.toString(1));
    return names;
}

QString userName(Database& db, int key) {
    Statement s = db.prepare(
        u"SELECT \"Feldbezeichnung\" FROM \"FeldKopie\" WHERE \"Typ\" = ?1 AND \"Feldindex\" = ?2");
    s.bind(1, kGroup).bind(2, key);
    return s.next() ? s.toString(0) : QString();
}

std::optional<QString> deliveredName(Database& db, int key) {
    return originalColumn(db, key, "Feldbezeichnung");
}

QString description(Database& db, int key) {
    return originalColumn(db, key, "Beschreibung").value_or(QString());
}

QString nameRefusal(const QString& name) {
    if (name.isEmpty())
        return QStringLiteral("Die neue Bezeichnung darf nicht leer sein.");
    if (name.size() > kMaxNameLength)
        return QStringLiteral("Die neue Bezeichnung darf höchstens %1 Zeichen lang sein.")
            .arg(kMaxNameLength);
    return {};
}

void rename(Database& db, int key, const QString& name) {
    Statement s = db.prepare(u"INSERT INTO \"FeldKopie\" (\"Typ\", \"Feldindex\", "
                             u"\"Feldbezeichnung\") VALUES (?1, ?2, ?3) "
                             u"ON CONFLICT (\"Typ\", \"Feldindex\") DO UPDATE SET "
                             u"\"Feldbezeichnung\" = excluded.\"Feldbezeichnung\"");
    s.bind(1, kGroup).bind(2, key).bind(3, name);
    s.run();
    db.notifier().announce(Change::FieldLabels);
}

std::optional<QString> reset(Database& db, int key) {
    std::optional<QString> delivered = deliveredName(db, key);
    Statement s =
        db.prepare(u"DELETE FROM \"FeldKopie\" WHERE \"Typ\" = ?1 AND \"Feldindex\" = ?2");
    s.bind(1, kGroup).bind(2, key);
    s.run();
    db.notifier().announce(Change::FieldLabels);
    return delivered;
}

void deleteAllRenamed(Database& db) {
    db.exec(u"DELETE FROM \"FeldKopie\" WHERE \"Typ\" = 'T'");
    db.notifier().announce(Change::FieldLabels);
}

QString labelCaption(const QString& name) {
    return name + QLatin1Char(':');
}

QString columnTitle(const QString& name) {
    QString t = name;
    return t.remove(QLatin1Char('&'));
}

std::vector<SelectableField> selectableFields(Database& db, const QString& group, int kind) {
    // The group applies to every usage, and a user's name without a delivered row is never
    // offered. The usages of group "T" grow with the kind: lists know the carrier, carrier
    // sheets its songs as well, letters and lending lists also borrowers.
    QString usages = QStringLiteral("9999, 0");
    if (group == kGroup) {
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
    std::vector<SelectableField> fields;
    while (s.next()) {
        SelectableField f;
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

} // namespace fieldlabels
