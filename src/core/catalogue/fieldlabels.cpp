#include "fieldlabels.h"

#include <QHash>

namespace fieldlabels {

void deleteAllRenamed(Database& db) {
    db.exec(u"DELETE FROM \"FeldKopie\" WHERE \"Typ\" = 'T'");
}

QString caption(int key) {
    static const QHash<int, QString> kDelivered = {
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
    return kDelivered.value(key);
}

QHash<int, QString> renamed(Database& db) {
    QHash<int, QString> names;
    Statement s = db.prepare(
        u"SELECT \"Feldindex\", \"Feldbezeichnung\" FROM \"FeldKopie\" WHERE \"Typ\" = 'T'");
    while (s.next())
        names.insert(int(s.toInt64(0)), s.toString(1));
    return names;
}

QString columnTitle(const QString& name) {
    QString t = name;
    return t.remove(QLatin1Char('&'));
}

} // namespace fieldlabels
