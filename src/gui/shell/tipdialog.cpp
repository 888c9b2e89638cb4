#include "tipdialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfTipOfTheDay::TfTipOfTheDay(std::optional<Tips> tips, int lastTip, bool showAtStart,
                             QWidget* parent)
    : QDialog(parent), m_tips(std::move(tips)) {
    setWindowTitle(QStringLiteral("Ratschläge"));
    m_title = new QLabel(QStringLiteral("Oops..."), this);
    QFont f = m_title->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 3);
    m_title->setFont(f);
    m_text =
        new QLabel(QStringLiteral("Sorry, derzeit sind leider keine Ratschläge verfügbar!"), this);
    m_text->setWordWrap(true);
    m_text->setMinimumSize(380, 120);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_previous = new QPushButton(QStringLiteral("&Zurück"), this);
    m_next = new QPushButton(QStringLiteral("&Weiter"), this);
    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    m_showAtStart = new QCheckBox(
        QStringLiteral("&Ratschläge zur Diskarium beim Programmstart anzeigen?"), this);
    m_showAtStart->setChecked(showAtStart);
    connect(m_previous, &QPushButton::clicked, this,
            [this] { showTip(m_tips->previous(m_current)); });
    connect(m_next, &QPushButton::clicked, this, [this] { showTip(m_tips->next(m_current)); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    close->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_previous);
    buttons->addWidget(m_next);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_showAtStart);
    layout->addLayout(buttons);

    const bool usable = m_tips && !m_tips->isEmpty();
    m_previous->setEnabled(usable);
    m_next->setEnabled(usable);
    if (m_tips && m_tips->isEmpty()) {
        m_title->clear();
        m_text->clear();
    }
    if (usable)
        showTip(m_tips->startAfter(lastTip));
    else
        m_current = lastTip;
}

void TfTipOfTheDay::showTip(int number) {
    m_current = number;
    const TipRecord& tip = m_tips->at(number);
    m_title->setText(Tips::titleFor(tip.art));
    m_text->setText(Tips::textOf(tip.tip));
}

bool TfTipOfTheDay::showAtStart() const {
    return m_showAtStart->isChecked();
}

QString TfTipOfTheDay::title() const {
    return m_title->text();
}

QString TfTipOfTheDay::text() const {
    return m_text->text();
}
