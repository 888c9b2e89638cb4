#pragma once

#include "core/db/records.h"
#include "core/printing/carriernames.h"
#include "core/printing/templateinterpreter.h"

// The names of reminder letters and lending lists besides the standard ones: the borrower's
// address (width 50 whatever the field's width), the lending dates, and the carrier names
// from "TEXT_1" to "PREIS". Other carrier names print as themselves.
class LendingNames : public TemplateNames {
public:
    explicit LendingNames(const ReportLookups& lookups) : m_carrierNames(lookups) {}

    // The records must outlive the resolving; null gives empty values.
    void set(const LendingRecord* lending, const BorrowerRecord* borrower,
             const CarrierRecord* carrier);

    std::optional<TemplateValue> resolve(const QString& name) const override;

private:
    CarrierNames m_carrierNames;
    const LendingRecord* m_lending = nullptr;
    const BorrowerRecord* m_borrower = nullptr;
};
