#include "core/db/recordaccess.h"
#include "core/shell/appstate.h"
#include "core/shell/startupsequence.h"
#include "gui/shell/settingsdialog.h"
#include "support/appstatefixture.h"
#include "support/scriptedmessageservice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

class TestSettingsDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    ScriptedMessageService m_messages;

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->path());
        QVERIFY(m_state);
        m_messages = ScriptedMessageService();
    }

    void unchangedDialogGivesTheSameSettings() {
        TSettingsDialog dialog(*m_state, m_messages);
        QCOMPARE(dialog.editedSettings(), m_state->settings);
    }

    void globalNumberStoredEvenWhenUnchecked() {
        TSettingsDialog dialog(*m_state, m_messages);
        QCheckBox* global = dialog.checkBox(QStringLiteral("Tonträger &global numerieren?"));
        QVERIFY(!global->isChecked());
        QVERIFY(!dialog.globalNumberField()->isEnabled());
        global->setChecked(true);
        QVERIFY(dialog.globalNumberField()->isEnabled());
        dialog.globalNumberField()->setValue(500);
        global->setChecked(false);
        const Settings s = dialog.editedSettings();
        QVERIFY(!s.globalNumbering);
        QCOMPARE(s.globalNumber, 500);
    }

    void secondCurrencyDateFollowsTheFirst() {
        TSettingsDialog dialog(*m_state, m_messages);
        QVERIFY(!dialog.dateFrom()->isEnabled());
        dialog.dateUntil()->setDate(QDate(2001, 2, 28));
        QCOMPARE(dialog.dateFrom()->date(), QDate(2001, 3, 1));
        const Settings s = dialog.editedSettings();
        QCOMPARE(s.currencyDate2, s.currencyDate1 + 1);
    }

    void colourChooserShowsTheColourOfTheMode() {
        m_state->settings.cdPlayerColor = 0x0000FF;
        TSettingsDialog dialog(*m_state, m_messages);
        QCOMPARE(dialog.colourChooser()->currentData().toInt(), 8421376); // text colour first
        const int green = dialog.colourChooser()->findData(0x00FF00);
        dialog.colourChooser()->setCurrentIndex(green);
        emit dialog.colourChooser()->activated(green);
        dialog.checkBox(QStringLiteral("LED's &verwenden"))->setChecked(true);
        QCOMPARE(dialog.colourChooser()->currentData().toInt(), 0x0000FF);
        const Settings s = dialog.editedSettings();
        QCOMPARE(s.cdTexttimeColor, 0x00FF00);
        QCOMPARE(s.cdPlayerColor, 0x0000FF);
        QVERIFY(s.cdUseLed);
    }

    void deletedLabelsStayDeletedAfterCancel_data() {
        QTest::addColumn<MessageButton>("answer");
        QTest::addColumn<int>("remaining");
        QTest::newRow("yes deletes") << MessageButton::Yes << 0;
        QTest::newRow("no keeps") << MessageButton::No << 1;
    }
    void deletedLabelsStayDeletedAfterCancel() {
        QFETCH(MessageButton, answer);
        QFETCH(int, remaining);
        records::insert(m_state->db, FieldLabelOverrideRecord{QStringLiteral("T"), 10190,
                                                              QStringLiteral("Label")});
        {
            TSettingsDialog dialog(*m_state, m_messages);
            m_messages.answer(answer);
            dialog.deleteRenamedLabels();
            dialog.reject();
        }
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().text,
                 QStringLiteral("Sind Sie sicher, dass Sie alle Umbenennungen löschen möchten ?"));
        QCOMPARE(m_messages.messages().first().buttons, MessageButton::Yes | MessageButton::No);
        QCOMPARE(records::count(m_state->db, schema::table(u"FeldKopie")), remaining);
    }

    void currencyListsStoreTheIndex() {
        TSettingsDialog dialog(*m_state, m_messages);
        const Settings s = dialog.editedSettings();
        QCOMPARE(s.currencyOld, 2);
        QCOMPARE(s.currencyNew, 1);
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
