#pragma once

#include "gui/catalogue/fieldlabelbinder.h"
#include "lendingcontext.h"

#include <QDialog>
#include <QHash>

class BorrowerGrid;
class QLabel;
class QLineEdit;
class QPushButton;

// "Verleihverwaltung" for one carrier: lends it to a borrower chosen in the grid, or takes
// it back from the borrower of its open lending.
class TVwLendDialog : public QDialog {
    Q_OBJECT
public:
    TVwLendDialog(const LendingContext& context, bool lend, int carrierNumber,
                  QWidget* parent = nullptr);

    BorrowerGrid* grid() const { return m_grid; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* newButton() const { return m_new; }
    // The carrier label of a field key (10110, 10115, 10120, 10125).
    QLabel* carrierLabel(int key) const { return m_labels.value(key); }
    QLineEdit* lentOnEdit() const { return m_lentOn; }
    QLineEdit* returnedOnEdit() const { return m_returnedOn; }

    // The borrower dialog for a new borrower; tests replace it. Returns the stored number.
    std::function<int()> newBorrower;

    void NewClick();
    void OkButtonClick();

private:
    void updateEnabled();

    const LendingContext& m_context;
    bool m_lend;
    int m_carrier;
    QHash<int, QLabel*> m_labels;
    FieldLabelBinder m_names;
    QLineEdit* m_lentOn = nullptr;
    QLineEdit* m_returnedOn = nullptr;
    BorrowerGrid* m_grid = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_ok = nullptr;
};
