#include "core/db/recordaccess.h"
#include "core/lending/borrowers.h"
#include "core/lending/lending.h"
#include "core/printing/pageprinter.h"
#include "gui/lending/tprintlendlistdialog.h"
#include "gui/lending/tprintmahndialog.h"
#include "gui/printing/fontfamilybox.h"
#include "gui/printing/previewdialog.h"
#include "support/appstatefixture.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The reminder and lending list dialogs: their settings, their selections and what reaches
// the preview.
class TestLendingPrintDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    ScriptedMessageService m_messages;
    std::unique_ptr<TPreviewDialog> m_preview;
    std::unique_ptr<LendingContext> m_context;

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

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->path());
        QVERIFY(m_state);
        m_state->currentPrinter = QStringLiteral("PDF-Datei");
        m_state->settings.printPreview = true;
        m_messages = ScriptedMessageService();
        m_preview = std::make_unique<TPreviewDialog>(*m_state, m_messages);
        m_context = std::make_unique<LendingContext>(*m_state, m_messages);
        m_context->preview = [this] { return m_preview.get(); };
        CarrierRecord c;
        c.folgenummerKopf = 1;
        c.gruppeInterpretText1 = QStringLiteral("Abba");
        c.text2 = QStringLiteral("Gold");
        c.artDerSchallplatte = 1;
        c.nummerierung = 17;
        c.musikrichtung = 1;
        c.status = 1;
        records::insert(m_state->db, c);
        BorrowerRecord b;
        b.name1 = QStringLiteral("Erika");
        borrowers::save(m_state->db, b);
        QVERIFY(lending::lend(m_state->db, 1, 1, QDateTime(QDate(2026, 3, 4), QTime(9, 0))).ok());
    }
    void cleanup() {
        m_context.reset();
        m_preview.reset();
        m_state.reset();
    }

    // Each selection reaches the preview, or says that it is empty and stays in its
    // printing layout.
    void listSelections_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("printed");
        QTest::newRow("all") << 0 << true;
        QTest::newRow("open") << 1 << true;
        QTest::newRow("returned") << 2 << false;
    }
    void listSelections() {
        QFETCH(int, choice);
        QFETCH(bool, printed);
        TPrintLendListDialog dialog(*m_context, 1);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Verleihverwaltung drucken"));
        QVERIFY(dialog.allButton()->isChecked());
        QRadioButton* buttons[] = {dialog.allButton(), dialog.openButton(),
                                   dialog.returnedButton()};
        buttons[choice]->setChecked(true);
        dialog.show();
        closePreviewWhenShown();
        dialog.print();
        QCOMPARE(dialog.result(), printed ? int(QDialog::Accepted) : int(QDialog::Rejected));
        if (printed) {
            QVERIFY(m_preview->PagePrinter().PageImage(1).plainText().contains(
                QStringLiteral("04.03.2026")));
            QCOMPARE(m_preview->PagePrinter().Title(),
                     QStringLiteral("WinDsKm - Leiherdatenbank drucken"));
        } else {
            QCOMPARE(m_messages.messages().size(), 1);
            QCOMPARE(m_messages.messages()[0].helpContext, 36003);
            QVERIFY(dialog.printingLayout());
        }
    }

    // Font, size and preview are written back on closing, each dialog to its own keys.
    void settingsWrittenBack() {
        {
            TPrintMahnDialog dialog(*m_context, 1,
                                    qint32(lending::openLending(m_state->db, 1)->folgenummer));
            QCOMPARE(dialog.fontBox()->family(), QStringLiteral("Arial"));
            dialog.sizeBox()->setValue(14);
            dialog.previewBox()->setChecked(false);
            dialog.reject();
        }
        QCOMPARE(m_state->settings.fontSizeMahn, qint16(14));
        QVERIFY(!m_state->settings.printPreview);
        QCOMPARE(m_state->settings.fontSizeLend, 11);
        TPrintLendListDialog dialog(*m_context, -1);
        QVERIFY(!dialog.previewBox()->isChecked());
        dialog.sizeBox()->setValue(8);
        dialog.reject();
        QCOMPARE(m_state->settings.fontSizeLend, 8);
        QCOMPARE(m_state->settings.fontSizeMahn, qint16(14));
    }

    void reminderIntoPreview() {
        TPrintMahnDialog dialog(*m_context, 1,
                                qint32(lending::openLending(m_state->db, 1)->folgenummer));
        closePreviewWhenShown();
        dialog.print();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_preview->PagePrinter().Title(), QStringLiteral("WinDsKm - Mahnung"));
        QVERIFY(m_preview->PagePrinter().PageImage(1).plainText().contains(
            QStringLiteral("Hallo Erika")));
    }
};

QTEST_MAIN(TestLendingPrintDialogs)
#include "tst_lendingprintdialogs.moc"
