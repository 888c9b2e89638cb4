#pragma once

#include "core/catalogue/fieldlabels.h"

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
    // Offers the given rows.
    TFieldSelectDialog(std::vector<fieldlabels::SelectableField> fields, QWidget* parent = nullptr);

    // The placeholder for the current row and choices; empty without a row or after
    // "&Abbruch".
    QString result() const;
    void reject() override;

    QTableWidget* grid() const { return m_grid; }
    class QGroupBox* alignmentGroup() const {
        return m_alignment;
    }
    QCheckBox* boldBox() const { return m_bold; }
    QCheckBox* italicBox() const { return m_italic; }
    QCheckBox* underlineBox() const { return m_underline; }
    QCheckBox* normalBox() const { return m_normal; }
    QRadioButton* plainButton() const { return m_plain; }
    QRadioButton* padAfterButton() const { return m_padAfter; }
    QRadioButton* padBeforeButton() const { return m_padBefore; }

private:
    void build();
    void rowChanged();
    void styleToggled(QCheckBox* box, bool on);

    std::vector<fieldlabels::SelectableField> m_fields;
    QTableWidget* m_grid = nullptr;
    QCheckBox *m_bold = nullptr, *m_italic = nullptr, *m_underline = nullptr, *m_normal = nullptr;
    QRadioButton *m_plain = nullptr, *m_padAfter = nullptr, *m_padBefore = nullptr;
    class QGroupBox* m_alignment = nullptr;
    bool m_cancelled = false;
};
