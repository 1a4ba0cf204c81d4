#include "app/atlas/database/DBFileStruct.h"

#include "framework/runtime/Builtins.h"

int32_t DBFileStruct::kindOfTipo(const qelValue& tipo)
{
    return tipo == "Estados" || tipo == "Regi\xE3o" ? DBQuery::States : DBQuery::Countries;
}

void DBFileStruct::open(const qelValue& data)
{
    bool isTable = data.type() == QEL_TABLE_TYPE;
    if (!isTable)
        endDialog();
    qelMediaDialogObject::open(data);
    load(kindOfTipo(isTable ? qelGet(data, "Tipo") : qelNil));
}

void DBFileStruct::close()
{
    unload();
    qelMediaDialogObject::close();
}
