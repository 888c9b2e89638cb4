#include "searchcondition.h"

#include "cataloguetexts.h"
#include "core/common/germanformat.h"
#include "core/common/laufzeit.h"
#include "songside.h"

#include <QRegularExpression>

namespace search {
namespace {

QString withoutBlanks(const QString& typed) {
    QString s = typed;
    s.remove(QLatin1Char(' '));
    s.remove(QLatin1Char('_')); // the mask's free places, when a caller passes the display text
    return s;
}

WrittenValue writeClassValue(ValueClass valueClass, const QString& typed) {
    switch (valueClass) {
    case ValueClass::Text:
        return {typed, {}};
    case ValueClass::Whole: {
        const QString s = withoutBlanks(typed);
        if (s.isEmpty())
            return {QStringLiteral("0"), {}};
        static const QRegularExpression whole(QStringLiteral("^[0-9]{1,7}$"));
        if (!whole.match(s).hasMatch())
            return {{},
                    QStringLiteral("\"%1\" ist keine ganze Zahl mit höchstens sieben "
                                   "Ziffern.")
                        .arg(typed.trimmed())};
        return {s, {}};
    }
    case ValueClass::Decimal: {
        QString s = withoutBlanks(typed);
        s.replace(QLatin1Char(','), QLatin1Char('.'));
        if (s.isEmpty())
            return {QStringLiteral("0"), {}};
        if (s == QLatin1String("."))
            return {QStringLiteral("0.0"), {}};
        static const QRegularExpression decimal(
            QStringLiteral("^([0-9]{1,5}(\\.[0-9]{0,2})?|\\.[0-9]{1,2})$"));
        if (!decimal.match(s).hasMatch())
            return {{},
                    QStringLiteral("\"%1\" ist keine Zahl mit höchstens fünf Stellen vor "
                                   "und zwei nach dem Komma.")
                        .arg(typed.trimmed())};
        return {s, {}};
    }
    case ValueClass::Date: {
        const QString s = withoutBlanks(typed);
        if (s.isEmpty() || s == QLatin1String(".."))
            return {QStringLiteral("01.01.1900"), {}};
        static const QRegularExpression date(
            QStringLiteral("^[0-9]{1,2}\\.[0-9]{1,2}\\.[0-9]{4}$"));
        const QDate d = germanformat::parseDate(s);
        if (!date.match(s).hasMatch() || !d.isValid())
            return {{},
                    QStringLiteral("\"%1\" ist kein gültiges Datum. Bitte das Datum als "
                                   "TT.MM.JJJJ eingeben.")
                        .arg(typed.trimmed())};
        return {germanformat::formatDate(d), {}};
    }
    }
    return {typed, {}};
}

// "4:35" as written on a sleeve, checked as the entry window checks a playing time.
std::optional<WrittenValue> writeMinutesSeconds(Typing typing, const QString& typed) {
    const QString s = withoutBlanks(typed);
    static const QRegularExpression minutesSeconds(QStringLiteral("^[0-9]{1,5}:[0-9]{1,2}$"));
    if (!minutesSeconds.match(s).hasMatch())
        return std::nullopt;
    const std::optional<double> value = laufzeit::parse(s);
    if (!value)
        return std::nullopt;
    if (!laufzeit::isValid(*value))
        return WrittenValue{{},
                            typing == Typing::TotalTime ? cataloguetexts::kTotalTimeSeconds
                                                        : cataloguetexts::kSongTimeSeconds};
    return WrittenValue{laufzeit::format(*value).replace(QLatin1Char(','), QLatin1Char('.')), {}};
}

} // namespace

WrittenValue writeValue(const Field& field, const QString& typed) {
    switch (field.typing) {
    case Typing::TotalTime:
    case Typing::SongTime:
        if (const auto written = writeMinutesSeconds(field.typing, typed))
            return *written;
        break;
    case Typing::Side: {
        if (const auto side = songside::fromLetter(typed))
            return {QString::number(*side), {}};
        const WrittenValue written = writeClassValue(field.valueClass, typed);
        if (!written.error.isEmpty())
            return {{},
                    QStringLiteral("\"%1\" ist weder eine ganze Zahl mit höchstens sieben "
                                   "Ziffern noch ein Buchstabe von A bis Z.")
                        .arg(typed.trimmed())};
        return written;
    }
    case Typing::Plain:
        break;
    }
    return writeClassValue(field.valueClass, typed);
}

std::optional<std::vector<Condition>> parseConditions(Kind kind, const QStringList& arguments,
                                                      QString* error) {
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return std::nullopt;
    };
    std::vector<Condition> conditions;
    Connector pending = Connector::None;
    bool connectorGiven = false;
    for (const QString& argument : arguments) {
        if (argument.compare(QLatin1String("UND"), Qt::CaseInsensitive) == 0 ||
            argument.compare(QLatin1String("ODER"), Qt::CaseInsensitive) == 0) {
            if (conditions.empty() || connectorGiven)
                return fail(QStringLiteral("\"%1\" muss zwischen zwei Bedingungen stehen.")
                                .arg(argument.toUpper()));
            pending = argument.compare(QLatin1String("UND"), Qt::CaseInsensitive) == 0
                          ? Connector::And
                          : Connector::Or;
            connectorGiven = true;
            continue;
        }
        const qsizetype first = argument.indexOf(QLatin1Char(':'));
        const qsizetype second = first < 0 ? -1 : argument.indexOf(QLatin1Char(':'), first + 1);
        if (second < 0)
            return fail(QStringLiteral("Die Bedingung \"%1\" hat nicht die Form "
                                       "FELD:VERGLEICH:WERT.")
                            .arg(argument));
        const QString name = argument.left(first);
        const QString op = argument.mid(first + 1, second - first - 1);
        const Field* field = findField(kind, name);
        if (!field) {
            QStringList names;
            for (const Field& f : fields(kind))
                names.append(f.name);
            return fail(QStringLiteral("Unbekanntes Feld \"%1\". Gültige Felder: %2.")
                            .arg(name, names.join(QStringLiteral(", "))));
        }
        if (!operators(field->valueClass).contains(op))
            return fail(
                QStringLiteral("Der Vergleich \"%1\" ist für das Feld \"%2\" nicht "
                               "möglich. Möglich sind: %3.")
                    .arg(op, field->name, operators(field->valueClass).join(QStringLiteral(" "))));
        const WrittenValue written = writeValue(*field, argument.mid(second + 1));
        if (!written.error.isEmpty())
            return fail(field->name + QStringLiteral(": ") + written.error);
        Condition c;
        c.connector =
            conditions.empty() ? Connector::None : (connectorGiven ? pending : Connector::And);
        c.field = field->name;
        c.op = op;
        c.value = written.value;
        c.valueClass = field->valueClass;
        conditions.push_back(c);
        connectorGiven = false;
    }
    if (connectorGiven)
        return fail(
            QStringLiteral("Nach \"%1\" fehlt eine Bedingung.")
                .arg(pending == Connector::And ? QStringLiteral("UND") : QStringLiteral("ODER")));
    if (conditions.empty())
        return fail(QStringLiteral("Es fehlt eine Bedingung (FELD:VERGLEICH:WERT)."));
    return conditions;
}

QString conditionLine(const Condition& condition, const QString& shownName) {
    QString line;
    if (condition.connector == Connector::And)
        line = QStringLiteral("UND ");
    else if (condition.connector == Connector::Or)
        line = QStringLiteral("ODER ");
    const QString value = condition.valueClass == ValueClass::Text
                              ? QLatin1Char('\'') + condition.value + QLatin1Char('\'')
                              : condition.value;
    return line + shownName + QLatin1Char(' ') + condition.op + QLatin1Char(' ') + value;
}

QString ConditionList::add(const Field& field, const QString& shownName, const QString& op,
                           const QString& typed, Connector connector) {
    const WrittenValue written = writeValue(field, typed);
    if (!written.error.isEmpty())
        return written.error;
    Condition c;
    c.connector = m_conditions.empty() ? Connector::None : connector;
    c.field = field.name;
    c.op = op;
    c.value = written.value;
    c.valueClass = field.valueClass;
    m_conditions.push_back(c);
    m_shownNames.append(shownName);
    return {};
}

void ConditionList::remove(int index) {
    if (index < 0 || index >= size())
        return;
    m_conditions.erase(m_conditions.begin() + index);
    m_shownNames.removeAt(index);
    if (!m_conditions.empty())
        m_conditions.front().connector = Connector::None;
}

void ConditionList::clear() {
    m_conditions.clear();
    m_shownNames.clear();
}

QStringList ConditionList::visibleLines() const {
    QStringList lines;
    for (int i = 0; i < size(); ++i)
        lines.append(conditionLine(m_conditions[size_t(i)], m_shownNames[i]));
    return lines;
}

QStringList ConditionList::hiddenLines() const {
    QStringList lines;
    for (const Condition& c : m_conditions)
        lines.append(conditionLine(c, c.field));
    return lines;
}

} // namespace search
