#pragma once

#include "core/db/records.h"
#include "lendingcontext.h"

#include <QDialog>
#include <QStringList>
#include <vector>

class QLineEdit;

// "Leiher erfassen" / "Leiher bearbeiten:": one borrower's eight fields. A new borrower
// gets its number when it is stored.
class TLenderDialog : public QDialog {
    Q_OBJECT
public:
    // number -1: a new borrower.
    TLenderDialog(const LendingContext& context, int number, QWidget* parent = nullptr);

    QLineEdit* edit(int field) const { return m_edits[size_t(field)]; }
    // The stored borrower's number; 0 while nothing was stored.
    int storedNumber() const { return m_number > 0 ? m_number : 0; }

    // Stores the edits; false (dialog stays) after a message.
    bool save();
    void done(int result) override;

private:
    QStringList texts() const;
    void OkButtonClick();

    const LendingContext& m_context;
    int m_number = -1;
    std::vector<QLineEdit*> m_edits;
    QStringList m_snapshot;
    bool m_closing = false;
};
