#include "editprinttextdialog.h"

#include "core/common/messageservice.h"
#include "core/db/dberror.h"
#include "core/printing/templatefile.h"
#include "core/printing/templatestore.h"
#include "core/shell/appstate.h"
#include "fieldselectdialog.h"
#include "gui/shell/dialogkeys.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {
int g_captionNumber = 0;
const QString kTemplateFilter =
    QStringLiteral("Diskarium Druckvorlage (*.[Dd][Kk][Mm][Tt]);;Alle (*)");

QString plainText(const QPlainTextEdit* edit) {
    return templatestore::withCrLf(edit->toPlainText());
}
} // namespace

QString TEditPrintTextDialog::typeCaption(int type) {
    switch (type) {
    case 1:
        return QStringLiteral("Listentext");
    case 2:
        return QStringLiteral("Tonträgertext");
    case 3:
        return QStringLiteral("Mahntext");
    default:
        return QStringLiteral("Verleihverwaltungstext");
    }
}

void TEditPrintTextDialog::resetCaptionNumbers() {
    g_captionNumber = 0;
}

TEditPrintTextDialog::TEditPrintTextDialog(AppState& state, MessageService& messages, int type,
                                           Mode mode, const PrintTemplateRecord& source,
                                           QWidget* parent)
    : QWidget(parent), m_state(state), m_messages(messages), m_type(type),
      m_copied(mode == Mode::Copy) {
    setAttribute(Qt::WA_DeleteOnClose);
    setProperty("helpContext", type == 3 ? 40518 : 40517);

    m_name = new QLineEdit;
    m_name->setMaxLength(templatestore::kMaxNameLength);
    m_name->setToolTip(QStringLiteral("Bezeichnung des Drucktextes."));
    m_margin = new QSpinBox;
    m_margin->setRange(0, templatestore::kMaxMargin);
    auto* nameLabel = new QLabel(QStringLiteral("&Bezeichnung:"));
    nameLabel->setBuddy(m_name);
    auto* marginLabel = new QLabel(QStringLiteral("&Seitenrand:"));
    marginLabel->setBuddy(m_margin);

    auto makeText = [this](const QString& hint) {
        auto* edit = new QPlainTextEdit;
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->setToolTip(hint);
        edit->setFont(QFont(QStringLiteral("Courier New")));
        edit->installEventFilter(this);
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QPlainTextEdit::cursorPositionChanged, this,
                &TEditPrintTextDialog::updateCaret);
        connect(edit, &QPlainTextEdit::customContextMenuRequested, this, [this, edit](QPoint at) {
            updateEditMenu();
            m_editMenu->exec(edit->mapToGlobal(at));
        });
        connect(edit, &QPlainTextEdit::selectionChanged, this,
                &TEditPrintTextDialog::updateEditMenu);
        connect(edit, &QPlainTextEdit::undoAvailable, this, &TEditPrintTextDialog::updateEditMenu);
        return edit;
    };
    m_head = makeText(QStringLiteral("Text, der oben auf jeder Seite gedruckt wird."));
    m_page = makeText(QStringLiteral("Text, der pro zu druckendem Datensatz gedruckt wird."));
    m_foot = makeText(QStringLiteral("Text, der unten auf jeder Seite gedruckt wird."));
    m_caret = new QLabel;

    auto* fields = new QGridLayout;
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(marginLabel, 0, 2);
    fields->addWidget(m_margin, 0, 3);
    fields->addWidget(m_caret, 0, 4);
    auto* texts = new QVBoxLayout;
    const std::pair<QPlainTextEdit*, QString> parts[] = {
        {m_head, QStringLiteral("Ko&pfzeile")},
        {m_page, type == 3 ? QStringLiteral("Text") : QStringLiteral("&Text")},
        {m_foot, QStringLiteral("&Fußzeile")}};
    for (const auto& [edit, caption] : parts) {
        auto* label = new QLabel(caption);
        label->setBuddy(edit);
        texts->addWidget(label);
        texts->addWidget(edit, edit == m_page && type == 3 ? 3 : 1);
        if (type == 3 && edit != m_page) { // a reminder letter has no head or foot
            label->hide();
            edit->hide();
        }
    }

    auto* buttons = new QVBoxLayout;
    auto button = [&](const QString& caption, auto slot) {
        auto* b = new QPushButton(caption);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    m_insertField = button(QStringLiteral("Feld &einfügen"), &TEditPrintTextDialog::insertField);
    m_insertField->setEnabled(false);
    m_insertField->setFocusPolicy(Qt::NoFocus);
    button(QStringLiteral("&Importieren"), &TEditPrintTextDialog::importFile);
    button(QStringLiteral("E&xportieren "), &TEditPrintTextDialog::exportFile);
    buttons->addStretch();
    m_ok = button(QStringLiteral("&Ok"), [this] {
        if (save())
            close();
    });
    m_cancel = button(QStringLiteral("&Abbruch"), &QWidget::close);
    button(QStringLiteral("&Hilfe"), [this] {
        if (helpHandler)
            helpHandler(property("helpContext").toInt());
    });

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(texts, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    buildEditMenu();

    if (mode == Mode::Change) {
        m_index = qRound(source.indexNummer);
        load(source);
        setWindowTitle(typeCaption(type) + QStringLiteral(": ") + source.bezeichnung);
    } else {
        PrintTemplateRecord start = source;
        start.bezeichnung.clear(); // a copy starts without a name
        if (mode == Mode::New)
            start = PrintTemplateRecord();
        load(start);
        setWindowTitle(typeCaption(type) + QLatin1Char(' ') + QString::number(++g_captionNumber));
    }
    m_reference = current();
    resize(720, 560);
}

void TEditPrintTextDialog::load(const PrintTemplateRecord& record) {
    m_name->setText(record.bezeichnung);
    m_margin->setValue(qRound(record.seitenrand.value_or(0)));
    m_head->setPlainText(record.kopfText);
    m_page->setPlainText(record.seitenText);
    m_foot->setPlainText(record.fussText);
}

PrintTemplateRecord TEditPrintTextDialog::current() const {
    PrintTemplateRecord r;
    r.type = m_type;
    r.indexNummer = m_index;
    r.bezeichnung = m_name->text();
    r.seitenrand = m_margin->value();
    r.kopfText = plainText(m_head);
    r.seitenText = plainText(m_page);
    r.fussText = plainText(m_foot);
    return r;
}

bool TEditPrintTextDialog::changed() const {
    return m_copied || current() != m_reference;
}

bool TEditPrintTextDialog::save() {
    PrintTemplateRecord record = current();
    if (record.bezeichnung.isEmpty()) {
        m_messages.information(
            QStringLiteral("Im Feld Bezeichnung muß ein Wert eingegeben werden!"), 40520);
        return false;
    }
    if (const QString reason = templatestore::refusal(record); !reason.isEmpty()) {
        m_messages.error(
            QStringLiteral("Die Druckvorlage konnte nicht gespeichert werden! ") + reason, 40521);
        return false;
    }
    try {
        record = templatestore::save(m_state.db, record);
    } catch (const std::exception&) {
        m_messages.error(QStringLiteral("Die Druckvorlage konnte nicht gespeichert werden!"),
                         40521);
        return false;
    }
    m_index = qRound(record.indexNummer);
    m_copied = false;
    m_reference = current();
    if (saved)
        saved(m_type);
    return true;
}

void TEditPrintTextDialog::closeEvent(QCloseEvent* event) {
    if (changed()) {
        const MessageButton answer = m_messages.confirm(
            QStringLiteral("Die Daten wurden geändert!. Sollen die Änderungen gespeichert werden?"),
            MessageButton::Yes | MessageButton::No | MessageButton::Cancel, 5004);
        if (answer == MessageButton::Cancel || (answer == MessageButton::Yes && !save())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

// Enter outside the texts is "&Ok", Escape "&Abbruch"; the texts take Enter as a new line.
void TEditPrintTextDialog::keyPressEvent(QKeyEvent* event) {
    if (!handleDialogKey(this, event, m_ok, [this] { m_cancel->click(); }))
        QWidget::keyPressEvent(event);
}

bool TEditPrintTextDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const bool in = event->type() == QEvent::FocusIn;
        if (in)
            m_lastText = qobject_cast<QPlainTextEdit*>(watched);
        // A click on "Feld einfügen" must not take the field away from the text box.
        const bool textFocused = in || QApplication::focusWidget() == m_insertField;
        if (textFocused != m_textFocused) {
            m_textFocused = textFocused;
            m_insertField->setEnabled(textFocused);
            updateCaret();
            if (menusChanged)
                menusChanged();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TEditPrintTextDialog::updateCaret() {
    if (!m_textFocused || !m_lastText) {
        m_caret->clear();
        return;
    }
    const QTextCursor cursor = m_lastText->textCursor();
    m_caret->setText(
        QStringLiteral("%1 / %2").arg(cursor.blockNumber() + 1).arg(cursor.positionInBlock() + 1));
}

void TEditPrintTextDialog::buildEditMenu() {
    m_editMenu = new QMenu(QStringLiteral("&Bearbeiten"), this);
    auto add = [this](const QString& caption, const QKeySequence& keys,
                      void (QPlainTextEdit::*slot)()) {
        QAction* a = m_editMenu->addAction(caption);
        a->setShortcut(keys);
        connect(a, &QAction::triggered, this, [this, slot] {
            if (m_lastText)
                (m_lastText->*slot)();
        });
        return a;
    };
    add(QStringLiteral("&Rückgängig"), QKeySequence::Undo, &QPlainTextEdit::undo)
        ->setObjectName(QStringLiteral("undo"));
    m_editMenu->addSeparator();
    add(QStringLiteral("A&usschneiden"), QKeySequence::Cut, &QPlainTextEdit::cut)
        ->setObjectName(QStringLiteral("cut"));
    add(QStringLiteral("&Kopieren"), QKeySequence::Copy, &QPlainTextEdit::copy)
        ->setObjectName(QStringLiteral("copy"));
    add(QStringLiteral("E&infügen"), QKeySequence::Paste, &QPlainTextEdit::paste)
        ->setObjectName(QStringLiteral("paste"));
    QAction* remove = m_editMenu->addAction(QStringLiteral("&Löschen"));
    remove->setObjectName(QStringLiteral("delete"));
    connect(remove, &QAction::triggered, this, [this] {
        if (m_lastText)
            m_lastText->textCursor().removeSelectedText();
    });
    m_editMenu->addSeparator();
    add(QStringLiteral("&Alles markieren"), QKeySequence::SelectAll, &QPlainTextEdit::selectAll)
        ->setObjectName(QStringLiteral("selectAll"));
    connect(m_editMenu, &QMenu::aboutToShow, this, &TEditPrintTextDialog::updateEditMenu);
}

void TEditPrintTextDialog::updateEditMenu() {
    const QPlainTextEdit* edit = m_lastText;
    const bool selection = edit && edit->textCursor().hasSelection();
    auto set = [this](const char* name, bool on) {
        if (QAction* a = m_editMenu->findChild<QAction*>(QString::fromLatin1(name)))
            a->setEnabled(on);
    };
    set("undo", edit && edit->document()->isUndoAvailable());
    set("cut", selection);
    set("copy", selection);
    set("delete", selection);
    set("paste", edit && edit->canPaste());
    set("selectAll", edit && !edit->document()->isEmpty());
}

QList<QMenu*> TEditPrintTextDialog::contributedMenus() {
    if (!m_textFocused)
        return {};
    updateEditMenu();
    return {m_editMenu};
}

void TEditPrintTextDialog::insertField() {
    TFieldSelectDialog dialog(m_state.db, QStringLiteral("T"), m_type, this);
    if (dialog.exec() == QDialog::Accepted)
        insertText(dialog.result());
}

void TEditPrintTextDialog::insertText(const QString& text) {
    if (!m_lastText || text.isEmpty())
        return;
    m_lastText->insertPlainText(text); // replaces the selection
    m_lastText->setFocus();
}

QString TEditPrintTextDialog::folderSetting() const {
    return m_state.settings.exportImportPathTemplate;
}

void TEditPrintTextDialog::importFile() {
    const QString path = m_messages.chooseOpenFile(
        {QStringLiteral("Druckvorlage importieren"), folderSetting(), QString(), kTemplateFilter});
    if (path.isEmpty())
        return;
    m_state.settings.exportImportPathTemplate = QFileInfo(path).absolutePath();
    QString error;
    const std::optional<PrintTemplateRecord> record = templatefile::read(path, &error);
    if (!record) {
        m_messages.error(error);
        return;
    }
    load(*record);
}

void TEditPrintTextDialog::exportFile() {
    QString path = m_messages.chooseSaveFile(
        {QStringLiteral("Druckvorlage exportieren"), folderSetting(), QString(), kTemplateFilter});
    if (path.isEmpty())
        return;
    path = templatefile::withExtension(path);
    m_state.settings.exportImportPathTemplate = QFileInfo(path).absolutePath();
    QString error;
    if (!templatefile::write(path, current(), &error))
        m_messages.error(error);
}
