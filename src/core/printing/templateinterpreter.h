#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

// What a name of a print template yields: its text and, for text fields, the width that
// "&" and "%" pad to. Numbers carry their own width and are never padded (width 0).
struct TemplateValue {
    QString text;
    int width = 0;
};

// Maps the names of one report's templates to values. Several resolvers are asked in
// turn; a name none of them knows prints as itself.
class TemplateNames {
public:
    virtual ~TemplateNames() = default;
    virtual std::optional<TemplateValue> resolve(const QString& name) const = 0;
};

// The formats of template values, the same in every report and every locale.
namespace templateformat {
QString integer(double value);
QString integer(double value, int width);            // right-aligned in at least width characters
QString fixed72(double value);                       // " 12.50": width 7, two decimals, a point
QString text(double value);                          // German shortest form
QString integer(const std::optional<double>& value); // an empty field counts as 0
QString integer(const std::optional<double>& value, int width);
QString fixed72(const std::optional<double>& value);
QString text(const std::optional<double>& value);
QString text(const QDate& date); // short date; empty for no date
} // namespace templateformat

// The names every template report knows: style codes, today's date, the page number.
class StandardTemplateNames : public TemplateNames {
public:
    explicit StandardTemplateNames(std::function<int()> pageNumber, QDate today = QDate())
        : m_pageNumber(std::move(pageNumber)), m_today(today) {}
    std::optional<TemplateValue> resolve(const QString& name) const override;

private:
    std::function<int()> m_pageNumber;
    QDate m_today;
};

// Reads a template part character by character and writes its lines. Knows neither the
// database nor the page printer: lines go to writeLine, the page-break test runs from
// afterLineEnd, and abortRequested is asked before every character.
class TemplateInterpreter {
public:
    enum class Result { Done, Aborted };

    std::function<void(const QString& line)> writeLine;
    std::function<bool()> abortRequested;

    void setNames(std::vector<const TemplateNames*> names) { m_names = std::move(names); }

    // afterLineEnd runs after every line a carriage return ended (the page part's test).
    Result run(const QString& part, const std::function<void()>& afterLineEnd = {}) const;

    // The number of lines of a part as page breaking counts them: carriage returns + 1.
    static int lineCount(const QString& part);

private:
    QString valueOf(const QString& name, QChar sigil) const;
    std::vector<const TemplateNames*> m_names;
};
