#pragma once

#include "core/shell/tips.h"

#include <QDialog>
#include <optional>

class QLabel;
class QPushButton;
class QCheckBox;

// "Ratschläge": one tip at a time with its title, browsed forwards and backwards.
class TfTipOfTheDay : public QDialog {
    Q_OBJECT
public:
    // tips is empty when "MUSIKTIP.DB" could not be read.
    TfTipOfTheDay(std::optional<Tips> tips, int lastTip, bool showAtStart,
                  QWidget* parent = nullptr);

    int shownTip() const { return m_current; }
    bool showAtStart() const;

    QString title() const;
    QString text() const;

private:
    void showTip(int number);

    std::optional<Tips> m_tips;
    int m_current = 0;
    QLabel* m_title;
    QLabel* m_text;
    QPushButton* m_previous;
    QPushButton* m_next;
    QCheckBox* m_showAtStart;
};
