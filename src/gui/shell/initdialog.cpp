#include "initdialog.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

TInitDialog::TInitDialog(QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
    auto* product = new QLabel(QStringLiteral("Diskarium"), this);
    QFont big = product->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    product->setFont(big);
    auto* version = new QLabel(QStringLiteral("Version: 1.5.0"), this);
    m_label = new QLabel(QStringLiteral("Initialisiere"), this);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->addWidget(product, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    layout->addWidget(m_label);
    layout->addWidget(m_progress);
    setFixedWidth(360);
}

void TInitDialog::setProgress(int percent) {
    m_progress->setValue(percent);
    m_label->setText(m_label->text() + QLatin1Char('.'));
    repaint();
}

void TInitDialog::pause(int) {
    QApplication::processEvents();
}
