#include "../../core/catalogue/carrierfixture.h"
#include "core/catalogue/medialistmodel.h"
#include "core/lending/borrowers.h"
#include "core/lending/lending.h"
#include "gui/catalogue/headbrowsewindow.h"
#include "gui/catalogue/medialistcommands.h"
#include "gui/lending/lendingcommands.h"
#include "gui/lending/tvwlenddialog.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "support/appstatefixture.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Lending and taking back from the media list: the refusals by the carrier's state, and
// every media list window re-reading after a lend.
class TestLendingCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<HintFilter> m_hints;
    std::unique_ptr<TMain> m_main;
    ScriptedMessageService m_messages;
    MediaListCommands* m_lists = nullptr;
    LendingCommands* m_lendings = nullptr;

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->filePath(QStringLiteral("daten")));
        QVERIFY(m_state);
        m_messages = ScriptedMessageService();
        m_hints = std::make_unique<HintFilter>();
        m_main = std::make_unique<TMain>(*m_state, *m_hints);
        m_lists = new MediaListCommands(*m_main, m_messages);
        m_lendings = new LendingCommands(*m_main, m_messages);
        m_lists->lendCarrier = [this](int n) { m_lendings->lendCarrier(n); };
        m_lists->returnCarrier = [this](int n) { m_lendings->returnCarrier(n); };
        m_lists->install();
        m_lendings->install();
        addCarrier(m_state->db, CarrierSpec(1, QStringLiteral("Abba")));
        addCarrier(m_state->db, CarrierSpec(2, QStringLiteral("Beatles")));
        BorrowerRecord b;
        b.name1 = QStringLiteral("Erika");
        borrowers::save(m_state->db, b);
    }
    void cleanup() {
        m_main.reset();
        m_state.reset();
    }

    void refusals_data() {
        QTest::addColumn<bool>("lend");
        QTest::addColumn<double>("status");
        QTest::addColumn<int>("help");
        QTest::newRow("lend a lent carrier") << true << -1.0 << 31007;
        QTest::newRow("return a carrier not lent") << false << 1.0 << 31008;
    }
    void refusals() {
        QFETCH(bool, lend);
        QFETCH(double, status);
        QFETCH(int, help);
        m_state->db.exec(QStringLiteral("UPDATE \"MUSIKKOP\" SET \"Status\" = %1").arg(status));
        if (lend)
            m_lendings->lendCarrier(1);
        else
            m_lendings->returnCarrier(1);
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages()[0].helpContext, help);
        QCOMPARE(m_messages.messages()[0].kind, MessageKind::Error);
    }

    // The list and a search result both re-read after a lend from the list.
    void everyListRereads() {
        THeadBrowseWindow* all = m_lists->openList();
        THeadBrowseWindow* found =
            m_lists->openSearchResult(1, medialist::Filter{QStringLiteral("1 = 1"), {}});
        QVERIFY(all && found);
        QCOMPARE(found->model()->rowCount(), 2);
        addCarrier(m_state->db, CarrierSpec(3, QStringLiteral("Cream")));
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<TVwLendDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->OkButtonClick();
        });
        m_lendings->lendCarrier(1);
        QCOMPARE(lending::carrierStatus(m_state->db, 1), std::optional<double>(-1));
        QTRY_COMPARE(all->model()->rowCount(), 3);
        QTRY_COMPARE(found->model()->rowCount(), 3);
    }
};

QTEST_MAIN(TestLendingCommands)
#include "tst_lendingcommands.moc"
