#pragma once

#include "lookupeditwindow.h"

class QLineEdit;

// Edit window of a currency: description, short name in capitals and conversion factor.
class TCurrencyEditDialog : public LookupEditWindow {
    Q_OBJECT
public:
    TCurrencyEditDialog(LookupCommands& commands, std::optional<double> key);

    bool changed() const override;
    QLineEdit* longNameEdit() const { return m_long; }
    QLineEdit* shortNameEdit() const { return m_short; }
    QLineEdit* factorEdit() const { return m_factor; }

protected:
    std::optional<double> store() override;
    void takeSnapshot() override;
    QString longName() const override;

private:
    bool refuse(const QString& text, QLineEdit* field);

    QLineEdit* m_long = nullptr;
    QLineEdit* m_short = nullptr;
    QLineEdit* m_factor = nullptr;
    QString m_snapshotLong, m_snapshotShort, m_snapshotFactor;
};
