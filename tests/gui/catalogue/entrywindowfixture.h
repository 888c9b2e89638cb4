#pragma once

#include "core/catalogue/carrierstore.h"
#include "core/db/recordaccess.h"
#include "gui/catalogue/tmainttdialog.h"
#include "support/appstatefixture.h"
#include "support/scriptedmessageservice.h"

#include <QApplication>
#include <QQueue>
#include <QTemporaryDir>
#include <QTest>

// A lookup that answers from a script: not found once it runs out.
class ScriptedLookup : public CddbLookupService {
public:
    QQueue<CddbAnswer> answers;
    int asked = 0;
    CddbAnswer lookup(const CdTocResult&) override {
        ++asked;
        return answers.isEmpty() ? CddbAnswer() : answers.dequeue();
    }
};

// A data directory, scripted messages and entry windows that report what they announce.
struct EntryWindowFixture {
    std::unique_ptr<QTemporaryDir> dir = std::make_unique<QTemporaryDir>();
    std::unique_ptr<AppState> state = openAppState(dir->path());
    ScriptedMessageService messages;
    ScriptedLookup lookup;
    QStringList images;     // disc n is read from images[n-1]
    int carrierNotices = 0; // what the stores announced about carriers
    int firstSaves = 0;
    QList<int> helps;
    QList<int> printed;

    EntryWindowFixture() {
        QObject::connect(&state->db.notifier(), &ChangeNotifier::changed,
                         [this](Change what, int) { carrierNotices += what == Change::Carriers; });
    }

    EntryWindowHooks hooks() {
        EntryWindowHooks h;
        h.firstSave = [this] { ++firstSaves; };
        h.help = [this](int c) { helps.append(c); };
        h.cddbLookup = [this](QWidget*) -> std::unique_ptr<CddbLookupService> {
            struct Forward : CddbLookupService {
                ScriptedLookup& to;
                explicit Forward(ScriptedLookup& l) : to(l) {}
                CddbAnswer lookup(const CdTocResult& d) override { return to.lookup(d); }
            };
            return std::make_unique<Forward>(lookup);
        };
        h.tocReader = [this](int disc, const QString&, QList<TCDList>* list, CdTocResult& r) {
            return ReadCDToc(disc, images.value(disc - 1), list, r);
        };
        return h;
    }

    std::unique_ptr<TMainTtDialog> open(int number = 0) {
        auto w = std::make_unique<TMainTtDialog>(*state, messages, hooks(), number);
        w->resize(900, 600);
        w->show();
        QApplication::setActiveWindow(w.get());
        QApplication::processEvents();
        return w;
    }

    // A stored carrier "Gruppe" / "Titel" of type 1.
    int storeCarrier(const QString& group = QStringLiteral("Gruppe")) {
        CarrierData d = CarrierStore::newCarrier(state->settings, QDate::currentDate());
        d.carrier.gruppeInterpretText1 = group;
        d.carrier.text2 = QStringLiteral("Titel");
        d.carrier.artDerSchallplatte = 1;
        return CarrierStore(state->db).saveNew(d, nullptr, false, QDate::currentDate());
    }

    qint64 count(const char* table) {
        return records::count(state->db, schema::table(QString::fromLatin1(table)));
    }
    QStringList texts() const {
        QStringList t;
        for (const Message& m : messages.messages())
            t.append(m.text);
        return t;
    }
};
