#pragma once

#include "core/catalogue/timecheck.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class Database;

// "Differenz in der Zeit oder Liedanzahl": the entered and computed total time and song
// count side by side; the ticked values are taken over on "S&ichern".
class TTimeCountDiff : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 34010;

    explicit TTimeCountDiff(const timecheck::Result& values, QWidget* parent = nullptr);

    QCheckBox* takeTime() const { return m_takeTime; }
    QCheckBox* takeCount() const { return m_takeCount; }
    void setHelpHandler(std::function<void(int)> help) { m_help = std::move(help); }

private:
    QCheckBox* m_takeTime = nullptr;
    QCheckBox* m_takeCount = nullptr;
    std::function<void(int)> m_help;
};

// The check the entry window runs when it closes, for a stored carrier: silent when the
// values agree, otherwise the dialog; the ticked values are stored. Returns true when
// something was stored. exec runs the dialog (tests answer it); by default it is modal.
// Throws DbError.
bool runTimeCheck(QWidget* parent, Database& db, int carrierNumber,
                  const std::function<void(int)>& help = {},
                  const std::function<int(TTimeCountDiff&)>& exec = {});
