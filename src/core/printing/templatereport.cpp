#include "templatereport.h"

#include "core/common/messageservice.h"
#include "pageprinter.h"

#include <algorithm>
#include <cmath>

std::optional<TemplateParts> TemplateParts::load(const PrintTemplateRecord& record,
                                                 MessageService& messages) {
    const std::pair<const QString*, std::pair<const char*, int>> checks[] = {
        {&record.kopfText, {"Kopfzeile", 5006}},
        {&record.seitenText, {"Textes", 5007}},
        {&record.fussText, {"Fußzeile", 5008}},
    };
    for (const auto& [part, message] : checks) {
        if (part->isEmpty()) {
            const QString what = QString::fromUtf8(message.first);
            messages.information(
                QStringLiteral("Die Druckvorlage enthält keine Informationen zum Ausdruck %1 %2. "
                               "Bitte überarbeiten Sie die Druckvorlage.")
                    .arg(what == QLatin1String("Textes") ? QStringLiteral("des")
                                                         : QStringLiteral("der"),
                         what),
                message.second);
            return std::nullopt;
        }
    }
    TemplateParts parts;
    parts.head = record.kopfText;
    parts.page = record.seitenText;
    parts.foot = record.fussText;
    parts.headLines = TemplateInterpreter::lineCount(parts.head);
    parts.pageLines = TemplateInterpreter::lineCount(parts.page);
    parts.footLines = TemplateInterpreter::lineCount(parts.foot);
    parts.margin = int(std::lround(record.seitenrand.value_or(0)));
    return parts;
}

TemplateReport::TemplateReport(TPagePrinter& printer, TemplateParts parts, ReportProgress progress)
    : m_printer(printer), m_parts(std::move(parts)), m_progress(std::move(progress)),
      m_standard([this] { return m_printer.PageNumber(); }) {
    m_interpreter.writeLine = [this](const QString& line) { m_printer.WriteStyledLine(line); };
    m_interpreter.abortRequested = [this] {
        return m_progress.abortRequested && m_progress.abortRequested();
    };
    setNames({});
}

void TemplateReport::setNames(std::vector<const TemplateNames*> names) {
    names.insert(names.begin(), &m_standard);
    m_interpreter.setNames(std::move(names));
}

void TemplateReport::start(const QString& title, const QFont& font) {
    TPagePrinter& p = m_printer;
    p.setMarginLeft(m_parts.margin);
    p.setMarginBottom(10);
    p.setMarginTop(10);
    p.setFont(font);
    QFont bold = font;
    bold.setBold(true);
    p.setHeaderFont(bold);
    p.setFooterFont(bold);
    p.setTitle(title);
    p.setHeader(QString());
    p.setFooter(QString());
    p.setHeaderFormat(QString());
    p.setFooterFormat(QString());
    p.setTableFormat(
        QLatin1Char('<') +
        QString::number(std::lround(p.PrintAreaWidth() - p.MarginLeft() - p.MarginRight())));
    p.StartDocument();
}

bool TemplateReport::run(const QString& part, const std::function<void()>& afterLineEnd) {
    if (m_aborted)
        return false;
    if (m_interpreter.run(part, afterLineEnd) == TemplateInterpreter::Result::Aborted) {
        m_aborted = true;
        if (m_printer.Printing())
            m_printer.FinishDocument();
        return false;
    }
    return !m_aborted;
}

bool TemplateReport::writeHead() {
    if (m_progress.pageStarted)
        m_progress.pageStarted(m_printer.PageNumber());
    return run(m_parts.head, {});
}

bool TemplateReport::writeRecord(const QString& text) {
    return run(text, [this] { breakIfNeeded(m_parts.pageLines); });
}

// The foot goes as low as it can without the engine opening a page after it: a one-line
// foot needs two lines of room, as its own line end must not break the page.
bool TemplateReport::writeFoot() {
    const int k = m_printer.LineHeight() * std::max(2 * m_parts.footLines, m_parts.footLines + 2);
    while (k > 0 && m_printer.CursorY() + k < m_printer.PrintableHeight())
        m_printer.NewLine();
    return writeFootInPlace();
}

bool TemplateReport::writeFootInPlace() {
    return run(m_parts.foot, {});
}

bool TemplateReport::breakPage() {
    if (!writeFoot())
        return false;
    m_printer.NewPage();
    return writeHead();
}

// The foot's lines are counted as well, so it always fits below the last record.
bool TemplateReport::needsBreak(int lines, bool footCounted) const {
    const TPagePrinter& p = m_printer;
    const int n = lines + (footCounted ? 0 : m_parts.footLines) + 1;
    return p.PrintableHeight() < p.CursorY() + n * p.LineHeight() + int(p.MarginBottom());
}

bool TemplateReport::breakIfNeeded(int lines) {
    if (m_aborted)
        return false;
    return needsBreak(lines) ? breakPage() : true;
}
