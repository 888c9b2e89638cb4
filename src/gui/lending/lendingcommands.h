#pragma once

#include "lendingcontext.h"

#include <QObject>
#include <memory>

class TMain;
class MessageService;

// "Verleihver&waltung..." and lending and taking back from the media list: opens the
// lending windows and wires them to each other.
class LendingCommands : public QObject {
    Q_OBJECT
public:
    LendingCommands(TMain& main, MessageService& messages);
    ~LendingCommands() override;

    // Registers MainCommand::Lending.
    void install();

    void openManagement();
    // From the media list: refused for a carrier that is lent (lend) or not lent (return).
    void lendCarrier(int carrierNumber);
    void returnCarrier(int carrierNumber);

    const LendingContext& context() const { return *m_context; }

private:
    void openOverview(int borrower);
    void openList(int borrower);
    void openReturn(int carrierNumber);
    void openReminder(int carrierNumber, qint32 lendingNumber);

    TMain& m_main;
    std::unique_ptr<LendingContext> m_context;
};
