#include "core/db/recordaccess.h"
#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookupstore.h"
#include "gui/lookup/currencyeditdialog.h"
#include "gui/lookup/editartdbdialog.h"
#include "gui/lookup/editdbdialog.h"
#include "gui/lookup/lookupcommands.h"
#include "gui/lookup/seldbdialog.h"
#include "gui/printing/fontfamilybox.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "support/appstatefixture.h"
#include "support/scriptedmessageservice.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

class TestLookupCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<HintFilter> m_hints;
    std::unique_ptr<TMain> m_main;
    ScriptedMessageService m_messages;
    LookupCommands* m_commands = nullptr;

    template <class W> W* widgetOf(QMdiSubWindow* sub) {
        return sub ? dynamic_cast<W*>(sub->widget()) : nullptr;
    }
    LookupSelectionWindow* selection(int kind) {
        return widgetOf<LookupSelectionWindow>(m_commands->openSelection(kind));
    }
    int windowCount() const { return int(m_main->mdiArea()->subWindowList().size()); }
    QString lastMessage() const {
        return m_messages.messages().isEmpty() ? QString() : m_messages.messages().last().text;
    }
    int lastHelp() const {
        return m_messages.messages().isEmpty() ? -1 : m_messages.messages().last().helpContext;
    }
    QWidget* activeWidget() const { return m_main->mdiArea()->activeSubWindow()->widget(); }
    QPushButton* button(QWidget* window, const QString& text) {
        for (QPushButton* b : window->findChildren<QPushButton*>())
            if (b->text() == text)
                return b;
        return nullptr;
    }
    bool listShows(LookupSelectionWindow* list, const QString& longName) {
        const QAbstractItemModel* model = list->grid()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, 1).data().toString() == longName)
                return true;
        return false;
    }
    void addEntry(int kind, double key, const QString& longName) {
        LookupRecord r;
        r.indexNummer = key;
        r.kurzbezeichnung = longName.left(10);
        r.langbezeichnung = longName;
        r.nummerierung = 0;
        records::insert(m_state->db, r, schema::table(lookup::kindInfo(kind).table));
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->filePath(QStringLiteral("daten")));
        QVERIFY(m_state);
        m_messages = ScriptedMessageService();
        m_hints = std::make_unique<HintFilter>();
        m_main = std::make_unique<TMain>(*m_state, *m_hints);
        m_commands = new LookupCommands(*m_main, m_messages);
        m_commands->install();
        m_state->settings.showTip = false;
        m_main->show();
        QTRY_VERIFY(m_main->isEnabled());
    }
    void cleanup() {
        // Unsaved windows would ask; the answers of a finished test do not matter.
        for (int i = 0; i < 10; ++i)
            m_messages.answer(MessageButton::No);
        // The main window must not be destroyed with children open: their closing would
        // reach its members while they go.
        m_main->mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_main.reset();
        m_state.reset();
    }

    void commandsOpenOneSelectionWindowEach() {
        m_main->action(MainCommand::States)->trigger();
        m_main->action(MainCommand::States)->trigger();
        m_main->action(MainCommand::Currencies)->trigger();
        m_main->action(MainCommand::VideoLanguages)->trigger();
        QCOMPARE(windowCount(), 3);
        QCOMPARE(m_main->findChildWindow(QStringLiteral("lookup:1"))->windowTitle(),
                 QStringLiteral("Statusarten bearbeiten"));
        QCOMPARE(m_main->findChildWindow(QStringLiteral("lookup:8"))->windowTitle(),
                 QStringLiteral("Währungen bearbeiten"));
        QVERIFY(widgetOf<TSelVideoKatDialog>(m_main->findChildWindow(QStringLiteral("lookup:7"))));
    }

    void firstEntryEnablesTheWindow() {
        m_state->db.exec(u"DELETE FROM \"MusikTanzStil\"");
        LookupSelectionWindow* list = selection(lookup::kDanceStyles);
        QVERIFY(!list->changeButton()->isEnabled());
        QVERIFY(!list->deleteButton()->isEnabled());
        QVERIFY(!list->printButton()->isEnabled());
        QVERIFY(list->grid()->isHidden());
        auto* editor = widgetOf<TEditDBDialog>(m_commands->openEditor(lookup::kDanceStyles, {}));
        editor->longNameEdit()->setText(QStringLiteral("Walzer"));
        editor->okButton()->click();
        QVERIFY2(m_messages.messages().isEmpty(), qPrintable(lastMessage()));
        QCOMPARE(list->rowCount(), 1);
        QVERIFY(list->changeButton()->isEnabled());
        QVERIFY(list->grid()->isVisibleTo(list));
        QCOMPARE(LookupStore(m_state->db, lookup::kDanceStyles).list().front().indexNummer, 1.0);
    }

    void changeFindsTheOpenWindowByKey() {
        addEntry(lookup::kMusicDirections, 120, QStringLiteral("Jazz"));
        addEntry(lookup::kMusicDirections, 121, QStringLiteral("Jazz"));
        LookupSelectionWindow* list = selection(lookup::kMusicDirections);
        const int before = windowCount();
        QVERIFY(list->selectKey(120));
        list->change();
        QVERIFY(list->selectKey(120));
        list->change();
        QCOMPARE(windowCount(), before + 1);
        QVERIFY(list->selectKey(121));
        list->change(); // the same long name, another entry
        QCOMPARE(windowCount(), before + 2);
        QCOMPARE(m_main->mdiArea()->activeSubWindow()->windowTitle(),
                 QStringLiteral("Musikrichtungen: Jazz"));
    }

    void reservedAndEditedEntriesAreKept() {
        LookupSelectionWindow* list = selection(lookup::kStates);
        QVERIFY(list->selectKey(-1));
        list->change();
        QCOMPARE(lastMessage(), QStringLiteral("Dieser Datensatz kann nicht verändert werden!"));
        QCOMPARE(lastHelp(), 40509);
        list->remove();
        QCOMPARE(lastMessage(), QStringLiteral("Dieser Datensatz kann nicht gelöscht werden!"));
        QCOMPARE(lastHelp(), 40505);
        QVERIFY(list->selectKey(2));
        list->change();
        list->remove();
        QCOMPARE(lastHelp(), 40506);
        QVERIFY(LookupStore(m_state->db, lookup::kStates).find(2));
    }

    void deleteAsksAndChecksUse() {
        CarrierRecord c;
        c.folgenummerKopf = 1;
        c.status = 3;
        records::insert(m_state->db, c);
        LookupSelectionWindow* list = selection(lookup::kStates);
        QVERIFY(list->selectKey(3));
        list->remove();
        QCOMPARE(lastHelp(), 40507);
        QVERIFY(list->selectKey(2));
        m_messages.answer(MessageButton::Cancel);
        list->remove();
        QCOMPARE(lastMessage(),
                 QStringLiteral("Soll der Datensatz \"Gesucht [Wird gesucht]\" wirklich gelöscht "
                                "werden?"));
        QCOMPARE(lastHelp(), 40508);
        QVERIFY(LookupStore(m_state->db, lookup::kStates).find(2));
        m_messages.answer(MessageButton::Ok);
        list->remove();
        QVERIFY(!LookupStore(m_state->db, lookup::kStates).find(2));
        QVERIFY(!list->selectKey(2));
    }

    void runningNumbersAreShared() {
        const QString a = m_commands->openEditor(lookup::kStates, {})->windowTitle();
        const QString b = m_commands->openEditor(lookup::kMusicDirections, {})->windowTitle();
        const QString c = m_commands->openEditor(lookup::kCurrencies, {})->windowTitle();
        QCOMPARE(a, QStringLiteral("Statusarten 1"));
        QCOMPARE(b, QStringLiteral("Musikrichtungen 2"));
        QCOMPARE(c, QStringLiteral("Währung bearbeiten 3"));
    }

    void untouchedNewMediaTypeAsks() {
        QMdiSubWindow* sub = m_commands->openEditor(lookup::kMediaTypes, {});
        auto* editor = widgetOf<TEditArtDBDialog>(sub);
        QVERIFY(editor->changed());
        m_messages.answer(MessageButton::Cancel);
        QVERIFY(!editor->close());
        QCOMPARE(m_messages.messages().last().helpContext, 5004);
        editor->longNameEdit()->setText(QStringLiteral("Compact Disc"));
        editor->numberingEdit()->setText(QStringLiteral("5"));
        m_messages.answer(MessageButton::Yes);
        QVERIFY(editor->save());
        QCOMPARE(editor->windowTitle(), QStringLiteral("Tonträgerarten: Compact Disc"));
        QVERIFY(!editor->changed());
        const double key = *editor->key();
        QCOMPARE(LookupStore(m_state->db, 0).find(key)->nummerierung, OptNumber(5));
        QCOMPARE(LookupStore(m_state->db, 0).findCover(key)->fontName, QStringLiteral("Arial"));
    }

    void emptyLongNameIsRefused() {
        auto* editor = widgetOf<TEditDBDialog>(m_commands->openEditor(lookup::kStates, {}));
        editor->shortNameEdit()->setText(QStringLiteral("X"));
        editor->okButton()->click();
        QCOMPARE(lastHelp(), 40513);
        QVERIFY(editor->isVisible());
    }

    void failedSaveKeepsWindowAndValues() {
        m_state->db.exec(u"CREATE TRIGGER refuse BEFORE INSERT ON \"MUSIKDIR\" "
                         u"BEGIN SELECT RAISE(ABORT, 'Platte voll'); END");
        auto* editor =
            widgetOf<TEditDBDialog>(m_commands->openEditor(lookup::kMusicDirections, {}));
        editor->longNameEdit()->setText(QStringLiteral("Polka"));
        editor->okButton()->click();
        QCOMPARE(m_messages.messages().last().kind, MessageKind::Error);
        QVERIFY(lastMessage().contains(QLatin1String("Platte voll")));
        QVERIFY(editor->isVisible());
        QVERIFY(!editor->key());
        QCOMPARE(editor->longNameEdit()->text(), QStringLiteral("Polka"));
    }

    void emptyCurrencyNamesAreRefused() {
        auto* editor =
            widgetOf<TCurrencyEditDialog>(m_commands->openEditor(lookup::kCurrencies, {}));
        QVERIFY(!editor->save());
        QCOMPARE(lastMessage(),
                 QStringLiteral("Im Feld Beschreibung muß ein Wert eingegeben werden!"));
        editor->longNameEdit()->setText(QStringLiteral("Krone"));
        QVERIFY(!editor->save());
        QCOMPARE(lastMessage(), QStringLiteral("Im Feld Währung muß ein Wert eingegeben werden!"));
    }

    void factorInput_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("negative") << "-1" << false;
        QTest::newRow("text") << "abc" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("decimal comma") << "1,95583" << true;
    }
    void factorInput() {
        QFETCH(QString, input);
        QFETCH(bool, accepted);
        auto* editor =
            widgetOf<TCurrencyEditDialog>(m_commands->openEditor(lookup::kCurrencies, {}));
        QCOMPARE(editor->factorEdit()->text(), QStringLiteral("1"));
        editor->longNameEdit()->setText(QStringLiteral("Neue Mark"));
        QTest::keyClicks(editor->shortNameEdit(), QStringLiteral("nm"));
        QCOMPARE(editor->shortNameEdit()->text(), QStringLiteral("NM"));
        editor->factorEdit()->setText(input);
        m_messages.clear();
        QCOMPARE(editor->save(), accepted);
        if (!accepted) {
            QCOMPARE(lastMessage(),
                     QStringLiteral("Im Feld Faktor muß ein Wert größer als 0 eingegeben werden!"));
            return;
        }
        const double key = *editor->key();
        editor->close();
        auto* again =
            widgetOf<TCurrencyEditDialog>(m_commands->openEditor(lookup::kCurrencies, key));
        QCOMPARE(again->factorEdit()->text(), QStringLiteral("1,95583"));
        QCOMPARE(again->shortNameEdit()->text(), QStringLiteral("NM"));
        QCOMPARE(again->windowTitle(), QStringLiteral("Währung bearbeiten: Neue Mark"));
    }

    void renamedEntryShowsInTheList() {
        LookupSelectionWindow* list = selection(lookup::kStates);
        QVERIFY(list->selectKey(2));
        list->change();
        auto* editor = widgetOf<TEditDBDialog>(m_main->mdiArea()->activeSubWindow());
        editor->longNameEdit()->setText(QStringLiteral("Dringend gesucht"));
        QVERIFY(editor->save());
        QCOMPARE(list->selectedKey(), std::optional<double>(2));
        QCOMPARE(list->grid()->model()->index(list->grid()->currentIndex().row(), 1).data(),
                 QVariant(QStringLiteral("Dringend gesucht")));
    }
    // "Ok" and "Abbruch", Enter and Escape close the edit window and its frame; the list is
    // the active window again and shows what was saved.
    void editorClosesWithItsFrame_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("stored"); // "Ändern" on a stored entry, else "Neu"
        QTest::addColumn<QString>("closer");
        QTest::addColumn<bool>("saved");
        const std::pair<const char*, int> kinds[] = {{"Musikrichtungen", lookup::kMusicDirections},
                                                     {"Tonträgerarten", lookup::kMediaTypes},
                                                     {"Währungen", lookup::kCurrencies}};
        for (const auto& [name, kind] : kinds) {
            QTest::addRow("%s Neu Ok", name) << kind << false << "Ok" << true;
            QTest::addRow("%s Neu Escape", name) << kind << false << "Escape" << false;
            QTest::addRow("%s Ändern Abbruch", name) << kind << true << "Abbruch" << false;
            QTest::addRow("%s Ändern Enter", name) << kind << true << "Enter" << true;
        }
    }
    void editorClosesWithItsFrame() {
        QFETCH(int, kind);
        QFETCH(bool, stored);
        QFETCH(QString, closer);
        QFETCH(bool, saved);
        if (stored && kind != lookup::kCurrencies)
            addEntry(kind, 120, QStringLiteral("Alt"));
        LookupSelectionWindow* list = selection(kind);
        const int before = windowCount();
        if (stored) {
            QVERIFY(list->selectKey(kind == lookup::kCurrencies ? 1 : 120));
            list->changeButton()->click();
        } else {
            button(list, QStringLiteral("&Neu"))->click();
        }
        QCOMPARE(windowCount(), before + 1);
        auto* editor = dynamic_cast<LookupEditWindow*>(activeWidget());
        QVERIFY(editor);
        QList<QLineEdit*> edits = editor->findChildren<QLineEdit*>();
        edits[0]->setText(QStringLiteral("Geändert"));
        edits[1]->setText(QStringLiteral("GE"));
        m_messages.answer(MessageButton::No); // the question before a change is dropped

        if (closer == QLatin1String("Ok"))
            editor->okButton()->click();
        else if (closer == QLatin1String("Abbruch"))
            editor->cancelButton()->click();
        else
            QTest::keyClick(edits[0],
                            closer == QLatin1String("Enter") ? Qt::Key_Return : Qt::Key_Escape);
        QTRY_COMPARE(windowCount(), before);
        QCOMPARE(activeWidget(), list);
        QCOMPARE(m_messages.messages().size(), saved ? 0 : 1);
        QCOMPARE(listShows(list, QStringLiteral("Geändert")), saved);
    }

    // Enter in the list is "Ändern", Escape and "Schließen" close the list with its frame.
    void selectionWindowKeys_data() {
        QTest::addColumn<QString>("closer");
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("Schließen") << "Schließen";
    }
    void selectionWindowKeys() {
        QFETCH(QString, closer);
        LookupSelectionWindow* list = selection(lookup::kStates);
        const int before = windowCount();
        QVERIFY(list->selectKey(2));
        QTest::keyClick(list->grid(), Qt::Key_Return);
        QCOMPARE(windowCount(), before + 1);
        QCOMPARE(m_main->mdiArea()->activeSubWindow()->windowTitle(),
                 QStringLiteral("Statusarten: Wird gesucht"));
        QTest::keyClick(m_main->mdiArea()->activeSubWindow()->widget(), Qt::Key_Escape);
        QTRY_COMPARE(windowCount(), before);
        if (closer == QLatin1String("Escape"))
            QTest::keyClick(list->grid(), Qt::Key_Escape);
        else
            list->closeButton()->click();
        QTRY_COMPARE(windowCount(), before - 1);
        QVERIFY(m_messages.messages().isEmpty());
    }

    // Escape in the font drop-down closes the drop-down, not the edit window.
    void escapeInADropDownStaysInIt() {
        auto* editor = widgetOf<TEditArtDBDialog>(m_commands->openEditor(lookup::kMediaTypes, {}));
        const int before = windowCount();
        editor->fontBox()->setFocus();
        editor->fontBox()->showPopup();
        QTRY_VERIFY(QApplication::activePopupWidget());
        QWidget* popup = QApplication::activePopupWidget();
        QTest::keyClick(popup->focusWidget() ? popup->focusWidget() : popup, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QCOMPARE(windowCount(), before);
        QVERIFY(m_messages.messages().isEmpty());
    }
};

QTEST_MAIN(TestLookupCommands)
#include "tst_lookupcommands.moc"
