#pragma once
// The restaurant's archive: its eight tables, in dependency order.

#include "component/ComponentInterfaces.h"

class DB : public itfDefDatabase
{
public:
    void Define(DatabaseDefinition& p_objDefinition) override;
};
