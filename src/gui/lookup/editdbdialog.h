#pragma once

#include "lookupeditwindow.h"

class QLineEdit;

// Edit window of one entry of the lookup tables of kinds 1 to 7: long and short name.
class TEditDBDialog : public LookupEditWindow {
    Q_OBJECT
public:
    TEditDBDialog(LookupCommands& commands, int kind, std::optional<double> key);

    bool changed() const override;
    QLineEdit* longNameEdit() const { return m_long; }
    QLineEdit* shortNameEdit() const { return m_short; }

protected:
    std::optional<double> store() override;
    void takeSnapshot() override;
    QString longName() const override;

private:
    QLineEdit* m_long = nullptr;
    QLineEdit* m_short = nullptr;
    QString m_snapshotLong, m_snapshotShort;
};

// The two name fields of the lookup edit windows, with the field sizes of the tables.
void addNameFields(QWidget* owner, class QGridLayout* grid, QLineEdit*& longEdit,
                   QLineEdit*& shortEdit);
// The long name must not be empty; tells the user otherwise.
bool checkLongName(MessageService& messages, QLineEdit* longEdit);
