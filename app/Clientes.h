// An office's clients at a glance: every taxpayer with the declaration of each month of a year,
// and a client's new declaration of a month. Both faces show and create them through here.
#pragma once

#include "Host.h"

#include <array>
#include <memory>
#include <vector>

namespace casos {

// The declaration that stands for a client's month: a final one when there is one (it was
// filed), else the newest draft; an empty code when the month has none.
struct MesCliente {
    CString codigo, estado;
    bool Vacio() const { return codigo.IsEmpty(); }
};

struct Cliente {
    CString nif;    // empty: the declarations whose taxpayer is still unknown
    CString nombre; // as the party store keeps it, else as the newest declaration has it
    std::array<MesCliente, 12> meses;
};

// Every client of the form in the accrual year, by name, then number; the row of declarations
// without a taxpayer last. A client is a taxpayer of a declaration of the year, or a free party
// of the store that is not known only as somebody's representative or presenter (the default
// presenter included). One read of the store.
std::vector<Cliente> Clientes(CHost& host, const CString& formulario, const CString& anio);

// A new draft of the form for the client's month: the parties of the client's newest
// declaration of the form carried over, and the client's party of the store bound as taxpayer
// where the store has one; one transaction. Refused when the client is neither in the store nor
// the taxpayer of any declaration of the form.
std::unique_ptr<CGuiaDoc> NuevaDeCliente(CHost& host, const CString& formulario, const CString& nif,
                                         const CString& mes, const CString& anio);

} // namespace casos
