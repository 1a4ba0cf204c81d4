#pragma once

// The dialog base of the database's search dialogs: opening it with a search table loads the
// database its "Tipo" names ("Estados" and "Região" the states, anything else the countries) and
// starts a search with no fields and no criteria; closing it drops the loaded database. The
// search itself is built with the query operations (DBQuery.h).

#include "app/atlas/database/DBQuery.h"
#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class DBFileStruct : public qelMediaDialogObject, public DBQuery {
    VELARIM_CLASS(DBFileStruct, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void close() override;

    // The database kind a search table's "Tipo" names.
    static int32_t kindOfTipo(const qelValue& tipo);
};
