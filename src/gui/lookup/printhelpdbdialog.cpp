#include "printhelpdbdialog.h"

#include "core/common/messageservice.h"
#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookuplist.h"
#include "core/printing/fontchoice.h"
#include "core/shell/appstate.h"
#include "gui/printing/fontfamilybox.h"
#include "gui/printing/pageview.h"
#include "gui/printing/previewdialog.h"
#include "lookupcommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

TPrintHelpDBDialog::TPrintHelpDBDialog(LookupCommands& commands, int kind, QWidget* parent)
    : QDialog(parent), m_commands(commands), m_kind(kind) {
    setWindowTitle(lookup::kindInfo(kind).printCaption);
    const Settings& settings = commands.state().settings;
    auto* printer =
        new QLabel(QStringLiteral("Drucker:   ") + commands.state().currentPrinter, this);
    m_font = new FontFamilyBox(this);
    m_font->setFamily(settings.fontName);
    m_size = new QSpinBox(this);
    m_size->setRange(fontchoice::kMinimumSize, fontchoice::kMaximumSize);
    m_size->setValue(fontchoice::validSize(settings.fontSize, 11));
    m_preview = new QCheckBox(QStringLiteral("Druckvorscha&u"), this);
    m_preview->setChecked(settings.printPreview);
    auto* fontLabel = new QLabel(QStringLiteral("&Schriftart:"), this);
    fontLabel->setBuddy(m_font);
    auto* sizeLabel = new QLabel(QStringLiteral("&Größe:"), this);
    sizeLabel->setBuddy(m_size);
    m_page = new QLabel(this);
    m_page->hide();

    m_print = new QPushButton(QStringLiteral("&Drucken"), this);
    m_print->setDefault(true);
    m_abort = new QPushButton(QStringLiteral("&Abbruch"), this);
    auto* help = new QPushButton(QStringLiteral("&Hilfe"), this);
    connect(m_print, &QPushButton::clicked, this, &TPrintHelpDBDialog::print);
    connect(m_abort, &QPushButton::clicked, this, &TPrintHelpDBDialog::abort);
    connect(help, &QPushButton::clicked, this, [this] { m_commands.showHelp(40512); });

    auto* grid = new QGridLayout;
    grid->addWidget(printer, 0, 0, 1, 2);
    grid->addWidget(fontLabel, 1, 0);
    grid->addWidget(m_font, 1, 1);
    grid->addWidget(sizeLabel, 2, 0);
    grid->addWidget(m_size, 2, 1);
    grid->addWidget(m_preview, 3, 1);
    grid->addWidget(m_page, 4, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_print);
    buttons->addWidget(m_abort);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    m_setupWidgets = {printer, fontLabel, m_font, sizeLabel, m_size, m_preview, m_print, help};
}

void TPrintHelpDBDialog::print() {
    TPreviewDialog* preview = TPreviewDialog::instance();
    if (!preview || m_composing)
        return;
    for (QWidget* w : std::as_const(m_setupWidgets))
        w->hide();
    m_page->setText(QStringLiteral("Drucken der Seite: "));
    m_page->show();
    m_composing = true;
    m_aborted = false;
    TPagePrinter& printer = preview->PagePrinter();
    lookuplist::Outcome outcome = lookuplist::Outcome::Stopped;
    try {
        outcome = lookuplist::compose(printer, m_commands.state().db, m_kind, m_font->family(),
                                      m_size->value(), [this](int page) {
                                          m_page->setText(QStringLiteral("Drucken der Seite: ") +
                                                          QString::number(page));
                                          QApplication::processEvents();
                                          return !m_aborted;
                                      });
    } catch (const std::exception& e) {
        if (printer.Printing())
            printer.FinishDocument();
        m_commands.messages().error(QString::fromUtf8(e.what()));
    }
    m_composing = false;
    // After an abort nothing is shown or printed; the dialog waits to be closed.
    if (outcome != lookuplist::Outcome::Completed)
        return;
    preview->pageView().ZoomToPageWidth();
    preview->ZoomTimer().start();
    if (m_preview->isChecked())
        preview->exec();
    else
        printer.PrintPages();
    accept();
}

void TPrintHelpDBDialog::abort() {
    if (m_composing)
        m_aborted = true;
    else
        reject();
}

void TPrintHelpDBDialog::done(int result) {
    if (m_composing) { // closing while composing stops the list first
        m_aborted = true;
        return;
    }
    AppState& state = m_commands.state();
    state.settings.fontName = m_font->family();
    state.settings.fontSize = qint16(m_size->value());
    state.settings.printPreview = m_preview->isChecked();
    QString error;
    if (!settingsfile::write(state.settingsPath(), state.settings, &error))
        m_commands.messages().error(error);
    QDialog::done(result);
}

TPrintCurrencyDialog::TPrintCurrencyDialog(LookupCommands& commands, QWidget* parent)
    : TPrintHelpDBDialog(commands, lookup::kCurrencies, parent) {}
