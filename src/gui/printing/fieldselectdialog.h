#pragma once

#include "core/printing/templatefields.h"

#include <QDialog>
#include <vector>

class Database;
class QCheckBox;
class QRadioButton;
class QTableWidget;

// "Feld auswählen und formatieren": picks a field of a template kind with style codes and
// alignment and gives the placeholder text to insert.
class TFieldSelectDialog : public QDialog {
    Q_OBJECT
public:
    TFieldSelectDialog(Database& db, const QString& group, int kind, QWidget* parent = nullptr);

    // The placeholder for the current row and choices; empty without a row.
    QString result() const;

    QTableWidget* grid() const { return m_grid; }
    QCheckBox* boldBox() const { return m_bold; }
    QCheckBox* italicBox() const { return m_italic; }
    QCheckBox* underlineBox() const { return m_underline; }
    QCheckBox* normalBox() const { return m_normal; }
    QRadioButton* padAfterButton() const { return m_padAfter; }
    QRadioButton* padBeforeButton() const { return m_padBefore; }

private:
    void rowChanged();
    void styleToggled(QCheckBox* box, bool on);

    std::vector<templatefields::Field> m_fields;
    QTableWidget* m_grid = nullptr;
    QCheckBox *m_bold = nullptr, *m_italic = nullptr, *m_underline = nullptr, *m_normal = nullptr;
    QRadioButton *m_plain = nullptr, *m_padAfter = nullptr, *m_padBefore = nullptr;
    class QGroupBox* m_alignment = nullptr;
};
