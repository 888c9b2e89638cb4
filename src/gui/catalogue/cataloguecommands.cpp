#include "cataloguecommands.h"

#include "core/catalogue/carrierstore.h"
#include "core/common/messageservice.h"
#include "discogscommands.h"
#include "gui/cd/cddblookup.h"
#include "gui/shell/helpviewer.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/windowplacement.h"
#include "tmainttdialog.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

// The program's lookup: the modal dialog "CDDB-Server abfragen".
class DialogLookup : public CddbLookupService {
public:
    DialogLookup(AppState& state, MessageService& messages, QWidget* parent)
        : m_state(state), m_messages(messages), m_parent(parent) {}

    CddbAnswer lookup(const CdTocResult& disc) override {
        TCDDBLookup dialog(m_state.settings, m_state.dataDirectory, m_messages, m_parent);
        dialog.setDisc(disc.toc, disc.discId, disc.leadOutSeconds, disc.tracks);
        dialog.exec();
        CddbAnswer answer;
        answer.found = dialog.succeeded();
        answer.artist = dialog.artist();
        answer.title = dialog.title();
        answer.titles = dialog.titles();
        answer.extendedData = dialog.extendedData();
        answer.year = dialog.year();
        answer.genre = dialog.genre();
        answer.cover = dialog.frontCover();
        answer.origins = dialog.origins();
        return answer;
    }

private:
    AppState& m_state;
    MessageService& m_messages;
    QWidget* m_parent;
};

} // namespace

CatalogueCommands::CatalogueCommands(TMain& main, MessageService& messages)
    : QObject(&main), m_main(main), m_messages(messages) {
    m_hooks.firstSave = [this] { m_main.updateMenuItems(); };
    m_hooks.help = [this](int context) { m_main.help().showContext(context); };
    m_hooks.hasPrinter = [this] { return !m_main.state().currentPrinter.isEmpty(); };
    m_hooks.cddbLookup = [this](QWidget* parent) -> std::unique_ptr<CddbLookupService> {
        return std::make_unique<DialogLookup>(m_main.state(), m_messages, parent);
    };
}

void CatalogueCommands::install() {
    m_main.setCommandHandler(MainCommand::NewCarrier, [this] { newCarrier(); });
    (new DiscogsCommands(m_main, m_messages))->install();
}

TMainTtDialog* CatalogueCommands::open(int number) {
    auto* window = new TMainTtDialog(m_main.state(), m_messages, m_hooks, number);
    m_main.addChildWindow(window);
    return window;
}

TMainTtDialog* CatalogueCommands::newCarrier() {
    return open(0);
}

TMainTtDialog* CatalogueCommands::openCarrier(int number) {
    for (QMdiSubWindow* w : m_main.mdiArea()->subWindowList()) {
        auto* child = dynamic_cast<ChildWindow*>(w->widget());
        auto* entry = qobject_cast<TMainTtDialog*>(w->widget());
        if (child && entry && child->carrierNumber() == number) {
            windowplacement::bringToFront(*m_main.mdiArea(), *w);
            return entry;
        }
    }
    bool exists = false;
    try {
        exists = CarrierStore::stored(m_main.state().db, number);
    } catch (const DbError& e) {
        m_messages.error(e.message());
        return nullptr;
    }
    if (!exists) {
        m_messages.error(
            QStringLiteral("Der Tonträger Nr. %1 ist nicht (mehr) vorhanden.").arg(number));
        return nullptr;
    }
    return open(number);
}
