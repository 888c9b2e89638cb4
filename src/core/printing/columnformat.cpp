#include "columnformat.h"

#include "core/common/germanformat.h"

#include <QFileInfo>
#include <cmath>
#include <functional>

namespace columnformat {

QList<Token> parse(QStringView format, QChar separator, double defaultWidth) {
    QList<Token> tokens;
    if (format.isEmpty()) {
        tokens.append({QLatin1Char('<'), std::abs(defaultWidth), defaultWidth >= 0});
        return tokens;
    }
    for (QStringView raw : format.split(separator)) {
        Token t;
        QStringView rest = raw.trimmed();
        if (!rest.isEmpty() &&
            (rest.front() == QLatin1Char('<') || rest.front() == QLatin1Char('>') ||
             rest.front() == QLatin1Char('^'))) {
            t.alignment = rest.front();
            rest = rest.mid(1);
        }
        double width = defaultWidth;
        if (!rest.isEmpty()) {
            if (const auto parsed = germanformat::parseNumber(rest.toString()))
                width = *parsed;
        }
        t.boxed = width >= 0;
        t.width = std::abs(width);
        tokens.append(t);
    }
    return tokens;
}

namespace {
QString join(const QList<Token>& tokens, QChar separator,
             const std::function<double(double)>& convert) {
    QStringList parts;
    for (const Token& t : tokens)
        parts.append(t.alignment +
                     germanformat::formatNumber(convert(t.boxed ? t.width : -t.width)));
    return parts.join(separator);
}
} // namespace

QString normalise(QStringView format, QChar separator, double defaultWidth) {
    if (format.isEmpty())
        return {};
    return join(parse(format, separator, defaultWidth), separator, [](double w) { return w; });
}

QString convertWidths(QStringView format, QChar separator, double defaultWidth,
                      bool toMillimetres) {
    if (format.isEmpty())
        return {};
    return join(parse(format, separator, defaultWidth), separator,
                [toMillimetres](double w) { return toMillimetres ? w * 25.4 : w / 25.4; });
}

QStringList splitRow(const QString& row, QChar separator) {
    return row.split(separator);
}

Friendly translateFriendly(QStringView text, QChar separator, double totalWidth,
                           const FriendlyValues& values) {
    const QLocale& german = germanformat::locale();
    QString row;
    QList<QChar> alignments;
    auto value = [&](QChar code) -> QString {
        switch (code.unicode()) {
        case '&':
            return QStringLiteral("&");
        case 'D':
            return german.toString(values.now.date(), QLocale::LongFormat);
        case 'd':
            return germanformat::formatDate(values.now.date());
        case 'T':
            return german.toString(values.now.time(), QLocale::LongFormat);
        case 't':
            return german.toString(values.now.time(), QLocale::ShortFormat);
        case 'F':
            return values.fileName;
        case 'f':
            return QFileInfo(values.fileName).fileName();
        case 'i':
            return QStringLiteral("{$TITLE}");
        case 'p':
            return QStringLiteral("{$PAGE}");
        default:
            return QStringLiteral(" ");
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('&') || i + 1 >= text.size()) {
            row += c;
            continue;
        }
        const QChar code = text[++i];
        if (code == QLatin1Char('l') || code == QLatin1Char('c') || code == QLatin1Char('r')) {
            if (!row.isEmpty() || !alignments.isEmpty()) {
                if (alignments.isEmpty())
                    alignments.append(QLatin1Char('<')); // the text before the first column code
                row += separator;
            }
            alignments.append(code == QLatin1Char('l')   ? QLatin1Char('<')
                              : code == QLatin1Char('c') ? QLatin1Char('^')
                                                         : QLatin1Char('>'));
            continue;
        }
        const QString v = value(code);
        row += v.isEmpty() ? QStringLiteral(" ") : v;
    }
    if (alignments.isEmpty())
        alignments.append(QLatin1Char('<'));
    const double width = totalWidth / double(alignments.size());
    QStringList tokens;
    for (QChar a : alignments)
        tokens.append(a + german.toString(width, 'f', 2).remove(german.groupSeparator()).trimmed());
    return {row, tokens.join(separator)};
}

} // namespace columnformat
