#pragma once

#include "core/lending/lendingqueries.h"
#include "gui/catalogue/fieldlabelbinder.h"
#include "lendingcontext.h"

#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

// "Geliehene Tonträger": one borrower's lendings, open ones first; take back, remind,
// delete returned entries.
class TVwLendedTtDialog : public QDialog {
    Q_OBJECT
public:
    TVwLendedTtDialog(const LendingContext& context, int borrower, QWidget* parent = nullptr);

    QTableWidget* grid() const { return m_grid; }
    QLabel* nameLabel() const { return m_name; }
    const std::vector<lendingqueries::OverviewRow>& rows() const { return m_rows; }

    // An overview without rows says so and closes at once.
    int exec() override;

    // The follow-up dialogs; tests replace them.
    std::function<void(int carrier)> returnCarrier;
    std::function<void(int carrier, qint32 number)> remind;

    void ReturnClick();
    void RemindClick();
    void DeleteClick();

private:
    const lendingqueries::OverviewRow* current() const;
    // Runs the query again; false after the closing message when no row is left.
    bool reload();
    void closeEmpty();

    const LendingContext& m_context;
    int m_borrower;
    QLabel* m_name = nullptr;
    QTableWidget* m_grid = nullptr;
    FieldLabelBinder m_names;
    std::vector<lendingqueries::OverviewRow> m_rows;
};
