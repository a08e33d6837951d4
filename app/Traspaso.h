// A declaration started from another one: the same parties in another period, with none of
// its amounts. The monthly carry-over and the corrections of a final declaration share it.
#pragma once

#include "Host.h"

#include <memory>

namespace casos {

// The month after MM/YYYY, as "MM" and "YYYY"; December goes on to January of the next year.
void PeriodoSiguiente(CString& mes, CString& anio);

// A new draft of the form with the parties of declaration `origen` and no amounts, for the
// period given; a month or year not given is the one of the period after the origin's. Stored
// in one transaction.
std::unique_ptr<CGuiaDoc> NuevaComo(CHost& host, const CString& formulario, const CString& origen,
                                    CString mes, CString anio);

// Gives the new declaration `doc` (stored, not yet saved with them) the parties of `origen`:
// a copy of each party bound to it, replacing the one of that role, and the party boxes filled
// again from them. A taxpayer typed straight into the boxes, bound to nothing, travels as the
// client's party of the store when there is one of that number, else as its number and name.
// Runs in the caller's write transaction.
void LlevarIntervinientes(CHost& host, CGuiaDoc& doc, const CString& origen);

} // namespace casos
