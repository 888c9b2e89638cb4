#pragma once

class TPagePrinter;

// The page printer's state at the start of every report: what the preview window sets up
// when it is created. Each report starts from it, so no page depends on the report that ran
// before (margins, grid, spacing, formats ...).
namespace reportsetup {

// Millimetres, margins 20/10/20/6, "Courier New" 13 screen pixels high.
void applyPreviewSetup(TPagePrinter& printer);

// Every property back to the engine's defaults, then the preview's set-up. Pages, printer,
// progress and the page handlers of the owner stay.
void resetForReport(TPagePrinter& printer);

} // namespace reportsetup
