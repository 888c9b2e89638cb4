#include "aboutdialogs.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kProduct = QStringLiteral("Diskarium V 1.4");
}

void showAboutBox(QWidget* parent) {
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("Über ") + kProduct);
    box.setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    box.setText(QStringLiteral("<b>%1</b><br>Version 1.5.0<br>Erstellt am %2")
                    .arg(kProduct, QStringLiteral(__DATE__)));
    box.setInformativeText(
        QStringLiteral("Verwaltung einer Tonträgersammlung bis zum einzelnen Lied."));
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

TCreditsDialog::TCreditsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Copyright"));
    auto* version = new QLabel(QStringLiteral("Version: 1.5.0"), this);
    m_viewport = new QWidget(this);
    m_viewport->setFixedSize(320, 160);
    m_credits = new QLabel(m_viewport);
    m_credits->setAlignment(Qt::AlignHCenter);
    m_credits->setText(
        QStringLiteral("<p align=center><b>Diskarium</b></p>"
                       "<p align=center>Entwicklung<br>das Diskarium-Team</p>"
                       "<p align=center>Datenbank<br>SQLite</p>"
                       "<p align=center>Oberfläche<br>Qt</p>"
                       "<p align=center>Kompression<br>zlib</p>"
                       "<p align=center>Audio-CD<br>libcdio</p>"
                       "<p align=center>Titeldaten<br>die Freiwilligen der CDDB-Server</p>"
                       "<p align=center>Dank an alle,<br>die ihre Sammlung lieben.</p>"));
    m_credits->setFixedWidth(320);
    m_credits->adjustSize();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addWidget(m_viewport, 0, Qt::AlignHCenter);
    layout->addWidget(ok, 0, Qt::AlignHCenter);

    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] {
        const int height = m_credits->height();
        m_offset = (m_offset + 1) % (height + m_viewport->height());
        m_credits->move(0, m_viewport->height() - m_offset);
    });
    timer->start(40);
}
