#pragma once

#include "core/db/records.h"

#include <QComboBox>
#include <vector>

// A drop-down over a lookup table: stores the key ("Index-Nummer"), shows the short name.
// A stored key missing from the table shows empty and is kept until the user chooses.
class LookupCombo : public QComboBox {
    Q_OBJECT
public:
    explicit LookupCombo(QWidget* parent = nullptr);

    // Fills the list; the chosen key stays chosen.
    void setRows(const std::vector<LookupRecord>& rows);
    void setCurrencies(const std::vector<CurrencyRecord>& rows);

    void setKey(const OptNumber& key);
    OptNumber key() const;

private:
    OptNumber m_keptKey;
};
