#include "lookupcombo.h"

LookupCombo::LookupCombo(QWidget* parent) : QComboBox(parent) {
    setMaxVisibleItems(8);
    connect(this, &QComboBox::activated, this, [this] { m_keptKey.reset(); });
}

void LookupCombo::setRows(const std::vector<LookupRecord>& rows) {
    const OptNumber chosen = key(); // a refill after the table changed keeps the choice
    clear();
    for (const LookupRecord& r : rows)
        addItem(r.kurzbezeichnung, r.indexNummer);
    setKey(chosen);
}

void LookupCombo::setCurrencies(const std::vector<CurrencyRecord>& rows) {
    const OptNumber chosen = key();
    clear();
    for (const CurrencyRecord& r : rows)
        addItem(r.currency, double(r.index));
    setKey(chosen);
}

void LookupCombo::setKey(const OptNumber& key) {
    const int index = key ? findData(*key) : -1;
    setCurrentIndex(index);
    m_keptKey = index < 0 ? key : std::nullopt;
}

OptNumber LookupCombo::key() const {
    if (currentIndex() < 0)
        return m_keptKey;
    return currentData().toDouble();
}
