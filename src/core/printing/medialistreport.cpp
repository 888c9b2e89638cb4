#include "medialistreport.h"

#include "carriernames.h"
#include "core/common/germanformat.h"
#include "core/common/messageservice.h"
#include "core/db/database.h"
#include "core/db/recordaccess.h"
#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookupstore.h"
#include "core/settings/settings.h"
#include "fontchoice.h"
#include "pageprinter.h"

namespace medialistreport {

namespace {

// A selection names its lookup table by the table's kind number.
static_assert(MediaTypes == lookup::kMediaTypes && States == lookup::kStates &&
              Directions == lookup::kMusicDirections);

const char* carrierColumn(int selection) {
    switch (selection) {
    case States:
        return "\"Status\"";
    case Directions:
        return "\"Musikrichtung\"";
    default:
        return "\"Art der Schallplatte\"";
    }
}

// Carriers with their information record, in the chosen order, selected in SQL: lookups
// are read once per report, never per carrier.
QString querySql(const Options& options) {
    const schema::Table& carriers = records::tableOf<CarrierRecord>();
    const schema::Table& infos = records::tableOf<CarrierInfoRecord>();
    QStringList columns;
    for (const schema::Field& f : carriers.fields)
        columns.append(QStringLiteral("k.") + schema::quoted(f.name));
    for (const schema::Field& f : infos.fields)
        columns.append(QStringLiteral("i.") + schema::quoted(f.name));
    QStringList placeholders;
    for (size_t i = 0; i < options.codes.size(); ++i)
        placeholders.append(QStringLiteral("?%1").arg(i + 2));
    QString sql = QStringLiteral("SELECT %1 FROM \"MUSIKKOP\" k LEFT JOIN \"MusikInformation\" i "
                                 "ON i.\"Folgenummer Info\" = k.\"Folgenummer Kopf\" "
                                 "WHERE k.%2 IN (%3)")
                      .arg(columns.join(QStringLiteral(", ")),
                           QLatin1String(carrierColumn(options.selection)),
                           placeholders.join(QStringLiteral(", ")));
    // A carrier without a purchase date is not later than any date.
    if (options.boughtAfter)
        sql += QStringLiteral(" AND k.\"Kaufdatum\" > ?1");
    sql += options.order == ByNumber
               ? QStringLiteral(" ORDER BY k.\"Art der Schallplatte\", k.\"Nummerierung\", "
                                "k.\"Folgenummer Kopf\"")
               : QStringLiteral(" ORDER BY k.\"Gruppe/Interpret/Text 1\" COLLATE GERMAN, "
                                "k.\"Text 2\" COLLATE GERMAN, k.\"Art der Schallplatte\", "
                                "k.\"Nummerierung\", k.\"Folgenummer Kopf\"");
    return sql;
}

} // namespace

std::vector<LookupRecord> selectionRows(Database& db, int selection) {
    return LookupStore(db, validSelection(selection)).listByKey();
}

QString selectionLabel(int selection) {
    switch (validSelection(selection)) {
    case States:
        return QStringLiteral("S&tatusarten");
    case Directions:
        return QStringLiteral("Musikrich&tungen");
    default:
        return QStringLiteral("&Tonträgerarten");
    }
}

QString noSelectionText(int selection) {
    const QString start =
        QStringLiteral("Es wurden keine Daten zur Druckausgabe gewählt. Bitte wählen Sie aus der ");
    switch (validSelection(selection)) {
    case States:
        return start + QStringLiteral("Statusartenliste die zu druckenden Statusarten aus.");
    case Directions:
        return start +
               QStringLiteral("Liste der Musikrichtungen die zu druckenden Musikrichtungen aus.");
    default:
        return start + QStringLiteral("Tonträgerartenliste die zu druckenden Tonträgerarten aus.");
    }
}

int noSelectionHelp(int selection) {
    switch (validSelection(selection)) {
    case States:
        return 34011;
    case Directions:
        return 34012;
    default:
        return 34003;
    }
}

ReportStatus print(TPagePrinter& printer, Database& db, MessageService& messages,
                   const Options& options, const ReportProgress& progress) {
    std::optional<TemplateParts> parts = TemplateParts::load(options.templ, messages);
    if (!parts)
        return ReportStatus::Failed;
    const ReportLookups lookups = ReportLookups::read(db);
    TemplateReport report(printer, std::move(*parts), progress);
    CarrierNames names(lookups);
    report.setNames({&names});
    QFont font(options.fontName);
    font.setPointSize(fontchoice::validSize(options.fontSize, 11));

    Statement s = db.prepare(querySql(options));
    if (options.boughtAfter)
        s.bind(1, *options.boughtAfter);
    else
        s.bindNull(1);
    for (size_t i = 0; i < options.codes.size(); ++i)
        s.bind(int(i) + 2, options.codes[i]);
    const int carrierColumns = int(records::tableOf<CarrierRecord>().fields.size());

    report.start(kTitle, font);
    if (!report.writeHead())
        return ReportStatus::Failed;
    const TemplateParts& p = report.parts();
    const int before = p.headLines + p.footLines + p.pageLines;
    while (s.next()) {
        if (progress.abortRequested && progress.abortRequested()) {
            printer.FinishDocument();
            return ReportStatus::Failed;
        }
        const CarrierRecord carrier = records::readRecord<CarrierRecord>(s);
        std::optional<CarrierInfoRecord> info;
        if (!s.isNull(carrierColumns))
            info = records::readRecord<CarrierInfoRecord>(s, carrierColumns);
        names.setCarrier(&carrier, info ? &*info : nullptr);
        if (report.needsBreak(before, true) && !report.breakPage())
            return ReportStatus::Failed;
        if (!report.writeRecord())
            return ReportStatus::Failed;
    }
    names.setCarrier(nullptr, nullptr);
    if (!report.writeFoot())
        return ReportStatus::Failed;
    printer.FinishDocument();
    return ReportStatus::Composed;
}

namespace {

std::optional<int> selectionArgument(const QString& value) {
    if (value == QLatin1String("types"))
        return MediaTypes;
    if (value == QLatin1String("states"))
        return States;
    if (value == QLatin1String("directions"))
        return Directions;
    return std::nullopt;
}

} // namespace

ReportStatus compose(ReportContext& context) {
    Options options;
    std::optional<QStringList> codes;
    const QStringList& args = context.arguments;
    for (int i = 0; i < args.size(); ++i) {
        if (i + 1 >= args.size())
            return ReportStatus::BadArguments;
        const QString& name = args[i];
        const QString& value = args[++i];
        if (name == QLatin1String("--select")) {
            const std::optional<int> selection = selectionArgument(value);
            if (!selection)
                return ReportStatus::BadArguments;
            options.selection = *selection;
        } else if (name == QLatin1String("--codes")) {
            codes = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
        } else if (name == QLatin1String("--sort")) {
            if (value == QLatin1String("alpha"))
                options.order = Alphabetical;
            else if (value == QLatin1String("number"))
                options.order = ByNumber;
            else
                return ReportStatus::BadArguments;
        } else if (name == QLatin1String("--bought-after")) {
            const QDate date = germanformat::parseDate(value);
            if (!date.isValid())
                return ReportStatus::BadArguments;
            options.boughtAfter = date;
        } else {
            return ReportStatus::BadArguments;
        }
    }
    const std::vector<LookupRecord> rows = selectionRows(context.db, options.selection);
    if (codes) {
        for (const QString& code : *codes) {
            const std::optional<double> number = germanformat::parseNumber(code.trimmed());
            if (!number)
                return ReportStatus::BadArguments;
            options.codes.push_back(*number);
        }
    } else {
        for (const LookupRecord& row : rows)
            options.codes.push_back(row.indexNummer);
    }
    if (options.codes.empty()) {
        context.messages.information(noSelectionText(options.selection),
                                     noSelectionHelp(options.selection));
        return ReportStatus::Failed;
    }
    if (!chooseTemplateAndFont(context, options, 1, kNoTemplates, kNoTemplatesHelp,
                               context.settings.fontNameList, context.settings.fontSizeList))
        return ReportStatus::Failed;
    return print(context.printer, context.db, context.messages, options);
}

} // namespace medialistreport
