#include "lendingnames.h"

#include <QSet>

void LendingNames::set(const LendingRecord* lending, const BorrowerRecord* borrower,
                       const CarrierRecord* carrier) {
    m_lending = lending;
    m_borrower = borrower;
    m_carrierNames.setCarrier(carrier, nullptr);
}

std::optional<TemplateValue> LendingNames::resolve(const QString& name) const {
    static const BorrowerRecord kNoBorrower;
    static const LendingRecord kNoLending;
    const BorrowerRecord& b = m_borrower ? *m_borrower : kNoBorrower;
    const LendingRecord& l = m_lending ? *m_lending : kNoLending;
    static const std::pair<const char*, QString BorrowerRecord::*> kAddress[] = {
        {"NAME_1", &BorrowerRecord::name1},     {"NAME_2", &BorrowerRecord::name2},
        {"STRASSE", &BorrowerRecord::strasse},  {"POSTFACH", &BorrowerRecord::postfach},
        {"PLZ", &BorrowerRecord::postleitzahl}, {"ORT", &BorrowerRecord::ort},
        {"LAND", &BorrowerRecord::land},        {"TEL", &BorrowerRecord::telefon},
    };
    for (const auto& [key, member] : kAddress)
        if (name == QLatin1String(key))
            return TemplateValue{b.*member, 50};
    if (name == QLatin1String("VERLIEHEN"))
        return TemplateValue{templateformat::text(l.verliehenAm)};
    if (name == QLatin1String("ZURUECK") || name == QStringLiteral("ZURÜCK") ||
        name == QLatin1String("ZURUCK"))
        return TemplateValue{templateformat::text(l.zurueckAm)};
    static const QSet<QString> kCarrierNames = {
        QStringLiteral("TEXT_1"),    QStringLiteral("TEXT_2"), QStringLiteral("ART"),
        QStringLiteral("ARTL"),      QStringLiteral("NUMMER"), QStringLiteral("LIEDER"),
        QStringLiteral("ZEIT"),      QStringLiteral("JAHR"),   QStringLiteral("RICHTUNG"),
        QStringLiteral("RICHTUNGL"), QStringLiteral("STATUS"), QStringLiteral("STATUSL"),
        QStringLiteral("WERTUNG"),   QStringLiteral("DATUM"),  QStringLiteral("PREIS"),
    };
    if (kCarrierNames.contains(name))
        return m_carrierNames.resolve(name);
    return std::nullopt;
}
