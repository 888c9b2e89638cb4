#include "core/db/recordaccess.h"
#include "core/printing/medialistreport.h"
#include "gui/printing/fontfamilybox.h"
#include "gui/printing/previewdialog.h"
#include "gui/printing/printttlistdialog.h"
#include "support/appstatefixture.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The list print dialog: what it offers on opening, the kind switch, its messages, and the
// list it composes into the preview.
class TestPrintTtListDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    ScriptedMessageService m_messages;
    std::unique_ptr<TPreviewDialog> m_preview;

    void addCarrier(int number, const QString& text1, int type, QDate bought) {
        CarrierRecord c;
        c.folgenummerKopf = number;
        c.nummerierung = number;
        c.gruppeInterpretText1 = text1;
        c.text2 = QStringLiteral("Titel");
        c.artDerSchallplatte = type;
        c.kaufdatum = bought;
        records::insert(m_state->db, c);
    }

    void closePreviewWhenShown() {
        auto* timer = new QTimer(m_preview.get());
        connect(timer, &QTimer::timeout, m_preview.get(), [this, timer] {
            if (m_preview->isVisible()) {
                m_preview->reject();
                timer->deleteLater();
            }
        });
        timer->start(10);
    }

    QString printedText() const {
        QString text;
        const TPagePrinter& p = m_preview->PagePrinter();
        for (int page = 1; page <= p.PageCount(); ++page)
            text += p.PageImage(page).plainText();
        return text;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->path());
        QVERIFY(m_state);
        m_state->currentPrinter = QStringLiteral("PDF-Datei");
        m_messages = ScriptedMessageService();
        m_preview = std::make_unique<TPreviewDialog>(*m_state, m_messages);
        addCarrier(1, QStringLiteral("Mai-Erster"), 1, QDate(2000, 5, 1));
        addCarrier(2, QStringLiteral("Mai-Zweiter"), 1, QDate(2000, 5, 2));
        addCarrier(3, QStringLiteral("Andere Art"), 2, QDate(2000, 5, 2));
    }
    void cleanup() {
        m_preview.reset();
        m_state.reset();
    }

    // Stored values out of range open with the first kind and the alphabetical order.
    void opensAsStored_data() {
        QTest::addColumn<int>("storedKind");
        QTest::addColumn<int>("storedOrder");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("order");
        QTest::addColumn<QString>("label");
        QTest::newRow("states, by number") << 1 << 1 << 1 << 1 << "S&tatusarten";
        QTest::newRow("directions") << 2 << 0 << 2 << 0 << "Musikrich&tungen";
        QTest::newRow("sort type 5, kind 3") << 3 << 5 << 0 << 0 << "&Tonträgerarten";
    }
    void opensAsStored() {
        QFETCH(int, storedKind);
        QFETCH(int, storedOrder);
        QFETCH(int, kind);
        QFETCH(int, order);
        QFETCH(QString, label);
        m_state->settings.printListSelectType = storedKind;
        m_state->settings.printListSortType = storedOrder;
        m_state->settings.fontNameList = QStringLiteral("Courier New");
        m_state->settings.fontSizeList = 9;
        TPrintTtListDialog dialog(*m_state, m_messages, *m_preview);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Tonträgerliste drucken"));
        QCOMPARE(dialog.selectionKind(), kind);
        QCOMPARE(dialog.order(), order);
        QCOMPARE(dialog.listLabel()->text(), label);
        const std::vector<LookupRecord> rows = medialistreport::selectionRows(m_state->db, kind);
        QCOMPARE(dialog.entryList()->count(), int(rows.size()));
        QCOMPARE(dialog.entryList()->item(0)->text(), rows.front().langbezeichnung);
        QVERIFY(dialog.entryList()->selectedItems().isEmpty());
        QCOMPARE(dialog.fontBox()->family(), QStringLiteral("Courier New"));
        QCOMPARE(dialog.sizeBox()->value(), 9);
        QVERIFY(!dialog.dateEdit()->isEnabled());
        QCOMPARE(dialog.templateGrid()->currentRow(), 0);
    }

    void kindSwitchRefillsAndStores() {
        TPrintTtListDialog dialog(*m_state, m_messages, *m_preview);
        dialog.allButton()->click();
        QVERIFY(!dialog.entryList()->selectedItems().isEmpty());
        dialog.setSelectionKind(1);
        QCOMPARE(dialog.listLabel()->text(), QStringLiteral("S&tatusarten"));
        QCOMPARE(m_state->settings.printListSelectType, 1);
        QVERIFY(dialog.entryList()->selectedItems().isEmpty());
        QCOMPARE(dialog.entryList()->item(0)->text(),
                 medialistreport::selectionRows(m_state->db, 1).front().langbezeichnung);
        dialog.setOrder(1);
        QCOMPARE(m_state->settings.printListSortType, 1);
        dialog.dateBox()->setChecked(true);
        QVERIFY(dialog.dateEdit()->isEnabled());
    }

    void nothingSelected_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("help");
        QTest::newRow("media types") << 0 << 34003;
        QTest::newRow("states") << 1 << 34011;
        QTest::newRow("directions") << 2 << 34012;
    }
    void nothingSelected() {
        QFETCH(int, kind);
        QFETCH(int, help);
        TPrintTtListDialog dialog(*m_state, m_messages, *m_preview);
        dialog.setSelectionKind(kind);
        dialog.show();
        dialog.print();
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().text, medialistreport::noSelectionText(kind));
        QCOMPARE(m_messages.messages().first().helpContext, help);
        QVERIFY(!dialog.printingLayout());
        QVERIFY(dialog.isVisible());
    }

    // Bought after 01.05.2000: the carrier of 02.05.2000 prints, that of the very day not.
    void printsSelectedCarriersBoughtLater() {
        TPrintTtListDialog dialog(*m_state, m_messages, *m_preview);
        dialog.entryList()->item(0)->setSelected(true); // type of "Index-Nummer" 1 first
        QCOMPARE(medialistreport::selectionRows(m_state->db, 0).front().indexNummer, 1.0);
        dialog.dateBox()->setChecked(true);
        dialog.dateEdit()->setDate(QDate(2000, 5, 1));
        dialog.previewBox()->setChecked(true);
        closePreviewWhenShown();
        dialog.print();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const QString text = printedText();
        QVERIFY(text.contains(QStringLiteral("Mai-Zweiter")));
        QVERIFY(!text.contains(QStringLiteral("Mai-Erster")));
        QVERIFY(!text.contains(QStringLiteral("Andere Art")));
        QCOMPARE(m_preview->PagePrinter().Title(), QStringLiteral("WinDsKm - Tonträgerliste"));
    }

    void abortShowsNothing() {
        TPrintTtListDialog dialog(*m_state, m_messages, *m_preview);
        dialog.show();
        dialog.allButton()->click();
        dialog.previewBox()->setChecked(true);
        dialog.pageStarted = [&](int) { dialog.abortButton()->click(); };
        dialog.print();
        QVERIFY(dialog.printingLayout());
        QVERIFY(dialog.isVisible());
        QVERIFY(!m_preview->isVisible());
        dialog.pageStarted = nullptr;
        dialog.abortButton()->click();
        QVERIFY(!dialog.isVisible());
        QVERIFY(m_messages.messages().isEmpty());
    }
};

QTEST_MAIN(TestPrintTtListDialog)
#include "tst_printttlistdialog.moc"
