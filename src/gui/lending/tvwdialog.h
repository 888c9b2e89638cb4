#pragma once

#include "lendingcontext.h"

#include <QDialog>

class BorrowerGrid;
class QPushButton;

// "Verleihverwaltung": the borrowers, and from there borrower maintenance, a borrower's
// lent media, and the lending lists.
class TVwDialog : public QDialog {
    Q_OBJECT
public:
    explicit TVwDialog(const LendingContext& context, QWidget* parent = nullptr);

    BorrowerGrid* grid() const { return m_grid; }
    QPushButton* button(const QString& caption) const;

    // The follow-up windows; tests replace them. Each gets the borrower's number (-1: all).
    std::function<int(int number)> editBorrower; // returns the stored number, 0 if none
    std::function<void(int borrower)> openOverview;
    std::function<void(int borrower)> openList;

    void NewClick();
    void ChangeClick();
    void DeleteClick();
    void LenderClick();
    void AllClick();
    void EditClick();

private:
    void updateEnabled();

    const LendingContext& m_context;
    BorrowerGrid* m_grid = nullptr;
    QPushButton *m_new, *m_change, *m_delete, *m_lender, *m_all, *m_edit, *m_close;
};
