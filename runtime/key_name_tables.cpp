#include "runtime/key_name_tables.h"

void InitKeyNameTables() {}
void ClearKeyNameTables() {}
