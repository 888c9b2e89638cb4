#pragma once

#include <QDialog>

class Database;
class MessageService;
class QLineEdit;
class QPushButton;

// "Feld umbenennen": the user's own name of one carrier or song field. "&Ok" stores it;
// "&Abbruch" stores nothing.
class TFieldRenameDialog : public QDialog {
    Q_OBJECT
public:
    TFieldRenameDialog(Database& db, MessageService& messages, int labelKey,
                       QWidget* parent = nullptr);

    // The name stored on "&Ok".
    QString newName() const;

    QLineEdit* originalEdit() const { return m_original; }
    QLineEdit* descriptionEdit() const { return m_description; }
    QLineEdit* nameEdit() const { return m_name; }
    QPushButton* okButton() const { return m_ok; }

    void OkButtonClick();

private:
    Database& m_db;
    MessageService& m_messages;
    int m_key;
    QLineEdit* m_original;
    QLineEdit* m_description;
    QLineEdit* m_name;
    QPushButton* m_ok;
};
