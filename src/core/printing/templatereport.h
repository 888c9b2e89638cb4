#pragma once

#include "core/db/records.h"
#include "templateinterpreter.h"

#include <QFont>
#include <QString>
#include <functional>
#include <optional>

class MessageService;
class TPagePrinter;

// A template's three parts, loaded for a report, with their line counts.
struct TemplateParts {
    QString head, page, foot;
    int headLines = 0, pageLines = 0, footLines = 0;
    int margin = 0; // left margin in millimetres

    // Nullopt after telling the user which part is empty.
    static std::optional<TemplateParts> load(const PrintTemplateRecord& record,
                                             MessageService& messages);
};

// What a report dialog watches while a report runs: the page display (pending user events
// run there) and the abort button.
struct ReportProgress {
    std::function<void(int page)> pageStarted;
    std::function<bool()> abortRequested;
};

// How a template report lays its parts onto pages: the head at the top of every page, the
// page part per record with a page-break test after every line, the foot at the bottom of
// every page and at the end. Knows nothing of what the records are: the report supplies
// the names.
class TemplateReport {
public:
    TemplateReport(TPagePrinter& printer, TemplateParts parts, ReportProgress progress);

    // Names the report knows besides the standard ones, asked in this order.
    void setNames(std::vector<const TemplateNames*> names);

    // Sets the engine up for the template and starts the document.
    void start(const QString& title, const QFont& font);
    // Every write returns false once the report was aborted; the document is finished then.
    bool writeHead();
    // The page part, or another text interpreted like it (the additional text).
    bool writeRecord(const QString& text);
    bool writeRecord() { return writeRecord(m_parts.page); }
    // The foot pushed to the bottom of the page.
    bool writeFoot();
    // The foot where the cursor stands.
    bool writeFootInPlace();
    // Foot, new page, head.
    bool breakPage();
    // True when lines more lines and the foot no longer fit on the page; footCounted when
    // lines already holds the foot's lines.
    bool needsBreak(int lines, bool footCounted = false) const;
    // The test before a record or after a line: breaks the page when needed.
    bool breakIfNeeded(int lines);

    bool aborted() const { return m_aborted; }
    const TemplateParts& parts() const { return m_parts; }
    TPagePrinter& printer() { return m_printer; }

private:
    bool run(const QString& part, const std::function<void()>& afterLineEnd);

    TPagePrinter& m_printer;
    TemplateParts m_parts;
    ReportProgress m_progress;
    StandardTemplateNames m_standard;
    TemplateInterpreter m_interpreter;
    std::vector<const TemplateNames*> m_names;
    bool m_aborted = false;
};
