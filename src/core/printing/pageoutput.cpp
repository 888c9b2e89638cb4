// TPagePrinter::PrintPages: the page range to the printer, with copies and cancelling.
#include "pageprinter.h"

bool TPagePrinter::PrintPages() {
    if (m_printing)
        FinishDocument();
    if (m_pages.empty())
        return true;
    if (!m_printer)
        throw std::runtime_error("Kein Drucker verfügbar");
    const int count = PageCount();
    const int first = m_fromPage != 0 ? std::min(int(m_fromPage), count) : 1;
    const int last = m_toPage != 0 ? std::min(int(m_toPage), count) : count;
    const int copies = int(m_copies);
    const int printerCopies = m_printer->copyCount();
    m_printer->setCopyCount(1);
    bool progressOpen = false;
    auto cleanUp = [&] {
        if (progressOpen && m_progress)
            m_progress->finish();
        if (!m_printer->jobRunning())
            m_printer->setCopyCount(printerCopies);
    };
    const int pagesInRange = last - first + 1;
    auto pageStep = [&](int page, bool lastStep) {
        if (m_showProgress && m_showCancel && m_progress)
            m_progress->processEvents();
        if (m_progress && m_progress->cancelRequested())
            throw ECancelPrinting("Druckausgabe abgebrochen!");
        if (m_showProgress && m_progress) {
            if (!progressOpen) {
                m_progress->start(Title(),
                                 m_progressMessage.isEmpty()
                                     ? QStringLiteral("Sende Seiten zum Drucker")
                                     : m_progressMessage,
                                 copies * pagesInRange, m_showCancel);
                progressOpen = true;
            }
            QString label = QStringLiteral("Seite %1").arg(page);
            if (first == 1) {
                label += QStringLiteral(" von %1").arg(pagesInRange);
                if (copies > 1)
                    label += QStringLiteral(" x %1 Kopien").arg(copies);
            }
            m_progress->step(label);
        }
        m_printer->drawPage(PageImage(page));
        if (!lastStep)
            m_printer->newPage();
    };
    try {
        if (!m_printer->beginJob())
            throw std::runtime_error("Der Druckauftrag konnte nicht begonnen werden");
        if (m_collate) {
            for (int copy = 1; copy <= copies; ++copy)
                for (int page = first; page <= last; ++page)
                    pageStep(page, page == last && copy == copies);
        } else {
            for (int page = first; page <= last; ++page)
                for (int copy = 1; copy <= copies; ++copy)
                    pageStep(page, page == last && copy == copies);
        }
        m_printer->endJob();
    } catch (const ECancelPrinting&) {
        if (m_printer->jobRunning()) {
            if (m_abortOnCancel)
                m_printer->abortJob();
            else
                m_printer->endJob();
        }
        cleanUp();
        return false;
    } catch (...) {
        if (m_printer->jobRunning())
            m_printer->abortJob();
        cleanUp();
        throw;
    }
    cleanUp();
    return true;
}
