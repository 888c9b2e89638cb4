#include "tips.h"

#include "core/db/recordaccess.h"

int Tips::startAfter(int lastTip) const {
    if (m_tips.empty())
        return 0;
    if (lastTip < 1 || lastTip >= count())
        return 1;
    return lastTip + 1;
}

int Tips::next(int number) const {
    return m_tips.empty() ? 0 : number >= count() ? 1 : number + 1;
}

int Tips::previous(int number) const {
    return m_tips.empty() ? 0 : number <= 1 ? count() : number - 1;
}

QString Tips::titleFor(const QString& kind) {
    if (kind == QLatin1String("H"))
        return QStringLiteral("Wußten Sie schon...");
    if (kind == QLatin1String("N"))
        return QStringLiteral("Nachricht...");
    if (kind == QLatin1String("R"))
        return QStringLiteral("Ratschlag...");
    if (kind == QLatin1String("S"))
        return QStringLiteral("Spruch...");
    if (kind == QLatin1String("W"))
        return QStringLiteral("Witz...");
    return {};
}

QString Tips::textOf(const QString& tip) {
    QString text = tip.left(255);
    qsizetype from = 0;
    for (int i = 0; i < 5; ++i) {
        const qsizetype at = text.indexOf(QLatin1String("%s"), from);
        if (at < 0)
            break;
        text.replace(at, 2, QLatin1Char('\n'));
        from = at + 1;
    }
    return text;
}

Tips Tips::load(Database& db) {
    return Tips(records::select<TipRecord>(db, u"ORDER BY rowid"));
}
