#pragma once

#include "core/db/database.h"
#include "core/db/records.h"

#include <QString>
#include <optional>
#include <vector>

// The read-only views of the lendings: a borrower's overview, the lending list report's
// rows and the history of the command line.
namespace lendingqueries {

// The carrier as the lending window shows it; empty texts for a carrier that is gone.
struct CarrierSummary {
    QString group, title, typeShort;
    double numbering = 0;
};
CarrierSummary carrierSummary(Database& db, int carrier);

// One row of the lent media overview. Open lendings first, then by group, title, media
// type and number; rows whose carrier, media type or state text is missing are left out.
struct OverviewRow {
    int carrier = 0; // "Tonträgernummer"
    int state = 0;   // "Verleihstatus"
    QString stateText;
    int borrower = 0;
    QString group, title, typeShort;
    int type = 0;
    double numbering = 0;
    qint32 number = 0; // the lending's "Folgenummer"
    QDate lentOn, returnedOn;
};
QString overviewSql();
std::vector<OverviewRow> overview(Database& db, int borrower);

// Which lendings the lending list prints.
enum class Selection { All, Open, Returned };

// The lending list's query: every lending of the selection, with whatever of its carrier,
// borrower and state text exists. oneBorrower binds :Index, a selection other than All binds
// :Status.
QString listSql(bool oneBorrower, Selection selection);

struct ListRow {
    LendingRecord lending;
    CarrierRecord carrier;
    BorrowerRecord borrower;
    QString stateText;
};

// Steps through the list's rows without holding them all.
class ListCursor {
public:
    // borrower -1: every borrower.
    ListCursor(Database& db, int borrower, Selection selection);
    std::optional<ListRow> next();

private:
    Statement m_statement;
};

// Every lending, open ones first and then the newest first, with whatever of its carrier
// and borrower still exists. Optional filters by borrower and carrier number.
struct HistoryRow {
    LendingRecord lending;
    QString borrowerName; // empty when the borrower is gone
    int carrier = 0;
    QString group, title; // empty when the carrier is gone
};
std::vector<HistoryRow> history(Database& db, std::optional<int> borrower,
                                std::optional<int> carrier);

} // namespace lendingqueries
