#include "backupprogressdialog.h"

#include "core/common/messageservice.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

// A die that tumbles through its faces while the work goes on.
class RollingDie : public QWidget {
public:
    explicit RollingDie(QWidget* parent) : QWidget(parent) {
        setFixedSize(48, 48);
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            m_face = m_face % 6 + 1;
            m_angle = (m_angle + 15) % 360;
            update();
        });
        timer->start(120);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        static const QPointF pips[7][6] = {{},
                                           {{0, 0}},
                                           {{-1, -1}, {1, 1}},
                                           {{-1, -1}, {0, 0}, {1, 1}},
                                           {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}},
                                           {{-1, -1}, {1, -1}, {0, 0}, {-1, 1}, {1, 1}},
                                           {{-1, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {1, 1}}};
        static const int counts[7] = {0, 1, 2, 3, 4, 5, 6};
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(width() / 2.0, height() / 2.0);
        p.rotate(m_angle);
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(-16, -16, 32, 32), 5, 5);
        p.setBrush(Qt::black);
        for (int i = 0; i < counts[m_face]; ++i)
            p.drawEllipse(pips[m_face][i] * 9, 3, 3);
    }

private:
    int m_face = 1;
    int m_angle = 0;
};

TBackupProgressDlg::TBackupProgressDlg(MessageService& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint),
      m_messages(messages) {
    auto* wait = new QLabel(QStringLiteral("Bitte einen Moment Geduld ..."), this);
    QFont big = wait->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    wait->setFont(big);
    m_die = new RollingDie(this);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 100);
    m_file = new QLabel(this);
    auto* cancel = new QPushButton(QStringLiteral("&Abbruch"), this);
    connect(cancel, &QPushButton::clicked, this, &TBackupProgressDlg::askToCancel);

    auto* top = new QHBoxLayout;
    top->addWidget(m_die);
    top->addWidget(wait, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_bar);
    layout->addWidget(m_file);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    setFixedSize(420, 190);
}

void TBackupProgressDlg::setMode(Mode mode) {
    m_mode = mode;
    setWindowTitle(mode == Mode::Backup ? QStringLiteral("Datensicherung")
                                        : QStringLiteral("Datenwiederherstellung"));
}

void TBackupProgressDlg::showProgress(const QString& fileName, int percent) {
    m_bar->setValue(percent);
    m_file->setText(percent > 99 ? QStringLiteral("Schreibe Daten .....")
                                 : QFileInfo(fileName).fileName());
}

void TBackupProgressDlg::setFileLabel(const QString& text) {
    m_file->setText(text);
}

QString TBackupProgressDlg::fileLabel() const {
    return m_file->text();
}

int TBackupProgressDlg::percent() const {
    return m_bar->value();
}

void TBackupProgressDlg::reject() {
    askToCancel();
}

void TBackupProgressDlg::askToCancel() {
    const QString question =
        m_mode == Mode::Backup
            ? QStringLiteral("Möchten Sie die Datensicherung abbrechen?")
            : QStringLiteral("Möchten Sie die Datenwiederherstellung abbrechen?");
    if (m_messages.confirm(question, MessageButton::Yes | MessageButton::No) == MessageButton::Yes)
        emit cancelRequested();
}
