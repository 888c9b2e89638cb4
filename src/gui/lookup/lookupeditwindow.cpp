#include "lookupeditwindow.h"

#include "core/common/messageservice.h"
#include "core/db/dberror.h"
#include "core/lookup/lookupkinds.h"
#include "core/shell/appstate.h"
#include "gui/shell/dialogkeys.h"
#include "lookupcommands.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

LookupEditWindow::LookupEditWindow(LookupCommands& commands, int kind, std::optional<double> key)
    : m_commands(commands), m_kind(kind), m_key(key) {
    if (!key)
        m_runningNumber = commands.nextRunningNumber();
}

MessageService& LookupEditWindow::messages() {
    return m_commands.messages();
}

Database& LookupEditWindow::db() {
    return m_commands.state().db;
}

void LookupEditWindow::finishLayout(QGridLayout* fields, int helpContext) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    auto* buttons = new QHBoxLayout;
    m_ok = new QPushButton(QStringLiteral("&Ok"), this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("&Abbruch"), this);
    m_ok->setToolTip(QStringLiteral("Speichern und schließen"));
    m_cancel->setToolTip(QStringLiteral("Schließen"));
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    if (helpContext > 0) {
        auto* help = new QPushButton(QStringLiteral("&Hilfe"), this);
        buttons->addWidget(help);
        connect(help, &QPushButton::clicked, this,
                [this, helpContext] { m_commands.showHelp(helpContext); });
    }
    layout->addLayout(buttons);
    setMinimumWidth(400);
    connect(m_ok, &QPushButton::clicked, this, &LookupEditWindow::ok);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
    updateCaption();
}

void LookupEditWindow::updateCaption() {
    setWindowTitle(m_key ? lookup::editCaption(m_kind, longName())
                         : lookup::newEntryCaption(m_kind, m_runningNumber));
}

void LookupEditWindow::ok() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->mdiArea()->setActiveSubWindow(sub);
    if (save())
        close();
}

bool LookupEditWindow::save() {
    std::optional<double> saved;
    try {
        saved = store();
    } catch (const DbError& e) {
        messages().error(
            QStringLiteral("Der Datensatz konnte nicht gespeichert werden:\n%1").arg(e.message()));
        return false;
    }
    if (!saved)
        return false;
    m_key = saved;
    takeSnapshot();
    updateCaption();
    return true;
}

void LookupEditWindow::closeEvent(QCloseEvent* event) {
    if (!changed()) {
        event->accept();
        return;
    }
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->mdiArea()->setActiveSubWindow(sub);
    const MessageButton answer = messages().confirm(
        QStringLiteral("Die Daten wurden geändert! Sollen die Änderungen gespeichert werden?"),
        MessageButton::Yes | MessageButton::No | MessageButton::Cancel | MessageButton::Help, 5004);
    if (answer == MessageButton::No || (answer == MessageButton::Yes && save()))
        event->accept();
    else
        event->ignore();
}

// Enter is "&Ok", Escape "&Abbruch".
void LookupEditWindow::keyPressEvent(QKeyEvent* event) {
    if (!handleDialogKey(this, event, m_ok, [this] { m_cancel->click(); }))
        QWidget::keyPressEvent(event);
}
