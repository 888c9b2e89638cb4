#pragma once

#include "core/catalogue/textsearch.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Suchen" and "Ersetzen": a modeless dialog that tells the text page what to do.
class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    FindReplaceDialog(bool replace, QWidget* parent = nullptr);

    QString searchText() const;
    QString replaceText() const;
    textsearch::Options options() const;

    QLineEdit* searchEdit() const { return m_search; }
    QLineEdit* replaceEdit() const { return m_replace; }
    QCheckBox* wholeWordBox() const { return m_wholeWord; }
    QCheckBox* matchCaseBox() const { return m_matchCase; }
    QRadioButton* upButton() const { return m_up; }

signals:
    void findNext();
    void replaceOne();
    void replaceAll();
    void helpRequested(int context);

private:
    bool m_replaceMode;
    QLineEdit* m_search;
    QLineEdit* m_replace = nullptr;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QRadioButton* m_up;
    QRadioButton* m_down;
};
