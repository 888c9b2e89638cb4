#include "printprogressdialog.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TPPPrnPrgDlg::TPPPrnPrgDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Druckfortschritt"));
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    m_status = new QLabel(frame);
    m_page = new QLabel(frame);
    m_status->setAlignment(Qt::AlignCenter);
    m_page->setAlignment(Qt::AlignCenter);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_status);
    frameLayout->addWidget(m_page);
    m_bar = new QProgressBar(this);
    m_bar->setMinimum(0);
    m_cancel = new QPushButton(QStringLiteral("&Abbruch"), this);
    QFont bold = m_cancel->font();
    bold.setBold(true);
    m_cancel->setFont(bold);
    m_cancel->setDefault(true);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    setFixedWidth(320);
}

void TPPPrnPrgDlg::start(const QString& caption, const QString& status, int steps,
                        bool cancelButton) {
    m_cancelled = false;
    setWindowTitle(caption);
    m_status->setText(status);
    m_bar->setMaximum(steps);
    m_bar->setValue(0);
    m_cancel->setVisible(cancelButton);
    m_cancel->setEnabled(cancelButton);
    adjustSize();
    if (!cancelButton) // the button's row is cut off
        setFixedHeight(98 * logicalDpiY() / 96);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
}

void TPPPrnPrgDlg::step(const QString& pageLabel) {
    m_page->setText(pageLabel);
    m_bar->setValue(m_bar->value() + 1);
    repaint();
}

void TPPPrnPrgDlg::finish() {
    hide();
}

void TPPPrnPrgDlg::processEvents() {
    QApplication::processEvents();
}

QString TPPPrnPrgDlg::pageLabel() const {
    return m_page->text();
}
QString TPPPrnPrgDlg::statusLabel() const {
    return m_status->text();
}
int TPPPrnPrgDlg::value() const {
    return m_bar->value();
}
