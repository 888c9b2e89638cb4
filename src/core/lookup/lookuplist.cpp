#include "lookuplist.h"

#include "core/common/messageservice.h"
#include "core/printing/fontchoice.h"
#include "core/printing/pageprinter.h"
#include "core/printing/reportsetup.h"
#include "core/settings/settings.h"
#include "currencystore.h"
#include "lookupkinds.h"

#include <cmath>

namespace lookuplist {

int roundedWidth(double width) {
    // The current rounding mode rounds halves to the even neighbour.
    return int(std::nearbyint(width));
}

namespace {

void setUp(TPagePrinter& printer, int kind, const QString& fontName, int fontSize) {
    reportsetup::resetForReport(printer);
    printer.setMarginLeft(20);
    printer.setMarginTop(20);
    printer.setMarginBottom(10);
    QFont font(fontName);
    font.setPointSize(fontSize);
    printer.setFont(font);
    QFont bold = font;
    bold.setBold(true);
    printer.setAutoHeaderFont(false);
    printer.setAutoFooterFont(false);
    printer.setHeaderFont(bold);
    printer.setFooterFont(bold);
    printer.setTitle(lookup::kindInfo(kind).printTitle);

    const double w = printer.PrintAreaWidth() - printer.MarginLeft() - printer.MarginRight();
    const int half = roundedWidth(w / 2);
    printer.setHeader(QStringLiteral("{$TITLE}   per {$DATE}|Seite {$PAGE}"));
    printer.setHeaderFormat(QString::asprintf("<%3d|>%3d", half, half));
    printer.setFooter(QString());
    printer.setFooterFormat(QString());
    if (kind == lookup::kCurrencies) {
        const int b = roundedWidth(w / 5);
        printer.setTableFormat(QString::asprintf("<%3d|<%3d|<%3d", b, 3 * b, b));
    } else {
        const int q = roundedWidth(w / 4);
        printer.setTableFormat(QString::asprintf("<%3d|<%3d", q, 3 * q));
    }
}

QString factorText(const OptNumber& factor) {
    QString text = QString::asprintf("%5.2f", factor.value_or(0));
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

} // namespace

Outcome compose(TPagePrinter& printer, Database& db, int kind, const QString& fontName,
                int fontSize, const RowCallback& afterRow) {
    setUp(printer, kind, fontName, fontSize);
    QStringList rows;
    if (kind == lookup::kCurrencies) {
        const Settings noSettings;
        for (const CurrencyRecord& c : CurrencyStore(db, noSettings).list())
            rows.append(c.currency + QLatin1Char('|') + c.currencyLong + QLatin1Char('|') +
                        factorText(c.factor));
    } else {
        for (const LookupRecord& r : LookupStore(db, kind).listByKey())
            rows.append(r.kurzbezeichnung + QLatin1Char('|') + r.langbezeichnung);
    }
    printer.StartDocument();
    for (const QString& row : std::as_const(rows)) {
        printer.WriteColumns(row);
        if (afterRow && !afterRow(printer.PageNumber())) {
            printer.FinishDocument();
            return Outcome::Stopped;
        }
    }
    printer.FinishDocument();
    return Outcome::Completed;
}

ReportStatus composeReport(ReportContext& context) {
    if (context.arguments.size() != 1)
        return ReportStatus::BadArguments;
    const int kind = lookup::parseKind(context.arguments.first());
    if (kind < 0) {
        context.messages.error(
            QStringLiteral("Eine Tabelle \"%1\" gibt es nicht. Erlaubt sind die Arten 0 bis 7, "
                           "ihre Tabellennamen und \"Currency\".")
                .arg(context.arguments.first()));
        return ReportStatus::Failed;
    }
    const QString font =
        context.options.fontName.isEmpty() ? context.settings.fontName : context.options.fontName;
    const int size = context.options.fontSize > 0
                         ? context.options.fontSize
                         : fontchoice::validSize(context.settings.fontSize, 11);
    compose(context.printer, context.db, kind, font, size);
    return ReportStatus::Composed;
}

} // namespace lookuplist
