// The GERMAN and GERMANPRIMARY collations as a loadable SQLite extension, so the sqlite3 shell
// can run the program's own list queries and write to tables indexed with them:
// .load ./libdiskarium-german
#include "core/db/germancollation.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

extern "C" int sqlite3_diskariumgerman_init(sqlite3* db, char**, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    // The shell links the same libsqlite3, so the collations register on its connection.
    registerGermanCollation(db);
    return SQLITE_OK;
}
