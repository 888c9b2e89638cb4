#include "selprinttextdialog.h"

#include "core/common/messageservice.h"
#include "core/printing/templatestore.h"
#include "core/shell/appstate.h"
#include "gui/shell/childframe.h"
#include "gui/shell/dialogkeys.h"
#include "gui/shell/windowplacement.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

QString TSelPrintTextDialog::caption(int type) {
    return TEditPrintTextDialog::typeCaption(type) + QStringLiteral("e verwalten");
}

TSelPrintTextDialog::TSelPrintTextDialog(AppState& state, MessageService& messages, QMdiArea& area,
                                         int type, QWidget* parent)
    : QWidget(parent), m_state(state), m_messages(messages), m_area(area), m_type(type) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption(type));
    setProperty("helpContext", 40519);

    m_grid = new QTableWidget(0, 1);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Bezeichnung")});
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &TSelPrintTextDialog::change);

    const std::pair<QString, std::function<void()>> commands[] = {
        {QStringLiteral("Änd&ern"), [this] { change(); }},
        {QStringLiteral("&Neu"), [this] { newTemplate(); }},
        {QStringLiteral("&Kopieren"), [this] { copyTemplate(); }},
        {QStringLiteral("&Löschen"), [this] { deleteTemplate(); }},
        {QStringLiteral("&Schließen"), [this] { close(); }},
        {QStringLiteral("&Hilfe"), [this] {
             if (helpHandler)
                 helpHandler(40519);
         }}};
    auto* buttons = new QVBoxLayout;
    auto* menu = new QMenu(this);
    for (const auto& [text, run] : commands) {
        auto* b = new QPushButton(text);
        connect(b, &QPushButton::clicked, this, run);
        buttons->addWidget(b);
        m_buttons.append(b);
        QString menuText = text;
        if (menuText == QStringLiteral("Änd&ern"))
            menuText = QStringLiteral("&Ändern");
        QAction* action = menu->addAction(menuText, this, run);
        action->setObjectName(text);
    }
    m_buttons.first()->setDefault(true);
    buttons->addStretch();
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QTableWidget::customContextMenuRequested, this, [this, menu](QPoint at) {
        for (QAction* a : menu->actions())
            if (QPushButton* b = button(a->objectName()))
                a->setEnabled(b->isEnabled());
        menu->exec(m_grid->viewport()->mapToGlobal(at));
    });

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    refresh();
    resize(460, 300);
}

// Enter in the list is "Ändern", Escape "Schließen".
void TSelPrintTextDialog::keyPressEvent(QKeyEvent* event) {
    if (!handleDialogKey(this, event, m_buttons.first(),
                         [this] { button(QStringLiteral("&Schließen"))->click(); }))
        QWidget::keyPressEvent(event);
}

QPushButton* TSelPrintTextDialog::button(const QString& caption) const {
    for (QPushButton* b : m_buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

void TSelPrintTextDialog::refresh() {
    const int keep = selected() ? qRound(selected()->indexNummer) : 0;
    m_templates = templatestore::byType(m_state.db, m_type);
    m_grid->setRowCount(int(m_templates.size()));
    int select = 0;
    for (int row = 0; row < int(m_templates.size()); ++row) {
        m_grid->setItem(row, 0, new QTableWidgetItem(m_templates[size_t(row)].bezeichnung));
        if (qRound(m_templates[size_t(row)].indexNummer) == keep)
            select = row;
    }
    const bool any = !m_templates.empty();
    m_grid->setVisible(any);
    if (any)
        m_grid->selectRow(select);
    for (const char* name : {"Änd&ern", "&Kopieren", "&Löschen"})
        button(QString::fromUtf8(name))->setEnabled(any);
}

const PrintTemplateRecord* TSelPrintTextDialog::selected() const {
    const int row = m_grid ? m_grid->currentRow() : -1;
    return row >= 0 && row < int(m_templates.size()) ? &m_templates[size_t(row)] : nullptr;
}

TEditPrintTextDialog* TSelPrintTextDialog::openEditor(int index) const {
    for (QMdiSubWindow* window : m_area.subWindowList()) {
        auto* editor = qobject_cast<TEditPrintTextDialog*>(window->widget());
        if (editor && editor->type() == m_type && editor->index() == index)
            return editor;
    }
    return nullptr;
}

void TSelPrintTextDialog::open(TEditPrintTextDialog::Mode mode, const PrintTemplateRecord& source) {
    PrintTemplateRecord record = source;
    if (mode != TEditPrintTextDialog::Mode::New) // the newest stored state
        record =
            templatestore::load(m_state.db, m_type, qRound(source.indexNummer)).value_or(source);
    auto* editor = new TEditPrintTextDialog(m_state, m_messages, m_type, mode, record);
    editor->saved = [self = QPointer(this)](int) {
        if (self)
            self->refresh();
    };
    if (showEditor) {
        showEditor(editor);
    } else {
        addChildFrame(m_area, editor)->show();
    }
}

void TSelPrintTextDialog::change() {
    const PrintTemplateRecord* current = selected();
    if (!current)
        return;
    if (TEditPrintTextDialog* editor = openEditor(qRound(current->indexNummer))) {
        for (QMdiSubWindow* window : m_area.subWindowList())
            if (window->widget() == editor)
                windowplacement::bringToFront(m_area, *window);
        return;
    }
    open(TEditPrintTextDialog::Mode::Change, *current);
}

void TSelPrintTextDialog::newTemplate() {
    open(TEditPrintTextDialog::Mode::New, {});
}

void TSelPrintTextDialog::copyTemplate() {
    if (const PrintTemplateRecord* current = selected())
        open(TEditPrintTextDialog::Mode::Copy, *current);
}

void TSelPrintTextDialog::deleteTemplate() {
    const PrintTemplateRecord* current = selected();
    if (!current)
        return;
    const int index = qRound(current->indexNummer);
    if (openEditor(index)) {
        m_messages.information(QStringLiteral("Dieser Datensatz kann nicht gelöscht werden, da er "
                                              "gerade in Bearbeitung ist!"),
                               40506);
        return;
    }
    const MessageButton answer =
        m_messages.confirm(QStringLiteral("Soll der Datensatz \"%1\" wirklich gelöscht werden?")
                               .arg(current->bezeichnung),
                           MessageButton::Ok | MessageButton::Cancel, 40508);
    if (answer != MessageButton::Ok)
        return;
    try {
        templatestore::remove(m_state.db, m_type, index);
    } catch (const std::exception& e) {
        m_messages.error(QStringLiteral("Die Druckvorlage konnte nicht gelöscht werden: ") +
                         QString::fromUtf8(e.what()));
    }
    refresh();
}
