#include "textpage.h"

#include "core/catalogue/cataloguetexts.h"
#include "core/common/messageservice.h"
#include "finddialog.h"
#include "tmainttdialog.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

TextPage::TextPage(TMainTtDialog& window)
    : EntryPage(window), m_store(window.db()), m_editor(new QPlainTextEdit(this)),
      m_position(new QLabel(this)) {
    const QString hintText = QStringLiteral(
        "In diesem Feld können Sie einen freien Text von max. 5.000 Zeichen erfassen.");
    m_editor->setToolTip(hintText);
    m_editor->setStatusTip(hintText);
    m_editor->setTabChangesFocus(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_editor, 1);
    layout->addWidget(m_position);

    struct Command {
        const char* caption;
        QKeySequence shortcut;
        int help;
        std::function<void()> run;
    };
    const Command commands[] = {
        {"&Rückgängig", QKeySequence(Qt::CTRL | Qt::Key_Z), 10601, [this] { m_editor->undo(); }},
        {"A&usschneiden", {}, 10602, [this] { m_editor->cut(); }},
        {"&Kopieren", {}, 10603, [this] { m_editor->copy(); }},
        {"E&infügen", {}, 10604, [this] { m_editor->paste(); }},
        {"&Löschen", QKeySequence(Qt::CTRL | Qt::Key_Delete), 10605,
         [this] { m_editor->textCursor().removeSelectedText(); }},
        {"&Suchen...", QKeySequence(Qt::CTRL | Qt::Key_I), 10606, [this] { showFind(); }},
        {"&Ersetzen...", QKeySequence(Qt::CTRL | Qt::Key_H), 10607, [this] { showReplace(); }},
        {"&Gehe zu...", QKeySequence(Qt::CTRL | Qt::Key_G), 10608, [this] { goToLine(); }},
        {"&Alles auswählen", QKeySequence(Qt::CTRL | Qt::Key_A), 10609,
         [this] { m_editor->selectAll(); }},
    };
    QMenu* menu = window.editMenu();
    for (const Command& c : commands) {
        auto* action = new QAction(QString::fromUtf8(c.caption), this);
        action->setProperty("helpContext", c.help);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, c.run);
        menu->addAction(action);
        addAction(action);
        m_actions.append(action);
        m_shortcuts.append(c.shortcut);
    }
    menu->installEventFilter(this);
    m_editor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_editor, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu context;
        context.addActions(m_actions);
        context.installEventFilter(this);
        context.exec(m_editor->mapToGlobal(pos));
    });
    m_editor->installEventFilter(this);
    m_editor->viewport()->installEventFilter(this);
    connect(m_editor, &QPlainTextEdit::cursorPositionChanged, this, &TextPage::updatePosition);
    connect(m_editor->document(), &QTextDocument::contentsChange, this, &TextPage::limitLength);
}

void TextPage::setMenuShortcutsActive(bool active) {
    for (int i = 0; i < m_actions.size(); ++i)
        m_actions[i]->setShortcut(active ? m_shortcuts[i] : QKeySequence());
}

void TextPage::load() {
    std::optional<QString> text;
    try {
        text = m_store.load(m_window.carrierNumber());
    } catch (const DbError& e) {
        m_window.messages().error(
            QStringLiteral("Der Text konnte nicht gelesen werden.\nFehler der Datenbank: %1")
                .arg(e.message()),
            30020);
    }
    m_limiting = true;
    m_editor->setPlainText(text.value_or(QString()));
    m_limiting = false;
    m_previousLength = m_editor->document()->characterCount() - 1;
    m_editor->document()->setModified(false);
}

void TextPage::enter() {
    load();
    m_editor->setFocus();
    updatePosition();
    m_window.setEditMenuShown(true);
}

bool TextPage::isChanged() const {
    return m_editor->document()->isModified();
}

bool TextPage::save() {
    try {
        m_store.save(m_window.carrierNumber(), m_editor->toPlainText(), QDate::currentDate());
    } catch (const DbError& e) {
        m_window.messages().error(
            cataloguetexts::databaseFailure(QStringLiteral("Der Text"), e.message()), 30020);
        return false;
    }
    m_editor->document()->setModified(false);
    m_window.markSaved();
    return true;
}

bool TextPage::leave(Reason) {
    if (!isChanged()) {
        m_window.setEditMenuShown(false);
        return true;
    }
    switch (m_window.messages().confirm(
        QStringLiteral("Die Textdaten wurden geändert! Sollen die Änderungen gespeichert werden?"),
        MessageButton::Yes | MessageButton::No | MessageButton::Cancel | MessageButton::Help,
        30020)) {
    case MessageButton::Yes:
        if (!save())
            return false;
        break;
    case MessageButton::No:
        load();
        break;
    default:
        return false;
    }
    m_window.setEditMenuShown(false);
    return true;
}

void TextPage::updatePosition() {
    const QTextCursor c = m_editor->textCursor();
    m_position->setText(
        QStringLiteral("%1 / %2").arg(c.blockNumber() + 1).arg(c.positionInBlock() + 1));
}

// Typing and pasting stop at 5,000 characters; a longer text already there stays whole.
void TextPage::limitLength(int position, int, int added) {
    const int length = m_editor->document()->characterCount() - 1;
    if (m_limiting) {
        m_previousLength = length;
        return;
    }
    const int allowed = std::max(kMaxLength, m_previousLength);
    if (added > 0 && length > allowed) {
        const int excess = std::min(length - allowed, added);
        m_limiting = true;
        QTextCursor cut(m_editor->document());
        cut.setPosition(position + added - excess);
        cut.setPosition(position + added, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
        m_limiting = false;
    }
    m_previousLength = m_editor->document()->characterCount() - 1;
}

bool TextPage::findNext(FindReplaceDialog& dialog, int notFoundHelp) {
    const QString what = dialog.searchText();
    const textsearch::Options options = dialog.options();
    QTextCursor c = m_editor->textCursor();
    const QString text = m_editor->toPlainText();
    const qsizetype from = options.forward ? c.selectionEnd() : c.selectionStart();
    const qsizetype found = textsearch::find(text, what, from, options);
    if (found < 0) {
        m_window.messages().information(
            QStringLiteral("\"%1\" konnte nicht gefunden werden!\"").arg(what), notFoundHelp);
        return false;
    }
    c.setPosition(int(found));
    c.setPosition(int(found + what.size()), QTextCursor::KeepAnchor);
    m_editor->setTextCursor(c);
    return true;
}

void TextPage::replaceOne(FindReplaceDialog& dialog) {
    QTextCursor c = m_editor->textCursor();
    if (!dialog.searchText().isEmpty() &&
        c.selectedText().compare(dialog.searchText(), Qt::CaseInsensitive) == 0) {
        c.insertText(dialog.replaceText());
        m_editor->setTextCursor(c);
    }
    findNext(dialog, 30008);
}

void TextPage::replaceAll(FindReplaceDialog& dialog) {
    QString text = m_editor->toPlainText();
    const int from = m_editor->textCursor().selectionStart();
    if (textsearch::replaceAll(text, dialog.searchText(), dialog.replaceText(), from,
                               dialog.options()) == 0)
        return;
    // One edit step, so "Rückgängig" takes the whole replacement back.
    QTextCursor c(m_editor->document());
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.insertText(text);
    c.endEditBlock();
}

void TextPage::showFind() {
    if (!m_find) {
        m_find = new FindReplaceDialog(false, this);
        connect(m_find, &FindReplaceDialog::findNext, this, [this] { findNext(*m_find, 30007); });
        connect(m_find, &FindReplaceDialog::helpRequested, &m_window, &TMainTtDialog::showHelp);
    }
    m_find->show();
    m_find->raise();
}

void TextPage::showReplace() {
    if (!m_replace) {
        m_replace = new FindReplaceDialog(true, this);
        connect(m_replace, &FindReplaceDialog::findNext, this,
                [this] { findNext(*m_replace, 30008); });
        connect(m_replace, &FindReplaceDialog::replaceOne, this,
                [this] { replaceOne(*m_replace); });
        connect(m_replace, &FindReplaceDialog::replaceAll, this,
                [this] { replaceAll(*m_replace); });
        connect(m_replace, &FindReplaceDialog::helpRequested, &m_window, &TMainTtDialog::showHelp);
    }
    m_replace->show();
    m_replace->raise();
}

void TextPage::goToLine() {
    const int current = m_editor->textCursor().blockNumber() + 1;
    for (;;) {
        const auto answer =
            m_window.messages().askText({QStringLiteral("Zu Zeilennummer springen"),
                                         QStringLiteral("Zeilen-Nr."), QString::number(current)});
        if (!answer)
            return;
        bool ok = false;
        const int line = answer->trimmed().toInt(&ok);
        if (!ok)
            continue; // not a whole number: asked again
        const int blocks = m_editor->document()->blockCount();
        const QTextBlock block =
            m_editor->document()->findBlockByNumber(std::clamp(line, 1, blocks) - 1);
        QTextCursor c(block);
        m_editor->setTextCursor(c);
        updatePosition();
        return;
    }
}

bool TextPage::eventFilter(QObject* watched, QEvent* event) {
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            const QAction* active = menu->activeAction();
            const int context = active ? active->property("helpContext").toInt() : 10600;
            menu->close();
            m_window.showHelp(context ? context : 10600);
            return true;
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        updatePosition();
        break;
    default:
        break;
    }
    return EntryPage::eventFilter(watched, event);
}
