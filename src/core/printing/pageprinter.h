#pragma once

#include "pagepicture.h"
#include "printerdevice.h"
#include "textwidthcache.h"

#include <QFile>
#include <QFont>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

// Usage errors of the page printer, with fixed English texts.
class EPagePrinter : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A print run the user cancelled; PrintPages turns it into false.
class ECancelPrinting : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TMeasureUnit { muInches, muMillimeters };
enum TLineSpacing { lsHalfSpace, lsSingleSpace, lsSingleAndAHalf, lsDoubleSpace };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TPageBorder { pbTop = 1, pbBottom = 2, pbLeft = 4, pbRight = 8 };
using TPageBorders = int;

using TPageList = std::vector<std::unique_ptr<PagePicture>>;

// The engine every report composes through: margins, fonts, a title and column formats;
// text flowed onto pages of the current printer at its resolution with automatic page
// breaks, a header and a footer; every finished page recorded as a vector picture.
// Printing the recorded pages is PrintPages; showing them is the page view's job.
class TPagePrinter {
public:
    explicit TPagePrinter(PrinterDevice* printer = nullptr);
    ~TPagePrinter();

    // Every property back to its value in a new engine; the printer, the pages, the
    // progress window and OnNewPage/OnChanged stay. Not while printing.
    void resetToDefaults();

    // The printer composed for; null for none (fallback geometry).
    void setPrinter(PrinterDevice* printer);
    PrinterDevice* printer() const { return m_printer; }

    // Units and geometry
    TMeasureUnit MeasureUnit() const { return m_unit; }
    void setMeasureUnit(TMeasureUnit unit);
    double PaperWidth() const;
    double PaperHeight() const;
    double PhysicalOffsetX() const;
    double PhysicalOffsetY() const;
    double PrintAreaWidth() const;
    double PrintAreaHeight() const;
    int resolutionX() const;
    int resolutionY() const;
    int toPixelsX(double units) const;
    int toPixelsY(double units) const;
    double toUnitsX(int pixels) const;
    double toUnitsY(int pixels) const;
    int PrintableWidth() const;
    int PrintableHeight() const;
    int leftMarginPixels() const;
    int topMarginPixels() const;

    double MarginTop() const { return m_marginTop; }
    double MarginBottom() const { return m_marginBottom; }
    double MarginLeft() const { return m_marginLeft; }
    double MarginRight() const { return m_marginRight; }
    void setMarginTop(double value);
    void setMarginBottom(double value);
    void setMarginLeft(double value);
    void setMarginRight(double value);

    // Text settings
    const QFont& Font() const { return m_font; }
    void setFont(const QFont& font);
    const QFont& HeaderFont() const { return m_headerFont; }
    void setHeaderFont(const QFont& font) { m_headerFont = font; }
    const QFont& FooterFont() const { return m_footerFont; }
    void setFooterFont(const QFont& font) { m_footerFont = font; }
    bool AutoHeaderFont() const { return m_autoHeaderFont; }
    void setAutoHeaderFont(bool on);
    bool AutoFooterFont() const { return m_autoFooterFont; }
    void setAutoFooterFont(bool on);
    TLineSpacing LineSpacing() const { return m_lineSpacing; }
    void setLineSpacing(TLineSpacing spacing);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment) { m_alignment = alignment; }
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on) { m_wordWrap = on; }
    quint32 TabSize() const { return m_tabSize; }
    void setTabSize(quint32 size) { m_tabSize = size == 0 ? 1 : size; }
    QChar TokenSeparator() const { return m_separator; }
    void setTokenSeparator(QChar separator) { m_separator = separator; }

    // Tables, header, footer, borders
    const QString& TableFormat() const { return m_tableFormat; }
    void setTableFormat(const QString& format);
    bool TableGrid() const { return m_tableGrid; }
    void setTableGrid(bool on) { m_tableGrid = on; }
    double DefaultColWidth() const { return m_defaultColWidth; }
    void setDefaultColWidth(double width) { m_defaultColWidth = width; }
    const QString& Header() const { return m_header; }
    void setHeader(const QString& text) { m_header = text; }
    const QString& Footer() const { return m_footer; }
    void setFooter(const QString& text) { m_footer = text; }
    const QString& HeaderFormat() const { return m_headerFormat; }
    void setHeaderFormat(const QString& format);
    const QString& FooterFormat() const { return m_footerFormat; }
    void setFooterFormat(const QString& format);
    const QString& FriendlyHeader() const { return m_friendlyHeader; }
    void setFriendlyHeader(const QString& text);
    const QString& FriendlyFooter() const { return m_friendlyFooter; }
    void setFriendlyFooter(const QString& text);
    TPageBorders PageBorders() const { return m_borders; }
    void setPageBorders(TPageBorders borders) { m_borders = borders; }
    double PageBorderOffset() const { return m_borderOffset; }
    void setPageBorderOffset(double offset) { m_borderOffset = offset; }

    // Document
    QString Title() const;
    void setTitle(const QString& title);
    PrinterDevice::Orientation Orientation() const;
    void setOrientation(PrinterDevice::Orientation orientation);
    bool PrintToFile() const { return m_printToFile; }
    void setPrintToFile(bool on);
    const QString& FileName() const { return m_fileName; }
    void setFileName(const QString& name);

    std::function<void(TPagePrinter&)> OnNewPage;
    std::function<void(TPagePrinter&)> OnNewLine;

    // Lifecycle
    void StartDocument();
    void FinishDocument();
    int NewPage();
    int NewLine();
    bool Printing() const { return m_printing; }

    // Writing
    void WriteText(const QString& text);
    void WriteAlignedLine(const QString& text);
    void WriteStyledLine(const QString& text);
    void WriteColumns(const QString& row);

    // Working state
    int CursorX() const { return m_cursorX; }
    int CursorY() const { return m_cursorY; }
    void setCursorY(int y) { m_cursorY = y; }
    int LineNumber() const { return m_lineNumber; }
    int LineHeight() const { return m_lineHeight; }
    double AverageCharWidth() const;
    int externalLeading() const;
    int textWidth(const QString& text) const;

    // Page store and output
    const TPageList& pages() const { return m_pages; }
    int PageCount() const { return int(m_pages.size()); }
    const PagePicture& PageImage(int page) const;
    int PageNumber() const { return m_pageNumber; }
    void setPageNumber(int page);
    quint32 Copies() const { return m_copies; }
    void setCopies(quint32 copies) { m_copies = copies == 0 ? 1 : copies; }
    bool Collate() const { return m_collate; }
    void setCollate(bool on) { m_collate = on; }
    bool AbortOnCancel() const { return m_abortOnCancel; }
    void setAbortOnCancel(bool on) { m_abortOnCancel = on; }
    bool ShowProgress() const { return m_showProgress; }
    void setShowProgress(bool on) { m_showProgress = on; }
    bool ShowCancel() const { return m_showCancel; }
    void setShowCancel(bool on) { m_showCancel = on; }
    const QString& ProgressMessage() const { return m_progressMessage; }
    void setProgressMessage(const QString& message) { m_progressMessage = message; }
    quint32 FromPage() const { return m_fromPage; }
    void setFromPage(quint32 page);
    quint32 ToPage() const { return m_toPage; }
    void setToPage(quint32 page);
    void setProgress(PrintProgress* progress) { m_progress = progress; }
    // Prints the page range; false when the user cancelled.
    bool PrintPages();

    // Called when the page shown or the geometry changed (the view repaints).
    std::function<void()> OnChanged;

private:
    double fallback(double mm, double inches) const;
    double clampMargin(double value, double low, double high) const;
    void refresh();
    void updateMetrics();
    QFont recordingFont(const QFont& font) const;
    void openPage();
    void completePage();
    void pageSetup();
    void drawBorders();
    void changed();
    void writeLine(const QString& text);
    void drawTextAt(int x, int y, const QString& text, const QFont& font);
    void drawLine(QLine line, bool horizontal);
    int penWidth(bool horizontal) const;
    int fitLength(const QString& text, int width, const QFont& font) const;
    int widthIn(const QString& text, const QFont& font) const;
    bool surelyFits(const QString& text, int width, const QFont& font) const;
    QString substitute(QString text) const;
    void writeRaw(const QString& text);
    struct Geometry {
        int printableWidth, printableHeight, leftMargin, topMargin;
    };
    Geometry geometry() const;
    void geometryChanged() { m_geometry.reset(); }

    PrinterDevice* m_printer = nullptr;
    TMeasureUnit m_unit = muInches;
    double m_marginTop = 0, m_marginBottom = 0, m_marginLeft = 0, m_marginRight = 0;
    QFont m_font;
    QFont m_headerFont;
    QFont m_footerFont;
    QFont m_drawFont; // the font with the styles of WriteStyledLine
    bool m_autoHeaderFont = true, m_autoFooterFont = true;
    TLineSpacing m_lineSpacing = lsSingleSpace;
    TAlignment m_alignment = taLeftJustify;
    bool m_wordWrap = true;
    quint32 m_tabSize = 8;
    QChar m_separator = QLatin1Char('|');
    QString m_tableFormat;
    bool m_tableGrid = false;
    double m_defaultColWidth = 0;
    QString m_header, m_footer, m_headerFormat, m_footerFormat, m_friendlyHeader, m_friendlyFooter;
    TPageBorders m_borders = 0;
    double m_borderOffset = 0;
    bool m_printToFile = false;
    QString m_fileName;
    std::unique_ptr<QFile> m_textFile;

    bool m_printing = false;
    bool m_inHeaderFooter = false;
    int m_cursorX = 0, m_cursorY = 0, m_lineNumber = 0, m_lineHeight = 0;
    int m_leading = 0;
    double m_averageCharWidth = 0;

    TPageList m_pages;
    PagePicture* m_current = nullptr;
    int m_pageNumber = 0;
    quint32 m_copies = 1;
    bool m_collate = true, m_abortOnCancel = false, m_showProgress = true, m_showCancel = true;
    QString m_progressMessage;
    quint32 m_fromPage = 0, m_toPage = 0;
    PrintProgress* m_progress = nullptr;

    // While printing, margins, unit and printer stay as they are: the pixel geometry every
    // line asks for is worked out once.
    mutable std::optional<Geometry> m_geometry;
    mutable TextWidthCache m_widths;
};
