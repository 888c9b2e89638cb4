#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QWidget>

// A seven-segment display on grey: a number of digits, with a colon before the last two
// when it shows a time.
class TLedDisplay : public QWidget {
    Q_OBJECT
public:
    // digits: 3 for a track number, 5 for a time (minutes and seconds).
    TLedDisplay(int digits, bool time, QWidget* parent = nullptr);

    void setNumber(int number);
    void setSeconds(qint64 seconds);
    void zero();
    void setColor(const QColor& color);

    // What the display shows, "007" or "003:25".
    QString text() const { return m_text; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const int m_digits;
    const bool m_time;
    QString m_text;
    QColor m_color = Qt::black;
};

// A silver push button with an LED-style caption; switched on, it lights up.
class TLedButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit TLedButton(const QString& caption, QWidget* parent = nullptr);

    void setSwitchedOn(bool on);
    bool isSwitchedOn() const { return m_on; }
    void setColor(const QColor& color);
    QColor color() const { return m_color; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_on = false;
    QColor m_color = Qt::black;
};

// A colour number as the settings store it: red in the lowest byte.
QColor colorFromNumber(int number);
