#include "fieldlabels.h"

namespace fieldlabels {

void deleteAllRenamed(Database& db) {
    db.exec(u"DELETE FROM \"FeldKopie\" WHERE \"Typ\" = 'T'");
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
