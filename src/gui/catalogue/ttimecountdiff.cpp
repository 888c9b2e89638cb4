#include "ttimecountdiff.h"

#include "core/common/laufzeit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TTimeCountDiff::TTimeCountDiff(const timecheck::Result& values, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Differenz in der Zeit oder Liedanzahl"));
    auto* text = new QLabel(QStringLiteral("Die erfaßte und errechnete Gesamtlaufzeit, bzw. die "
                                           "erfaßte und die errechnete Liedanzahl sind "
                                           "unterschiedlich:"),
                            this);
    text->setWordWrap(true);
    auto value = [this](const QString& v) {
        auto* l = new QLabel(v, this);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setFrameShape(QFrame::StyledPanel);
        l->setMinimumWidth(70);
        return l;
    };
    m_takeTime = new QCheckBox(QStringLiteral("Übernehmen?"), this);
    m_takeTime->setToolTip(QStringLiteral("Soll die errechnete Zeit übernommen werden?"));
    m_takeCount = new QCheckBox(QStringLiteral("Übernehmen?"), this);
    m_takeCount->setToolTip(QStringLiteral("Soll die errechnete Liedanzahl übernommen werden?"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Erfaßte Zeit:"), this), 0, 0);
    grid->addWidget(value(laufzeit::format(values.enteredTime)), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Errechnete Zeit:"), this), 1, 0);
    grid->addWidget(value(laufzeit::format(values.computedTime)), 1, 1);
    grid->addWidget(m_takeTime, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Erfaßte Liedanzahl:"), this), 2, 0);
    grid->addWidget(value(QString::number(values.enteredCount)), 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Errechnete Liedanzahl:"), this), 3, 0);
    grid->addWidget(value(QString::number(values.computedCount)), 3, 1);
    grid->addWidget(m_takeCount, 3, 2);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save =
        buttons->addButton(QStringLiteral("S&ichern"), QDialogButtonBox::AcceptRole);
    save->setDefault(true);
    buttons->addButton(QStringLiteral("&Ignorieren"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QStringLiteral("Hilfe"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] {
        if (m_help)
            m_help(kHelpContext);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

bool runTimeCheck(QWidget* parent, Database& db, int carrierNumber,
                  const std::function<void(int)>& help,
                  const std::function<int(TTimeCountDiff&)>& exec) {
    const std::optional<timecheck::Result> values = timecheck::forCarrier(db, carrierNumber);
    if (!values || !values->differs())
        return false;
    TTimeCountDiff dialog(*values, parent);
    dialog.setHelpHandler(help);
    const int result = exec ? exec(dialog) : dialog.exec();
    if (result != QDialog::Accepted)
        return false;
    const bool time = dialog.takeTime()->isChecked();
    const bool count = dialog.takeCount()->isChecked();
    timecheck::apply(db, carrierNumber, *values, time, count);
    return time || count;
}
