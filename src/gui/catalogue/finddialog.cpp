#include "finddialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

FindReplaceDialog::FindReplaceDialog(bool replace, QWidget* parent)
    : QDialog(parent), m_replaceMode(replace) {
    setWindowTitle(replace ? QStringLiteral("Ersetzen") : QStringLiteral("Suchen"));
    const int help = replace ? 30028 : 30027;
    auto* form = new QFormLayout;
    m_search = new QLineEdit(this);
    form->addRow(QStringLiteral("Suchen &nach:"), m_search);
    if (replace) {
        m_replace = new QLineEdit(this);
        form->addRow(QStringLiteral("Ersetzen &durch:"), m_replace);
    }
    m_wholeWord = new QCheckBox(QStringLiteral("Nur ganzes &Wort"), this);
    m_matchCase = new QCheckBox(QStringLiteral("&Groß-/Kleinschreibung"), this);
    auto* direction = new QGroupBox(QStringLiteral("Richtung"), this);
    m_up = new QRadioButton(QStringLiteral("Nach &oben"), direction);
    m_down = new QRadioButton(QStringLiteral("Nach &unten"), direction);
    m_down->setChecked(true);
    auto* dirLayout = new QHBoxLayout(direction);
    dirLayout->addWidget(m_up);
    dirLayout->addWidget(m_down);
    direction->setVisible(!replace); // replacing always runs downwards

    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(m_wholeWord);
    left->addWidget(m_matchCase);
    left->addWidget(direction);
    left->addStretch();
    auto* buttons = new QVBoxLayout;
    auto* next = new QPushButton(QStringLiteral("&Weitersuchen"), this);
    next->setDefault(true);
    buttons->addWidget(next);
    connect(next, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    if (replace) {
        auto* one = new QPushButton(QStringLiteral("&Ersetzen"), this);
        auto* all = new QPushButton(QStringLiteral("&Alle ersetzen"), this);
        buttons->addWidget(one);
        buttons->addWidget(all);
        connect(one, &QPushButton::clicked, this, &FindReplaceDialog::replaceOne);
        connect(all, &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    }
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    auto* helpButton = new QPushButton(QStringLiteral("&Hilfe"), this);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton);
    buttons->addStretch();
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [this, help] { emit helpRequested(help); });
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this, help] { emit helpRequested(help); });
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
}

QString FindReplaceDialog::searchText() const {
    return m_search->text();
}

QString FindReplaceDialog::replaceText() const {
    return m_replace ? m_replace->text() : QString();
}

textsearch::Options FindReplaceDialog::options() const {
    return {m_replaceMode || m_down->isChecked(), m_matchCase->isChecked(),
            m_wholeWord->isChecked()};
}
