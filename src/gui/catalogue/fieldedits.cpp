#include "fieldedits.h"

#include "core/catalogue/songside.h"
#include "core/common/germanformat.h"
#include "core/common/laufzeit.h"

#include <QCalendarWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

NumberEdit::NumberEdit(int digits, bool negative, QWidget* parent) : QLineEdit(parent) {
    setMaxLength(digits);
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("%1\\d*").arg(
                                            negative ? QLatin1String("-?") : QLatin1String())),
                                        this));
}

void NumberEdit::setNumber(const std::optional<double>& value) {
    setText(value ? QString::number(qint64(*value)) : QString());
}

std::optional<double> NumberEdit::number() const {
    bool ok = false;
    const qint64 v = text().toLongLong(&ok);
    return ok ? std::optional<double>(double(v)) : std::nullopt;
}

SideEdit::SideEdit(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(7);
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*|[A-Za-z]")), this));
}

void SideEdit::setNumber(const std::optional<double>& value) {
    setText(value ? QString::number(qint64(*value)) : QString());
}

std::optional<double> SideEdit::number() const {
    if (const auto side = songside::fromLetter(text()))
        return double(*side);
    bool ok = false;
    const qint64 v = text().toLongLong(&ok);
    return ok ? std::optional<double>(double(v)) : std::nullopt;
}

void SideEdit::focusOutEvent(QFocusEvent* event) {
    if (songside::fromLetter(text()))
        setNumber(number());
    QLineEdit::focusOutEvent(event);
}

LaufzeitEdit::LaufzeitEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,3}([.,:]\\d{0,2})?")), this));
}

void LaufzeitEdit::setValue(const std::optional<double>& value) {
    setText(laufzeit::format(value.value_or(0)));
}

double LaufzeitEdit::value() const {
    return laufzeit::parse(text()).value_or(0);
}

MoneyEdit::MoneyEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?[\\d.]{0,13}(,\\d{0,2})?|-?\\d{0,12}\\.\\d{0,2}")),
        this));
}

std::optional<double> MoneyEdit::parse(const QString& input) {
    QString text = input.trimmed();
    if (text.isEmpty())
        return 0.0;
    if (text.contains(QLatin1Char(','))) {
        text.remove(QLatin1Char('.'));
    } else {
        // A single point before at most two digits is a decimal point, else it groups.
        const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0 && (text.count(QLatin1Char('.')) > 1 || text.size() - dot - 1 == 3))
            text.remove(QLatin1Char('.'));
    }
    return germanformat::parseNumber(text);
}

void MoneyEdit::setValue(const std::optional<double>& value) {
    setText(germanformat::locale().toString(value.value_or(0), 'f', 2));
}

std::optional<double> MoneyEdit::value() const {
    return parse(text());
}

void MoneyEdit::focusOutEvent(QFocusEvent* event) {
    if (const auto v = value())
        setValue(v);
    QLineEdit::focusOutEvent(event);
}

namespace {

// The calendar with German day abbreviations "Mo" to "So" above it.
class CalendarPopup : public QWidget {
public:
    CalendarPopup(const QDate& date, std::function<void(const QDate&)> chosen, QWidget* parent)
        : QWidget(parent, Qt::Popup) {
        setAttribute(Qt::WA_DeleteOnClose);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(2, 2, 2, 2);
        auto* calendar = new QCalendarWidget(this);
        calendar->setLocale(QLocale(QLocale::German, QLocale::Germany));
        calendar->setFirstDayOfWeek(Qt::Monday);
        calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        calendar->setHorizontalHeaderFormat(QCalendarWidget::NoHorizontalHeader);
        calendar->setGridVisible(false);
        calendar->setSelectedDate(date.isValid() ? date : QDate::currentDate());
        auto* days = new QWidget(this);
        auto* dayRow = new QHBoxLayout(days);
        dayRow->setContentsMargins(0, 0, 0, 0);
        for (const char* d : {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"}) {
            auto* label = new QLabel(QString::fromLatin1(d), days);
            label->setAlignment(Qt::AlignCenter);
            dayRow->addWidget(label);
        }
        layout->addWidget(days);
        layout->addWidget(calendar);
        auto pick = [this, chosen](const QDate& d) {
            chosen(d);
            close();
        };
        connect(calendar, &QCalendarWidget::activated, this, pick);
        connect(calendar, &QCalendarWidget::clicked, this, pick);
        calendar->setFocus();
    }
};

} // namespace

TDateEdit::TDateEdit(QWidget* parent) : QLineEdit(parent), m_button(new QToolButton(this)) {
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,2}(\\.[0-9]{0,2}(\\.[0-9]{0,4})?)?")), this));
    m_button->setArrowType(Qt::DownArrow);
    m_button->setCursor(Qt::ArrowCursor);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setToolTip(QStringLiteral("Kalender öffnen (Alt+Cursor unten)"));
    setTextMargins(0, 0, 18, 0);
    connect(m_button, &QToolButton::clicked, this, &TDateEdit::showCalendar);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 1, 0);
    layout->addStretch();
    layout->addWidget(m_button);
    m_button->setFixedWidth(18);
}

void TDateEdit::setDate(const QDate& date) {
    setText(germanformat::formatDate(date));
}

std::optional<QDate> TDateEdit::date() const {
    if (text().trimmed().isEmpty())
        return QDate();
    const QDate d = germanformat::parseDate(text().trimmed());
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

void TDateEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Down && event->modifiers() & Qt::AltModifier) {
        showCalendar();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDateEdit::showCalendar() {
    auto* popup = new CalendarPopup(
        germanformat::parseDate(text()),
        [this](const QDate& d) {
            setDate(d);
            setFocus();
        },
        this);
    popup->adjustSize();
    popup->move(mapToGlobal(QPoint(0, height())));
    popup->show();
}
