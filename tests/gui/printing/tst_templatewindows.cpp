#include "core/db/recordaccess.h"
#include "core/printing/templatestore.h"
#include "gui/printing/editprinttextdialog.h"
#include "gui/printing/fieldselectdialog.h"
#include "gui/printing/selprinttextdialog.h"
#include "support/appstatefixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

// The template list, the editor and the field selection as a user works with them.
class TestTemplateWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    ScriptedMessageService m_messages;
    std::unique_ptr<QMdiArea> m_area;

    TSelPrintTextDialog* list(int type) {
        auto* l = new TSelPrintTextDialog(*m_state, m_messages, *m_area, type);
        m_area->addSubWindow(l)->show();
        return l;
    }
    QList<TEditPrintTextDialog*> editors() const {
        QList<TEditPrintTextDialog*> found;
        for (QMdiSubWindow* w : m_area->subWindowList())
            if (auto* e = qobject_cast<TEditPrintTextDialog*>(w->widget()))
                found << e;
        return found;
    }
    QStringList names(TSelPrintTextDialog* l) const {
        QStringList out;
        for (int row = 0; row < l->grid()->rowCount(); ++row)
            out << l->grid()->item(row, 0)->text();
        return out;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->path());
        QVERIFY(m_state);
        m_messages = ScriptedMessageService();
        m_area = std::make_unique<QMdiArea>();
        TEditPrintTextDialog::resetCaptionNumbers();
    }
    void cleanup() {
        m_area.reset();
        m_state.reset();
    }

    // One running number for new and copied editors of every type; a stored template shows
    // its name.
    void captions() {
        TSelPrintTextDialog* lists = list(1);
        TSelPrintTextDialog* carriers = list(2);
        QCOMPARE(lists->windowTitle(), QStringLiteral("Listentexte verwalten"));
        QCOMPARE(list(4)->windowTitle(), QStringLiteral("Verleihverwaltungstexte verwalten"));
        lists->newTemplate();
        carriers->copyTemplate();
        carriers->change();
        QStringList titles;
        for (TEditPrintTextDialog* e : editors())
            titles << e->windowTitle();
        QCOMPARE(titles, (QStringList{"Listentext 1", "Tonträgertext 2",
                                      "Tonträgertext: " + names(carriers).first()}));
        QVERIFY(editors().at(1)->nameEdit()->text().isEmpty()); // a copy starts without a name
        QVERIFY(editors().at(1)->changed());
        QVERIFY(!editors().at(0)->changed());
        QCOMPARE(editors().at(1)->pageEdit()->toPlainText(),
                 templatestore::withCrLf(editors().at(2)->pageEdit()->toPlainText())
                     .replace("\r\n", "\n"));
    }

    void deleteWhileEditingIsRefused() {
        TSelPrintTextDialog* l = list(2);
        const QStringList before = names(l);
        l->change();
        QCOMPARE(editors().size(), 1);
        l->change(); // activates, opens no second editor
        QCOMPARE(editors().size(), 1);
        l->deleteTemplate();
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().text,
                 QStringLiteral("Dieser Datensatz kann nicht gelöscht werden, da er gerade in "
                                "Bearbeitung ist!"));
        QCOMPARE(m_messages.messages().first().helpContext, 40506);
        QCOMPARE(names(l), before);
    }

    void deleteAsks_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("ok") << int(MessageButton::Ok) << true;
        QTest::newRow("cancel") << int(MessageButton::Cancel) << false;
    }
    void deleteAsks() {
        QFETCH(int, answer);
        QFETCH(bool, deleted);
        TSelPrintTextDialog* l = list(2);
        const QStringList before = names(l);
        m_messages.answer(MessageButton(answer));
        l->deleteTemplate();
        const Message& m = m_messages.messages().first();
        QCOMPARE(m.text, QStringLiteral("Soll der Datensatz \"%1\" wirklich gelöscht werden?")
                             .arg(before.first()));
        QCOMPARE(m.helpContext, 40508);
        QCOMPARE(m.kind, MessageKind::Confirmation);
        QCOMPARE(names(l).size(), before.size() - (deleted ? 1 : 0));
        QCOMPARE(names(l).contains(before.first()), !deleted);
    }

    // Yes saves and closes, No closes without saving, Cancel keeps the editor open.
    void closeQuestion_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("stored");
        QTest::newRow("yes") << int(MessageButton::Yes) << false << true;
        QTest::newRow("no") << int(MessageButton::No) << false << false;
        QTest::newRow("cancel") << int(MessageButton::Cancel) << true << false;
    }
    void closeQuestion() {
        QFETCH(int, answer);
        QFETCH(bool, open);
        QFETCH(bool, stored);
        TSelPrintTextDialog* l = list(3);
        const int before = int(names(l).size());
        l->newTemplate();
        TEditPrintTextDialog* editor = editors().first();
        QVERIFY(editor->headEdit()->isHidden()); // a reminder letter has only its text
        editor->nameEdit()->setText(QStringLiteral("Zweite Mahnung"));
        editor->pageEdit()->setPlainText(QStringLiteral("Zeile 1\nZeile 2"));
        m_messages.answer(MessageButton(answer));
        editor->parentWidget()->close();
        QApplication::processEvents();
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().text,
                 QStringLiteral("Die Daten wurden geändert!. Sollen die Änderungen gespeichert "
                                "werden?"));
        QCOMPARE(m_messages.messages().first().helpContext, 5004);
        QCOMPARE(editors().size(), open ? 1 : 0);
        QCOMPARE(int(names(l).size()), before + (stored ? 1 : 0)); // the list re-read
        if (stored) {
            const auto saved =
                templatestore::find(m_state->db, 3, QStringLiteral("Zweite Mahnung"));
            QVERIFY(saved);
            QCOMPARE(saved->seitenText, QStringLiteral("Zeile 1\r\nZeile 2"));
            QCOMPARE(qRound(saved->indexNummer), before + 1);
        }
    }

    // Enter in the list is "Ändern"; Escape and "Abbruch" close the editor with its frame,
    // Enter in the name saves, Enter in a text is a new line.
    void editorKeys_data() {
        QTest::addColumn<QString>("closer");
        QTest::addColumn<bool>("stored");
        QTest::newRow("Escape") << "Escape" << false;
        QTest::newRow("Abbruch") << "Abbruch" << false;
        QTest::newRow("Enter") << "Enter" << true;
    }
    void editorKeys() {
        QFETCH(QString, closer);
        QFETCH(bool, stored);
        TSelPrintTextDialog* l = list(3);
        l->newTemplate();
        TEditPrintTextDialog* editor = editors().first();
        editor->nameEdit()->setText(QStringLiteral("Dritte Mahnung"));
        QTest::keyClick(editor->pageEdit(), Qt::Key_Return);
        QCOMPARE(editor->pageEdit()->toPlainText(), QStringLiteral("\n"));
        m_messages.answer(MessageButton::No);
        if (closer == QLatin1String("Abbruch")) {
            for (QPushButton* b : editor->findChildren<QPushButton*>())
                if (b->text() == QLatin1String("&Abbruch"))
                    b->click();
        } else {
            QTest::keyClick(editor->nameEdit(),
                            closer == QLatin1String("Enter") ? Qt::Key_Return : Qt::Key_Escape);
        }
        QTRY_COMPARE(m_area->subWindowList().size(), 1);
        QCOMPARE(bool(templatestore::find(m_state->db, 3, QStringLiteral("Dritte Mahnung"))),
                 stored);
        QCOMPARE(m_messages.messages().size(), stored ? 0 : 1);
        if (!stored)
            return;
        QVERIFY(l->grid()->rowCount() > 0);
        l->grid()->setCurrentCell(0, 0);
        QTest::keyClick(l->grid(), Qt::Key_Return);
        QCOMPARE(editors().size(), 1);
    }

    void saveNeedsName() {
        TEditPrintTextDialog editor(*m_state, m_messages, 1, TEditPrintTextDialog::Mode::New);
        QVERIFY(!editor.save());
        QCOMPARE(m_messages.messages().first().text,
                 QStringLiteral("Im Feld Bezeichnung muß ein Wert eingegeben werden!"));
        QCOMPARE(m_messages.messages().first().helpContext, 40520);
        QCOMPARE(editor.nameEdit()->maxLength(), 50);
    }

    // Bold and padding after the text around the field's list name.
    void fieldSelection() {
        FieldLabelRecord field;
        field.typ = QStringLiteral("T");
        field.feldindex = 1;
        field.beschreibung = QStringLiteral("Ein Feld");
        field.listentext = QStringLiteral("NAME");
        field.auffuellen = true;
        field.verwendung = 0;
        m_state->db.exec(u"DELETE FROM \"FeldOriginal\"");
        records::insert(m_state->db, field);
        field.feldindex = 2;
        field.listentext = QStringLiteral("BORGER");
        field.verwendung = 3; // only for letters and lending lists
        records::insert(m_state->db, field);

        TFieldSelectDialog carrierFields(m_state->db, QStringLiteral("T"), 2);
        QCOMPARE(carrierFields.grid()->rowCount(), 1);
        TFieldSelectDialog dialog(m_state->db, QStringLiteral("T"), 4);
        QCOMPARE(dialog.grid()->rowCount(), 2);
        dialog.grid()->selectRow(0);
        dialog.boldBox()->setChecked(true);
        dialog.padAfterButton()->setChecked(true);
        QCOMPARE(dialog.result(), QStringLiteral("$F$&NAME&$N$"));
        dialog.normalBox()->setChecked(true); // clears the other styles
        QVERIFY(!dialog.boldBox()->isChecked());
        QCOMPARE(dialog.result(), QStringLiteral("$N$&NAME&"));

        TEditPrintTextDialog editor(*m_state, m_messages, 2, TEditPrintTextDialog::Mode::New);
        editor.show();
        editor.pageEdit()->setFocus();
        QApplication::processEvents();
        editor.pageEdit()->setPlainText(QStringLiteral("A B"));
        QTextCursor c = editor.pageEdit()->textCursor();
        c.setPosition(2);
        c.setPosition(3, QTextCursor::KeepAnchor);
        editor.pageEdit()->setTextCursor(c);
        editor.insertText(dialog.result());
        QCOMPARE(editor.pageEdit()->toPlainText(), QStringLiteral("A $N$&NAME&"));
    }
};

QTEST_MAIN(TestTemplateWindows)
#include "tst_templatewindows.moc"
