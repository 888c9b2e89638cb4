#include "templateinterpreter.h"

#include "core/common/germanformat.h"

namespace templateformat {

QString integer(double value) {
    return QString::number(qRound64(value));
}

QString integer(double value, int width) {
    return integer(value).rightJustified(width, QLatin1Char(' '));
}

QString fixed72(double value) {
    // QString::number never uses the locale, so the separator is a point everywhere.
    return QString::number(value, 'f', 2).rightJustified(7, QLatin1Char(' '));
}

QString text(double value) {
    return germanformat::formatNumber(value);
}

QString integer(const std::optional<double>& value) {
    return integer(value.value_or(0));
}
QString integer(const std::optional<double>& value, int width) {
    return integer(value.value_or(0), width);
}
QString fixed72(const std::optional<double>& value) {
    return fixed72(value.value_or(0));
}
QString text(const std::optional<double>& value) {
    return text(value.value_or(0));
}
QString text(const QDate& date) {
    return germanformat::formatDate(date);
}

} // namespace templateformat

std::optional<TemplateValue> StandardTemplateNames::resolve(const QString& name) const {
    if (name.size() == 1 && QStringLiteral("FKUN").contains(name))
        return TemplateValue{QLatin1Char('%') + name + QLatin1Char('%')};
    if (name == QLatin1String("SYSDATUM"))
        return TemplateValue{
            templateformat::text(m_today.isValid() ? m_today : QDate::currentDate())};
    if (name == QLatin1String("SYSSEITE"))
        return TemplateValue{QString::number(m_pageNumber ? m_pageNumber() : 0)};
    return std::nullopt;
}

int TemplateInterpreter::lineCount(const QString& part) {
    return int(part.count(QLatin1Char('\r'))) + 1;
}

QString TemplateInterpreter::valueOf(const QString& name, QChar sigil) const {
    for (const TemplateNames* names : m_names) {
        const std::optional<TemplateValue> value = names->resolve(name);
        if (!value)
            continue;
        if (sigil == QLatin1Char('$') || value->width <= 0 || value->text.size() > value->width)
            return value->text;
        const QString blanks(value->width + 1 - value->text.size(), QLatin1Char(' '));
        return sigil == QLatin1Char('&') ? value->text + blanks : blanks + value->text;
    }
    return name;
}

TemplateInterpreter::Result
TemplateInterpreter::run(const QString& part, const std::function<void()>& afterLineEnd) const {
    auto isSigil = [](QChar c) {
        return c == QLatin1Char('$') || c == QLatin1Char('&') || c == QLatin1Char('%');
    };
    QString line;
    const qsizetype size = part.size();
    qsizetype i = 0;
    while (i < size) {
        if (abortRequested && abortRequested())
            return Result::Aborted;
        const QChar c = part[i];
        if (c == QLatin1Char('\n')) {
            ++i;
        } else if (c == QLatin1Char('\r')) {
            ++i;
            writeLine(line);
            line.clear();
            if (afterLineEnd)
                afterLineEnd();
        } else if (c == QLatin1Char('$') && i + 1 < size && part[i + 1] == QLatin1Char('$')) {
            line += QLatin1Char('$');
            i += 2;
        } else if (isSigil(c)) {
            qsizetype end = i + 1;
            while (end < size && !isSigil(part[end]) && part[end] != QLatin1Char('\r')) {
                if (abortRequested && abortRequested())
                    return Result::Aborted;
                ++end;
            }
            line += valueOf(part.mid(i + 1, end - i - 1), c);
            i = end < size ? end + 1 : end; // the closing character is consumed
        } else {
            line += c;
            ++i;
        }
    }
    const bool endsWithBreak =
        size > 0 && (part.back() == QLatin1Char('\r') || part.back() == QLatin1Char('\n'));
    if (!line.isEmpty() || endsWithBreak)
        writeLine(line);
    return Result::Done;
}
