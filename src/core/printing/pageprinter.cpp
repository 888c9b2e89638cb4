// TPagePrinter: units, geometry, properties and the document and page lifecycle.
#include "pageprinter.h"

#include "columnformat.h"

#include <QFontMetrics>
#include <cmath>

namespace {
constexpr int kFallbackResolution = 300;
}

TPagePrinter::TPagePrinter(PrinterDevice* printer) : m_printer(printer) {
    m_font = QFont(QStringLiteral("Courier New"));
    m_font.setPointSize(10);
    m_headerFont = m_font;
    m_footerFont = m_font;
    m_marginTop = m_marginBottom = PhysicalOffsetY();
    m_marginLeft = m_marginRight = PhysicalOffsetX();
    refresh();
}

TPagePrinter::~TPagePrinter() = default;

void TPagePrinter::resetToDefaults() {
    if (m_printing)
        throw EPagePrinter("Unable to reset the printer while printing");
    setPrintToFile(false);
    m_fileName.clear();
    m_unit = muInches;
    m_lineSpacing = lsSingleSpace;
    m_alignment = taLeftJustify;
    m_wordWrap = true;
    m_tabSize = 8;
    m_separator = QLatin1Char('|');
    m_tableFormat.clear();
    m_tableGrid = false;
    m_defaultColWidth = 0;
    m_header.clear();
    m_footer.clear();
    m_headerFormat.clear();
    m_footerFormat.clear();
    m_friendlyHeader.clear();
    m_friendlyFooter.clear();
    m_borders = 0;
    m_borderOffset = 0;
    m_copies = 1;
    m_collate = true;
    m_abortOnCancel = false;
    m_showProgress = true;
    m_showCancel = true;
    m_progressMessage.clear();
    m_fromPage = m_toPage = 0;
    OnNewLine = nullptr;
    if (m_printer)
        m_printer->setOrientation(PrinterDevice::Orientation::Portrait);
    m_autoHeaderFont = m_autoFooterFont = true;
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(10);
    setFont(font);
    m_marginTop = m_marginBottom = PhysicalOffsetY();
    m_marginLeft = m_marginRight = PhysicalOffsetX();
    refresh();
    changed();
}

void TPagePrinter::setPrinter(PrinterDevice* printer) {
    m_printer = printer;
    geometryChanged();
    refresh();
    changed();
}

void TPagePrinter::changed() {
    if (OnChanged)
        OnChanged();
}

// ---- units and geometry

int TPagePrinter::resolutionX() const {
    return m_printer ? m_printer->resolutionX() : kFallbackResolution;
}
int TPagePrinter::resolutionY() const {
    return m_printer ? m_printer->resolutionY() : kFallbackResolution;
}

int TPagePrinter::toPixelsX(double units) const {
    const double inches = m_unit == muMillimeters ? units / 25.4 : units;
    return int(std::nearbyint(inches * resolutionX()));
}

int TPagePrinter::toPixelsY(double units) const {
    const double inches = m_unit == muMillimeters ? units / 25.4 : units;
    return int(std::nearbyint(inches * resolutionY()));
}

double TPagePrinter::toUnitsX(int pixels) const {
    const double inches = double(pixels) / resolutionX();
    return m_unit == muMillimeters ? inches * 25.4 : inches;
}

double TPagePrinter::toUnitsY(int pixels) const {
    const double inches = double(pixels) / resolutionY();
    return m_unit == muMillimeters ? inches * 25.4 : inches;
}

double TPagePrinter::fallback(double mm, double inches) const {
    return m_unit == muMillimeters ? mm : inches;
}

double TPagePrinter::PaperWidth() const {
    return m_printer ? toUnitsX(m_printer->paperSizePixels().width()) : fallback(210, 8.5);
}
double TPagePrinter::PaperHeight() const {
    return m_printer ? toUnitsY(m_printer->paperSizePixels().height()) : fallback(297, 11);
}
double TPagePrinter::PhysicalOffsetX() const {
    return m_printer ? toUnitsX(m_printer->physicalOffsetPixels().width()) : fallback(6, 0.25);
}
double TPagePrinter::PhysicalOffsetY() const {
    return m_printer ? toUnitsY(m_printer->physicalOffsetPixels().height()) : fallback(6, 0.25);
}
double TPagePrinter::PrintAreaWidth() const {
    return m_printer ? PaperWidth() - 2 * PhysicalOffsetX() : fallback(198, 8);
}
double TPagePrinter::PrintAreaHeight() const {
    return m_printer ? PaperHeight() - 2 * PhysicalOffsetY() : fallback(284, 10.5);
}

TPagePrinter::Geometry TPagePrinter::geometry() const {
    if (m_printing && m_geometry)
        return *m_geometry;
    Geometry g{};
    g.leftMargin = toPixelsX(m_marginLeft - PhysicalOffsetX());
    g.topMargin = toPixelsY(m_marginTop - PhysicalOffsetY());
    g.printableWidth = std::max(toPixelsX(PrintAreaWidth()) - g.leftMargin -
                                    toPixelsX(m_marginRight - PhysicalOffsetX()),
                                0);
    g.printableHeight = std::max(toPixelsY(PrintAreaHeight()) - g.topMargin -
                                     toPixelsY(m_marginBottom - PhysicalOffsetY()),
                                 0);
    if (m_printing)
        m_geometry = g;
    return g;
}

int TPagePrinter::leftMarginPixels() const {
    return geometry().leftMargin;
}
int TPagePrinter::topMarginPixels() const {
    return geometry().topMargin;
}

int TPagePrinter::PrintableWidth() const {
    return geometry().printableWidth;
}

int TPagePrinter::PrintableHeight() const {
    return geometry().printableHeight;
}

// ---- margins and unit

double TPagePrinter::clampMargin(double value, double low, double high) const {
    return std::clamp(value, low, std::max(low, high));
}

void TPagePrinter::setMarginTop(double value) {
    if (m_printing)
        throw EPagePrinter("Unable to change top margin while printing");
    m_marginTop = clampMargin(value, PhysicalOffsetY(), PaperHeight() - PhysicalOffsetY());
    changed();
}

void TPagePrinter::setMarginBottom(double value) {
    if (m_printing)
        throw EPagePrinter("Unable to change bottom margin while printing");
    m_marginBottom = clampMargin(value, PhysicalOffsetY(), PaperHeight() - PhysicalOffsetY());
    changed();
}

void TPagePrinter::setMarginLeft(double value) {
    if (m_printing)
        throw EPagePrinter("Unable to change left margin while printing");
    m_marginLeft = clampMargin(value, PhysicalOffsetX(), PaperWidth() - PhysicalOffsetX());
    changed();
}

void TPagePrinter::setMarginRight(double value) {
    if (m_printing)
        throw EPagePrinter("Unable to change right margin while printing");
    m_marginRight = clampMargin(value, PhysicalOffsetX(), PaperWidth() - PhysicalOffsetX());
    changed();
}

void TPagePrinter::setMeasureUnit(TMeasureUnit unit) {
    if (unit == m_unit)
        return;
    // Dividing by 25.4, not multiplying by its inverse, keeps round trips exact where they can be.
    const bool toMm = unit == muMillimeters;
    geometryChanged();
    auto convert = [toMm](double v) { return toMm ? v * 25.4 : v / 25.4; };
    m_unit = unit;
    m_marginTop = convert(m_marginTop);
    m_marginBottom = convert(m_marginBottom);
    m_marginLeft = convert(m_marginLeft);
    m_marginRight = convert(m_marginRight);
    m_borderOffset = convert(m_borderOffset);
    const double oldDefault = m_defaultColWidth;
    m_defaultColWidth = convert(m_defaultColWidth);
    refresh();
    m_tableFormat = columnformat::convertWidths(m_tableFormat, m_separator, oldDefault, toMm);
    if (m_friendlyHeader.isEmpty())
        m_headerFormat = columnformat::convertWidths(m_headerFormat, m_separator, oldDefault, toMm);
    if (m_friendlyFooter.isEmpty())
        m_footerFormat = columnformat::convertWidths(m_footerFormat, m_separator, oldDefault, toMm);
    changed();
}

// ---- refresh and fonts

QFont TPagePrinter::recordingFont(const QFont& font) const {
    QFont f = font;
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : 10;
    f.setPixelSize(std::max(1, int(std::lround(points * resolutionY() / 72.0))));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

void TPagePrinter::updateMetrics() {
    const QFont f = recordingFont(m_font);
    const QFontMetrics metrics(f);
    m_leading = metrics.leading();
    m_averageCharWidth = toUnitsX(metrics.averageCharWidth());
    const int h = f.pixelSize();
    switch (m_lineSpacing) {
    case lsHalfSpace:
        m_lineHeight = h / 2;
        break;
    case lsSingleSpace:
        m_lineHeight = h;
        break;
    case lsSingleAndAHalf:
        m_lineHeight = h / 2 + h;
        break;
    case lsDoubleSpace:
        m_lineHeight = 2 * h;
        break;
    }
    m_drawFont = f;
}

void TPagePrinter::refresh() {
    geometryChanged();
    if (!m_printing) {
        setMarginTop(m_marginTop);
        setMarginBottom(m_marginBottom);
        setMarginLeft(m_marginLeft);
        setMarginRight(m_marginRight);
    }
    updateMetrics();
    if (!m_friendlyHeader.isEmpty())
        setFriendlyHeader(m_friendlyHeader);
    if (!m_friendlyFooter.isEmpty())
        setFriendlyFooter(m_friendlyFooter);
}

void TPagePrinter::setFont(const QFont& font) {
    m_font = font;
    if (m_autoHeaderFont)
        m_headerFont = font;
    if (m_autoFooterFont)
        m_footerFont = font;
    updateMetrics();
}

void TPagePrinter::setAutoHeaderFont(bool on) {
    m_autoHeaderFont = on;
    if (on)
        m_headerFont = m_font;
}

void TPagePrinter::setAutoFooterFont(bool on) {
    m_autoFooterFont = on;
    if (on)
        m_footerFont = m_font;
}

void TPagePrinter::setLineSpacing(TLineSpacing spacing) {
    m_lineSpacing = spacing;
    updateMetrics();
}

double TPagePrinter::AverageCharWidth() const {
    return m_averageCharWidth;
}

int TPagePrinter::externalLeading() const {
    return m_leading;
}

// ---- formats and header

void TPagePrinter::setTableFormat(const QString& format) {
    m_tableFormat = columnformat::normalise(format, m_separator, m_defaultColWidth);
}

void TPagePrinter::setHeaderFormat(const QString& format) {
    m_headerFormat = columnformat::normalise(format, m_separator, m_defaultColWidth);
}

void TPagePrinter::setFooterFormat(const QString& format) {
    m_footerFormat = columnformat::normalise(format, m_separator, m_defaultColWidth);
}

void TPagePrinter::setFriendlyHeader(const QString& text) {
    m_friendlyHeader = text;
    if (text.isEmpty())
        return;
    const auto f = columnformat::translateFriendly(text, m_separator,
                                                   PaperWidth() - m_marginLeft - m_marginRight,
                                                   {QDateTime::currentDateTime(), m_fileName});
    m_header = f.row;
    m_headerFormat = f.format;
}

void TPagePrinter::setFriendlyFooter(const QString& text) {
    m_friendlyFooter = text;
    if (text.isEmpty())
        return;
    const auto f = columnformat::translateFriendly(text, m_separator,
                                                   PaperWidth() - m_marginLeft - m_marginRight,
                                                   {QDateTime::currentDateTime(), m_fileName});
    m_footer = f.row;
    m_footerFormat = f.format;
}

// ---- document properties

QString TPagePrinter::Title() const {
    return m_printer ? m_printer->title() : QStringLiteral("<Unknown>");
}

void TPagePrinter::setTitle(const QString& title) {
    if (m_printer)
        m_printer->setTitle(title);
}

PrinterDevice::Orientation TPagePrinter::Orientation() const {
    return m_printer ? m_printer->orientation() : PrinterDevice::Orientation::Portrait;
}

void TPagePrinter::setOrientation(PrinterDevice::Orientation orientation) {
    if (m_printing)
        throw EPagePrinter("Unable to change orientation while printing");
    if (!m_printer)
        return;
    m_printer->setOrientation(orientation);
    refresh();
    changed();
}

void TPagePrinter::setPrintToFile(bool on) {
    if (on == m_printToFile)
        return;
    if (m_printing)
        throw EPagePrinter("Can't change PrintToFile while printing");
    m_printToFile = on;
}

void TPagePrinter::setFileName(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed == m_fileName)
        return;
    if (m_printing)
        throw EPagePrinter("Can't change FileName while printing");
    m_fileName = trimmed;
}

// ---- lifecycle

void TPagePrinter::openPage() {
    const QSize size(toPixelsX(PaperWidth() - PhysicalOffsetX()),
                     toPixelsY(PaperHeight() - PhysicalOffsetY()));
    m_pages.push_back(std::make_unique<PagePicture>(size, resolutionX(), resolutionY()));
    m_current = m_pages.back().get();
    m_drawFont = recordingFont(m_font); // styles end with the page
}

void TPagePrinter::completePage() {
    if (m_current)
        m_current->squeeze();
    m_current = nullptr;
}

void TPagePrinter::StartDocument() {
    refresh();
    m_widths.clear(); // fonts installed meanwhile may measure differently
    m_printing = true;
    m_pages.clear();
    m_current = nullptr;
    if (m_printToFile) {
        m_textFile = std::make_unique<QFile>(m_fileName);
        if (!m_textFile->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            m_textFile.reset();
            m_printing = false;
            throw EPagePrinter("Cannot create " + m_fileName.toStdString());
        }
    } else {
        openPage();
    }
    m_pageNumber = 1;
    pageSetup();
}

void TPagePrinter::FinishDocument() {
    m_printing = false;
    geometryChanged();
    if (m_textFile) {
        m_textFile->close();
        m_textFile.reset();
    } else {
        completePage();
    }
    m_pageNumber = m_pages.empty() ? 0 : 1;
    changed();
}

int TPagePrinter::NewPage() {
    completePage();
    if (m_textFile)
        writeRaw(QStringLiteral("\f\r\n"));
    else
        openPage();
    ++m_pageNumber;
    pageSetup();
    return m_pageNumber;
}

int TPagePrinter::NewLine() {
    m_cursorX = 0;
    m_cursorY += m_lineHeight;
    if (m_cursorY + m_lineHeight >= PrintableHeight() && !m_textFile && !m_inHeaderFooter) {
        NewPage();
    } else {
        ++m_lineNumber;
        if (m_textFile)
            writeRaw(QStringLiteral("\r\n"));
    }
    if (OnNewLine)
        OnNewLine(*this);
    return m_lineNumber;
}

void TPagePrinter::pageSetup() {
    m_cursorX = m_cursorY = m_lineNumber = 0;
    if (OnNewPage)
        OnNewPage(*this);
    const int savedX = m_cursorX, savedY = m_cursorY, savedLine = m_lineNumber;
    const QString savedFormat = m_tableFormat;
    const bool savedGrid = m_tableGrid, savedAutoHeader = m_autoHeaderFont,
               savedAutoFooter = m_autoFooterFont;
    const QFont savedFont = m_font;
    m_tableGrid = false;
    m_autoHeaderFont = m_autoFooterFont = false;
    m_inHeaderFooter = true;
    auto restore = [&] {
        setFont(savedFont);
        m_cursorX = savedX;
        m_cursorY = savedY;
        m_lineNumber = savedLine;
        m_tableFormat = savedFormat;
        m_tableGrid = savedGrid;
        m_autoHeaderFont = savedAutoHeader;
        m_autoFooterFont = savedAutoFooter;
        m_inHeaderFooter = false;
    };
    try {
        if (!m_header.isEmpty()) {
            setFont(m_headerFont);
            const bool top = m_borders & pbTop;
            const int a = toPixelsY(top ? m_marginTop - m_borderOffset : m_marginTop);
            m_cursorY =
                std::max((a - m_lineHeight) / 2 - toPixelsY(m_marginTop), -topMarginPixels());
            m_tableFormat = m_headerFormat;
            WriteColumns(m_header);
        }
        if (!m_footer.isEmpty()) {
            setFont(m_footerFont);
            if (m_borders & pbBottom)
                m_cursorY = toPixelsY(m_borderOffset) + PrintableHeight() +
                            (toPixelsY(m_marginBottom - m_borderOffset) - m_lineHeight) / 2;
            else
                m_cursorY = (toPixelsY(m_marginBottom) - m_lineHeight) / 2 + PrintableHeight();
            const int limit = toPixelsY(PrintAreaHeight()) - m_lineHeight - topMarginPixels();
            m_cursorY = std::min(m_cursorY, limit);
            m_tableFormat = m_footerFormat;
            WriteColumns(m_footer);
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    if (OnNewLine)
        OnNewLine(*this);
    drawBorders();
}

int TPagePrinter::penWidth(bool horizontal) const {
    return (horizontal ? resolutionY() : resolutionX()) / 300 * 2;
}

void TPagePrinter::drawLine(QLine line, bool horizontal) {
    if (m_current)
        m_current->drawLine(line, penWidth(horizontal));
}

void TPagePrinter::drawBorders() {
    if (!m_current || !m_borders)
        return;
    const int l = leftMarginPixels(), t = topMarginPixels(), w = PrintableWidth(),
              h = PrintableHeight();
    const int b = toPixelsY(m_borderOffset), d = toPixelsX(m_borderOffset);
    if (m_borders & pbTop)
        drawLine(QLine(l - b, t - b, l + w + b, t - b), true);
    if (m_borders & pbBottom)
        drawLine(QLine(l - b, t + h + b, l + w + b, t + h + b), true);
    if (m_borders & pbLeft)
        drawLine(QLine(l - d, t - d, l - d, t + h + d), false);
    if (m_borders & pbRight)
        drawLine(QLine(l + w + d, t - d, l + w + d, t + h + d), false);
}

// ---- page store

const PagePicture& TPagePrinter::PageImage(int page) const {
    if (page < 1 || page > PageCount())
        throw EPagePrinter("PageNumber must be between 1 and " + std::to_string(PageCount()));
    return *m_pages[size_t(page - 1)];
}

void TPagePrinter::setPageNumber(int page) {
    if (m_pages.empty()) {
        m_pageNumber = 0;
        changed();
        return;
    }
    if (page < 1 || page > PageCount())
        throw EPagePrinter("PageNumber must be between 1 and " + std::to_string(PageCount()));
    m_pageNumber = page;
    changed();
}

void TPagePrinter::setFromPage(quint32 page) {
    m_fromPage = page;
    if (m_fromPage > m_toPage)
        m_toPage = m_fromPage;
}

void TPagePrinter::setToPage(quint32 page) {
    m_toPage = page;
    if (m_toPage < m_fromPage)
        m_fromPage = m_toPage;
}
