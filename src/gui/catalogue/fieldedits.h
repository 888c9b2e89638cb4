#pragma once

#include <QDate>
#include <QLineEdit>
#include <optional>

class QCalendarWidget;
class QToolButton;

// A whole number of at most `digits` characters; empty reads as nothing.
class NumberEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberEdit(int digits, bool negative = true, QWidget* parent = nullptr);
    void setNumber(const std::optional<double>& value);
    std::optional<double> number() const;
};

// A song's side of at most seven digits, or a letter as collectors name sides (A = 1,
// B = 2, ..., either case); leaving the field shows the letter's number.
class SideEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit SideEdit(QWidget* parent = nullptr);
    void setNumber(const std::optional<double>& value);
    std::optional<double> number() const; // nothing for an empty field

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

// A playing time, "3,45"; typed with a comma, a point or a colon, up to "###.##".
class LaufzeitEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit LaufzeitEdit(QWidget* parent = nullptr);
    void setValue(const std::optional<double>& value);
    double value() const; // an empty field counts as 0
};

// A money amount shown "1.234,56"; typed with comma or point.
class MoneyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MoneyEdit(QWidget* parent = nullptr);
    void setValue(const std::optional<double>& value);
    std::optional<double> value() const; // nothing for an unreadable text
    static std::optional<double> parse(const QString& text);

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

// A date "dd.MM.yyyy" that may be empty, with a drop-down calendar in German.
class TDateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDateEdit(QWidget* parent = nullptr);
    void setDate(const QDate& date);
    // A null date for an empty field, nothing for a text that is no date.
    std::optional<QDate> date() const;
    void showCalendar();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolButton* m_button;
};
