#pragma once

#include "fieldlabelbinder.h"

#include <optional>

#include "core/catalogue/searchcondition.h"

#include <QDialog>
#include <functional>

class QLineEdit;
class QListWidget;
class QPushButton;
struct AppState;
class MessageService;

// "Tonträger durchsuchen": the user puts together conditions on the fields of a carrier. The
// song search uses the same dialog with the song fields (TSearchSongDialog).
class TSearchDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 40300;

    TSearchDialog(AppState& state, MessageService& messages, QWidget* parent = nullptr);

    void setHelpHandler(std::function<void(int)> handler) { m_help = std::move(handler); }
    search::Kind kind() const { return m_kind; }
    // The conditions as the search hands them on (fixed field names).
    const search::ConditionList& conditions() const { return m_conditions; }

    QListWidget* fieldList() const { return m_fields; }
    QListWidget* operatorList() const { return m_operators; }
    QLineEdit* valueEdit() const { return m_value; }
    QListWidget* conditionList() const { return m_lines; }
    QPushButton* andButton() const { return m_and; }
    QPushButton* orButton() const { return m_or; }
    QPushButton* removeButton() const { return m_remove; }
    QPushButton* okButton() const { return m_ok; }

    // The dialog's steps, as its controls run them.
    void FieldClick();
    void OperatorClick();
    void AddCondition(search::Connector connector);
    void RemoveClick();

protected:
    TSearchDialog(AppState& state, MessageService& messages, search::Kind kind,
                  const QString& caption, int helpContext, int renameSwitch, QWidget* parent);

private:
    void createWidgets();
    void FormCreate(int renameSwitch);
    const search::Field* currentField() const;
    void lowerCaseTyping(const QString& text);
    void updateButtons();

    AppState& m_state;
    std::optional<FieldLabelBinder> m_labels;
    MessageService& m_messages;
    search::Kind m_kind;
    int m_helpContext;
    std::function<void(int)> m_help;
    search::ConditionList m_conditions;
    bool m_lowerCase = false;
    QListWidget* m_fields = nullptr;
    QListWidget* m_operators = nullptr;
    QLineEdit* m_value = nullptr;
    QListWidget* m_lines = nullptr;
    QPushButton* m_and = nullptr;
    QPushButton* m_or = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_ok = nullptr;
};
