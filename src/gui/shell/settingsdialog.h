#pragma once

#include "core/settings/settings.h"
#include "core/settings/settingschanges.h"

#include <QDialog>

struct AppState;
class MessageService;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class HintFilter;

// "Einstellungen": the preferences on four pages. Works on a copy of the settings; the
// main window applies it when the dialog is confirmed.
class TSettingsDialog : public QDialog {
    Q_OBJECT
public:
    TSettingsDialog(AppState& state, MessageService& messages, QWidget* parent = nullptr);

    // The settings as the controls show them.
    Settings editedSettings() const;

    // The controls by their captions, for tests.
    QCheckBox* checkBox(const QString& caption) const;
    QSpinBox* globalNumberField() const { return m_globalNumber; }
    QDateEdit* dateUntil() const { return m_dateUntil; }
    QDateEdit* dateFrom() const { return m_dateFrom; }
    QComboBox* colourChooser() const { return m_colour; }
    void deleteRenamedLabels();

signals:
    void helpRequested(int helpContext);

private:
    QWidget* createGeneralPage();
    QWidget* createCarrierPage();
    QWidget* createCdPage();
    QWidget* createLabelsPage();
    QCheckBox* addCheck(QWidget* page, const QString& caption, bool checked);
    void fillCurrencies(QComboBox* box, int selected);
    void showColour();
    void updateHintDisplay();

    AppState& m_state;
    MessageService& m_messages;
    Settings m_edited;
    QTabWidget* m_pages;
    QList<QCheckBox*> m_checks;
    QSpinBox* m_globalNumber;
    QLabel* m_globalNumberLabel;
    QDateEdit* m_dateUntil;
    QDateEdit* m_dateFrom;
    QComboBox* m_currencyOld;
    QComboBox* m_currencyNew;
    QRadioButton* m_endStatus[3];
    QComboBox* m_colour;
    QCheckBox* m_rename[7];
    HintFilter* m_pageHints;
};
