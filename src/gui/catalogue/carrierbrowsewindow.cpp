#include "carrierbrowsewindow.h"

#include "core/catalogue/carrierdelete.h"
#include "core/catalogue/countedtablemodel.h"
#include "core/common/messageservice.h"
#include "core/shell/appstate.h"
#include "gui/shell/columnwidths.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/waitcursor.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

CarrierBrowseWindow::CarrierBrowseWindow(TMain& main, MessageService& messages, int helpContext,
                                         QWidget* parent)
    : QWidget(parent), m_main(main), m_state(main.state()), m_messages(messages),
      m_helpContext(helpContext) {
    setProperty("helpContext", helpContext);
    connect(&m_state.db.notifier(), &ChangeNotifier::changed, this, [this](Change what, int) {
        if (changesCarrierViews(what))
            scheduleReread();
    });
}

void CarrierBrowseWindow::scheduleReread() {
    // One re-read for a burst of notices (an import announces every carrier).
    if (m_rereadPending)
        return;
    m_rereadPending = true;
    QTimer::singleShot(0, this, [this] {
        m_rereadPending = false;
        if (m_rowsOpen)
            reread();
    });
}

CarrierBrowseWindow::~CarrierBrowseWindow() {
    delete m_menu;
}

void CarrierBrowseWindow::createTabs(bool endTabs) {
    m_tabs = new QTabBar(this);
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(true);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    if (endTabs)
        m_tabs->addTab(QStringLiteral("<"));
    m_firstInitialTab = m_tabs->count();
    for (char c = '0'; c <= '9'; ++c)
        m_tabs->addTab(QString(QLatin1Char(c)));
    for (char c = 'A'; c <= 'Z'; ++c)
        m_tabs->addTab(QString(QLatin1Char(c)));
    m_lastInitialTab = m_tabs->count() - 1;
    if (endTabs)
        m_tabs->addTab(QStringLiteral(">"));
    connect(m_tabs, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index < 0)
            return;
        jumpTo(m_tabs->tabText(index).at(0));
        // The click marks its own tab after this; the tab of the row reached must win.
        QTimer::singleShot(0, this, [this] { currentChanged(); });
    });
}

void CarrierBrowseWindow::createGrid(QAbstractItemModel* model, const QString& hint) {
    m_grid = new QTableView(this);
    m_grid->setModel(model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setWordWrap(false);
    m_grid->installEventFilter(this);
    if (!hint.isEmpty())
        m_grid->setStatusTip(hint);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { sortByColumn(column); });
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { m_context->popup(m_grid->viewport()->mapToGlobal(p)); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this,
            [this] { m_state.settings.doubleClickChange ? EditClick() : DisplayClick(); });
    auto* contextKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    contextKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(contextKey, &QShortcut::activated, this, [this] {
        const QRect r = m_grid->visualRect(m_grid->currentIndex());
        m_context->popup(
            m_grid->viewport()->mapToGlobal(r.isValid() ? r.center() : QPoint(10, 10)));
    });
}

void CarrierBrowseWindow::createFrame(const Frame& frame) {
    m_minimumColumnWidth = frame.minimumColumnWidth;
    createTabs(frame.endTabs);
    createGrid(frame.model, frame.gridHint);

    auto* navigator = new QHBoxLayout;
    auto navButton = [this, navigator](const QString& text, const QString& hint, auto slot) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(hint);
        b->setStatusTip(hint);
        connect(b, &QToolButton::clicked, this, slot);
        navigator->addWidget(b);
    };
    auto rows = [this] {
        // The last row is only known once the rows are counted.
        if (auto* counted = qobject_cast<CountedTableModel*>(m_grid->model()))
            counted->finishCount();
        return m_grid->model()->rowCount();
    };
    navButton(QStringLiteral("|◀"), QStringLiteral("Dateianfang"), [this] { setCurrentRow(0); });
    navButton(QStringLiteral("◀"), QStringLiteral("Vorheriger Datensatz"),
              [this] { setCurrentRow(qMax(0, currentRow() - 1)); });
    navButton(QStringLiteral("▶"), QStringLiteral("Nächster Datensatz"),
              [this, rows] { setCurrentRow(qMin(rows() - 1, currentRow() + 1)); });
    navButton(QStringLiteral("▶|"), QStringLiteral("Dateiende"),
              [this, rows] { setCurrentRow(rows() - 1); });
    navButton(QStringLiteral("↻"), QStringLiteral("Anzeige aktualisieren"), [this] { reread(); });
    navigator->addSpacing(12);
    m_rowLabel = new QLabel(this);
    navigator->addWidget(m_rowLabel);
    navigator->addStretch();

    auto* buttons = new QVBoxLayout;
    for (const Button& wanted : frame.buttons) {
        auto* b = new QPushButton(wanted.caption, this);
        b->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(b);
        switch (wanted.role) {
        case Button::Command:
            b->setToolTip(wanted.action->statusTip());
            b->setStatusTip(wanted.action->statusTip());
            connect(b, &QPushButton::clicked, wanted.action, &QAction::trigger);
            m_buttons.append({b, wanted.action});
            break;
        case Button::Close:
            b->setStatusTip(QStringLiteral("Fenster schließen"));
            connect(b, &QPushButton::clicked, this, [this] { closeWindow(); });
            break;
        case Button::Help:
            b->setStatusTip(QStringLiteral("Hilfe zu diesem Fenster"));
            connect(b, &QPushButton::clicked, this, [this, help = frame.help] {
                if (help)
                    help(m_helpContext);
            });
            break;
        }
    }
    buttons->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(m_tabs);
    left->addWidget(m_grid, 1);
    left->addLayout(navigator);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    resize(900, 480);
}

bool CarrierBrowseWindow::openRows() {
    WaitCursor wait;
    fieldLabelsChanged();
    try {
        runFirstQuery();
    } catch (const DbError& e) {
        m_messages.error(e.message());
        return false;
    }
    m_rowsOpen = true;
    if (m_grid->model()->rowCount() == 0) {
        m_messages.information(QStringLiteral("Es wurden keine Daten gefunden!"), 40302);
        return false;
    }
    fitColumns(); // now with the first rows
    return true;
}

void CarrierBrowseWindow::fitColumns() {
    columnwidths::fit(*m_grid, m_minimumColumnWidth);
}

int CarrierBrowseWindow::currentRow() const {
    return m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
}

void CarrierBrowseWindow::setCurrentRow(int row) {
    const QAbstractItemModel* model = m_grid->model();
    if (row < 0 || row >= model->rowCount())
        return;
    const int column = qMax(0, m_grid->currentIndex().column());
    m_grid->setCurrentIndex(model->index(row, column));
    m_grid->scrollTo(model->index(row, column));
    updateRowLabel();
}

void CarrierBrowseWindow::updateRowLabel() {
    const int row = currentRow();
    const QAbstractItemModel* model = m_grid->model();
    // A model still fetching rows is still counting them.
    const QString count = model->canFetchMore({}) ? QStringLiteral("...")
                          : row < 0               ? QStringLiteral("0")
                                                  : QString::number(model->rowCount());
    m_rowLabel->setText(
        QStringLiteral("Datensatz %1 von %2").arg(row < 0 ? 0 : row + 1).arg(count));
}

void CarrierBrowseWindow::showInitial(const QString& initial) {
    updateRowLabel();
    const QSignalBlocker block(m_tabs);
    for (int i = m_firstInitialTab; i <= m_lastInitialTab; ++i) {
        if (m_tabs->tabText(i) == initial) {
            m_tabs->setCurrentIndex(i);
            break;
        }
    }
}

void CarrierBrowseWindow::updateButtons() {
    for (const auto& [b, a] : std::as_const(m_buttons))
        b->setEnabled(a->isEnabled());
}

int CarrierBrowseWindow::checkedCarrier() {
    const int carrier = currentCarrier();
    if (carrier == 0)
        return 0;
    try {
        if (carrierdelete::describe(m_state.db, carrier))
            return carrier;
    } catch (const DbError& e) {
        m_messages.error(e.message());
        return 0;
    }
    m_messages.information(QStringLiteral("Der Tonträger ist nicht mehr vorhanden."), 31001);
    reread();
    return 0;
}

bool CarrierBrowseWindow::beginJump() {
    if (m_jumping || m_grid->model()->rowCount() == 0)
        return false;
    m_jumping = true;
    m_tabs->setEnabled(false);
    m_grid->setUpdatesEnabled(false);
    return true;
}

void CarrierBrowseWindow::endJump(int targetRow) {
    setCurrentRow(targetRow);
    m_grid->setUpdatesEnabled(true);
    m_tabs->setEnabled(true);
    m_jumping = false;
    currentChanged();
}

void CarrierBrowseWindow::closeWindow() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

bool CarrierBrowseWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            key->accept();
            EditClick();
            return true;
        }
        const QString text = key->text();
        if ((key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::ShiftModifier) &&
            text.size() == 1 && text.at(0).isLetterOrNumber()) {
            key->accept();
            jumpTo(text.at(0).toUpper());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CarrierBrowseWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        closeWindow();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CarrierBrowseWindow::closeEvent(QCloseEvent* event) {
    m_menu->hide();
    event->accept();
}
