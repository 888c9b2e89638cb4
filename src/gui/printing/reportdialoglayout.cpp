#include "reportdialoglayout.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ReportDialogParts buildReportDialog(QDialog& dialog, QWidget* controls,
                                    const std::function<void()>& print,
                                    const std::function<void()>& help) {
    ReportDialogParts parts;
    parts.buttons = new QDialogButtonBox(Qt::Vertical);
    auto* printButton =
        parts.buttons->addButton(QStringLiteral("&Drucken"), QDialogButtonBox::AcceptRole);
    printButton->setObjectName(QStringLiteral("PrintButton"));
    printButton->setDefault(true);
    parts.buttons->addButton(QStringLiteral("&Abbruch"), QDialogButtonBox::RejectRole);
    parts.buttons->addButton(QDialogButtonBox::Help)->setText(QStringLiteral("&Hilfe"));
    QObject::connect(parts.buttons, &QDialogButtonBox::accepted, &dialog, print);
    QObject::connect(parts.buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(parts.buttons, &QDialogButtonBox::helpRequested, &dialog, help);

    parts.abort = new QPushButton(QStringLiteral("&Abbruch"), &dialog);
    parts.abort->setObjectName(QStringLiteral("AbortButton"));
    parts.abort->hide();
    parts.pageLabel = new QLabel(&dialog);
    parts.pageLabel->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(controls, 1);
    top->addWidget(parts.buttons);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(top);
    auto* printingRow = new QHBoxLayout;
    printingRow->addWidget(parts.pageLabel, 1);
    printingRow->addWidget(parts.abort);
    layout->addLayout(printingRow);
    return parts;
}

void ReportDialogParts::showPrintingLayout(QWidget* controls) const {
    controls->hide();
    buttons->hide();
    showPage(0);
    pageLabel->show();
    abort->show();
    abort->setDefault(true);
}

void ReportDialogParts::showPage(int page) const {
    pageLabel->setText(QStringLiteral("Drucken der Seite: ") +
                       (page > 0 ? QString::number(page) : QString()));
}
