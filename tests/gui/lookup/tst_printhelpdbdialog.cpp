#include "core/lookup/lookupkinds.h"
#include "core/printing/pageprinter.h"
#include "gui/lookup/lookupcommands.h"
#include "gui/lookup/printhelpdbdialog.h"
#include "gui/printing/fontfamilybox.h"
#include "gui/printing/previewdialog.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "support/appstatefixture.h"
#include "support/scriptedmessageservice.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QStringList labelTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts.append(label->text());
    return texts;
}

} // namespace

class TestPrintHelpDBDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<HintFilter> m_hints;
    std::unique_ptr<TMain> m_main;
    std::unique_ptr<TPreviewDialog> m_preview;
    ScriptedMessageService m_messages;
    LookupCommands* m_commands = nullptr;

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->filePath(QStringLiteral("daten")));
        QVERIFY(m_state);
        m_state->currentPrinter = QStringLiteral("PDF-Datei");
        m_hints = std::make_unique<HintFilter>();
        m_main = std::make_unique<TMain>(*m_state, *m_hints);
        m_preview = std::make_unique<TPreviewDialog>(*m_state, m_messages);
        m_commands = new LookupCommands(*m_main, m_messages);
    }
    void cleanup() {
        m_preview.reset();
        m_main.reset();
        m_state.reset();
    }

    void captions_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::newRow("media types") << 0 << "Tonträgerarten drucken";
        QTest::newRow("video languages") << 7 << "Videspracharten drucken";
        QTest::newRow("currencies") << int(lookup::kCurrencies) << "Wähungen drucken";
    }
    void captions() {
        QFETCH(int, kind);
        QFETCH(QString, caption);
        TPrintHelpDBDialog dialog(*m_commands, kind);
        QCOMPARE(dialog.windowTitle(), caption);
        QVERIFY(labelTexts(dialog).contains(QStringLiteral("Drucker:   PDF-Datei")));
        QCOMPARE(dialog.fontBox()->family(), QStringLiteral("Arial"));
        QCOMPARE(dialog.sizeBox()->value(), 11);
    }

    void abortShowsNothing() {
        TPrintHelpDBDialog dialog(*m_commands, lookup::kStates);
        dialog.show();
        auto* printButton = dialog.findChild<QPushButton*>(QStringLiteral("PrintButton"));
        QVERIFY(printButton);
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.abortButton()->click(); });
        printButton->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(!printButton->isVisible());
        QVERIFY(dialog.abortButton()->isVisible());
        QVERIFY(labelTexts(dialog).contains(QStringLiteral("Drucken der Seite: 1")));
        QVERIFY(!m_preview->isVisible());
        QVERIFY(!m_preview->PagePrinter().Printing());
        dialog.abortButton()->click(); // now it closes
        QVERIFY(!dialog.isVisible());
    }

    void previewAndSettingsWrittenBack() {
        TPrintCurrencyDialog dialog(*m_commands);
        dialog.sizeBox()->setValue(9);
        dialog.previewBox()->setChecked(true);
        bool previewShown = false;
        QTimer::singleShot(200, m_preview.get(), [this, &previewShown] {
            previewShown = m_preview->isVisible();
            m_preview->reject();
        });
        dialog.print();
        QVERIFY(previewShown);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_preview->PagePrinter().PageCount(), 1);
        QCOMPARE(m_preview->PagePrinter().Title(), QStringLiteral("WinDsKm - Währungen"));
        const Settings stored = settingsfile::read(m_state->settingsPath());
        QCOMPARE(stored.fontSize, qint16(9));
        QCOMPARE(stored.printPreview, true);
        QCOMPARE(m_state->settings.fontSize, qint16(9));
    }
};

QTEST_MAIN(TestPrintHelpDBDialog)
#include "tst_printhelpdbdialog.moc"
