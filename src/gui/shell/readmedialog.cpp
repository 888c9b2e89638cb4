#include "readmedialog.h"

#include "core/common/windows1252.h"

#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TReadmeDialog::TReadmeDialog(const QString& path, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Textdatei anzeigen"));
    m_memo = new QPlainTextEdit(this);
    m_memo->setReadOnly(true);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_memo->setPlainText(load(path));
    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_memo);
    layout->addWidget(ok, 0, Qt::AlignRight);
    resize(640, 480);
}

QString TReadmeDialog::text() const {
    return m_memo->toPlainText();
}

QString TReadmeDialog::load(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString(10, QLatin1Char('\n')) +
               QStringLiteral("                      Textdatei konnte nicht gefunden werden!");
    return windows1252::decodeTextFile(f.readAll());
}
