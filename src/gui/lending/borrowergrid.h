#pragma once

#include <QTableWidget>

class Database;

// The read-only list of all borrowers in "Alpha" order, whole rows selected, titled with
// the field names. Keeps a current row across re-reads.
class BorrowerGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit BorrowerGrid(QWidget* parent = nullptr);

    // Reads the borrowers again; the row of keepNumber (or else the current one) stays
    // current, else the first row.
    void reload(Database& db, int keepNumber = 0);
    // The selected borrower's number, 0 when there is none.
    int currentNumber() const;
    void selectNumber(int number);
};
