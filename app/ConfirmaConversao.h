#pragma once
// The window's question before a run: the plan of what the run will delete, read
// and add, and whether to go on. When the plan deletes rows the target holds, finds
// nothing of the chosen company where other companies have rows, or would repeat
// documents, Enter answers No: a run that destroys or doubles data is never started
// by a reflex.
#include "platform/WindowServices.h"
#include "run/Plano.h"

// True when the operator answered Yes.
bool ConfirmaPlano(WindowServices& servicos, const Plano& plano);
