#include "coverreport.h"

#include "carrierreader.h"
#include "carrierreport.h"
#include "core/common/messageservice.h"
#include "core/db/recordaccess.h"
#include "fontchoice.h"
#include "pageprinter.h"

#include <algorithm>

namespace coverreport {

Layout layoutFor(Database& db, int mediaType) {
    Layout layout;
    CoverLayoutRecord key;
    key.indexNummer = mediaType;
    const std::optional<CoverLayoutRecord> found =
        mediaType > 0 ? records::find(db, key) : std::nullopt;
    if (!found)
        return layout;
    layout.fontName = found->fontName.isEmpty() ? layout.fontName : found->fontName;
    layout.fontSize = fontchoice::validSize(found->fontGroesse.value_or(0), layout.fontSize);
    layout.linesBefore = std::clamp<int>(found->leerzeilenVor.value_or(0), 0, kMaxEmptyLines);
    layout.linesAfter = std::clamp<int>(found->leerzeilenNach.value_or(0), 0, kMaxEmptyLines);
    return layout;
}

QString timeText(const std::optional<double>& time) {
    if (time.value_or(0) <= 0)
        return {};
    return templateformat::fixed72(time).trimmed();
}

namespace {

// The columns follow the average character width; label, number and time are at least as
// wide as their widest bold cell, so "Nr.:", numbers and times never break.
QString tableFormat(TPagePrinter& p, const CarrierPrintData& data) {
    const double a = p.AverageCharWidth();
    const int insets = 2 * (p.resolutionX() / 300 * 6) + 1;
    int label = p.textWidth(QStringLiteral("Nr.:")), number = 0, time = 0;
    for (const SongRecord& song : data.songs) {
        number = std::max(number, p.textWidth(templateformat::integer(song.nrDesLiedes)));
        time = std::max(time, p.textWidth(timeText(song.laufzeitDesLiedes)));
    }
    auto width = [&](double columns, int pixels) {
        return std::max(columns * a, p.toUnitsX(pixels + insets) + 0.01);
    };
    const Columns c{width(2, label), width(3, number), 20 * a, width(5, time)};
    return QStringLiteral("<%1|>%2|<%3|>%4")
        .arg(c.label, 0, 'f', 3)
        .arg(c.number, 0, 'f', 3)
        .arg(c.text, 0, 'f', 3)
        .arg(c.time, 0, 'f', 3);
}

QString row(const QString& label, const QString& number, const QString& text, const QString& time) {
    return QStringList{label, number, text, time}.join(QLatin1Char('|'));
}

} // namespace

ReportStatus printCover(TPagePrinter& p, Database& db, MessageService& messages,
                        const Layout& layout, int carrierNumber, const ReportProgress& progress) {
    CarrierReader reader(db);
    const std::optional<CarrierPrintData> data = reader.read(carrierNumber);
    if (!data) {
        messages.information(carrierreport::kCarrierGone);
        return ReportStatus::Failed;
    }
    QFont font(layout.fontName);
    font.setPointSize(fontchoice::validSize(layout.fontSize, 6));
    QFont bold = font;
    bold.setBold(true);

    p.setMarginLeft(20);
    p.setMarginTop(0);
    p.setMarginBottom(0);
    p.setFont(font);
    p.setHeaderFont(bold);
    p.setFooterFont(bold);
    p.setHeader(QString());
    p.setFooter(QString());
    p.setHeaderFormat(QString());
    p.setFooterFormat(QString());
    p.setTitle(kTitle);
    p.setFont(bold); // the widths of the bold cells decide
    p.setTableFormat(tableFormat(p, *data));
    p.StartDocument();
    if (progress.pageStarted)
        progress.pageStarted(p.PageNumber());

    const CarrierRecord& carrier = data->carrier;
    for (int i = 0; i < layout.linesBefore; ++i)
        p.NewLine();
    p.WriteText(carrier.gruppeInterpretText1);
    if (carrier.nummerierung != 0)
        p.WriteText(QStringLiteral("                 Nr.: ") +
                    templateformat::integer(carrier.nummerierung));
    p.NewLine();
    p.WriteAlignedLine(carrier.text2);
    for (int i = 0; i < layout.linesAfter; ++i)
        p.NewLine();
    p.setFont(font);

    double side = 0;
    QString interpreter;
    for (const SongRecord& song : data->songs) {
        if (song.seiteDerSchallplatte != side) {
            p.setFont(bold);
            p.WriteAlignedLine(QStringLiteral("Seite   ") +
                               templateformat::integer(song.seiteDerSchallplatte));
            side = song.seiteDerSchallplatte;
        }
        const QString number = templateformat::integer(song.nrDesLiedes);
        const QString time = timeText(song.laufzeitDesLiedes);
        if (song.interpretDesLiedes != interpreter) {
            p.setFont(font);
            p.WriteColumns(row(QStringLiteral("Nr.:"), number, song.interpretDesLiedes, QString()));
            p.setFont(bold);
            p.WriteColumns(row(QString(), QString(), song.titelDesLiedes, time));
            interpreter = song.interpretDesLiedes;
        } else {
            p.setFont(bold);
            p.WriteColumns(row(QStringLiteral("Nr.:"), number, song.titelDesLiedes, time));
        }
        p.setFont(font);
        if (progress.abortRequested && progress.abortRequested()) {
            p.FinishDocument();
            return ReportStatus::Failed;
        }
    }
    p.FinishDocument();
    return ReportStatus::Composed;
}

std::optional<int> carrierMediaType(Database& db, int carrierNumber) {
    const std::vector<CarrierRecord> carrier =
        records::select<CarrierRecord>(db, u"WHERE \"Folgenummer Kopf\" = ?1", {carrierNumber});
    if (carrier.empty())
        return std::nullopt;
    return qRound(carrier.front().artDerSchallplatte);
}

ReportStatus composeCover(ReportContext& context) {
    QStringList arguments = context.arguments;
    QString typeShort;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--type")); at >= 0) {
        if (at + 1 >= arguments.size())
            return ReportStatus::BadArguments;
        typeShort = arguments.at(at + 1);
        arguments.remove(at, 2);
    }
    if (arguments.size() != 1)
        return ReportStatus::BadArguments;
    const std::optional<int> number = reportCarrier(context, arguments.front());
    if (!number)
        return ReportStatus::Failed;
    const std::optional<int> storedType = carrierMediaType(context.db, *number);
    if (!storedType) {
        context.messages.information(carrierreport::kCarrierGone);
        return ReportStatus::Failed;
    }
    int mediaType = *storedType;
    if (!typeShort.isEmpty()) {
        const std::vector<LookupRecord> types = records::select<LookupRecord>(
            context.db, u"WHERE LOWER(\"Kurzbezeichnung\") = LOWER(?1)", {typeShort},
            schema::table(QStringLiteral("MUSIKART")));
        if (types.empty()) {
            context.messages.error(
                QStringLiteral("Die Tonträgerart \"%1\" gibt es nicht.").arg(typeShort));
            return ReportStatus::Failed;
        }
        mediaType = qRound(types.front().indexNummer);
    }
    Layout layout = layoutFor(context.db, mediaType);
    if (!context.options.fontName.isEmpty())
        layout.fontName = context.options.fontName;
    if (context.options.fontSize > 0)
        layout.fontSize = context.options.fontSize;
    return printCover(context.printer, context.db, context.messages, layout, *number);
}

} // namespace coverreport
