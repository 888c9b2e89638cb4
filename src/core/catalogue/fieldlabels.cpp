#include "fieldlabels.h"

namespace fieldlabels {

void deleteAllRenamed(Database& db) {
    db.exec(u"DELETE FROM \"FeldKopie\" WHERE \"Typ\" = 'T'");
}

} // namespace fieldlabels
