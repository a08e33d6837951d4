// The party store as a person keeps it: the content of the parties dialog of every face of the
// host (the window's dialog, the command line's `parties` commands, a test's recorded answer).
// Free parties are the store; a party bound to a declaration in a role is a copy of one, made
// when it is bound, so a later correction of the store never changes a declaration already
// filled from it until the party is bound again.
#pragma once

#include "Modelo/parties/Intervinientes.h"
#include "Modelo/store/BaseDatos.h"

#include <stdexcept>
#include <vector>

// A refused maintenance request; what() is the one Spanish line a person reads.
class MODELO_API CExcepcionInterviniente : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class MODELO_API CMantenimientoIntervinientes {
public:
    explicit CMantenimientoIntervinientes(CBaseDatos& db) : db_(db) {}

    // The free parties, by order number.
    std::vector<stInterviniente> Libres();
    // The copies bound to a declaration, one per role at most.
    std::vector<stInterviniente> Vinculados(const CString& codDeclar);

    // "" when the party may be stored, else why not: a valid NIF, a name, no name separator
    // inside a name part and no control character in any field.
    static CString Comprobar(const stInterviniente& p);

    // Each change is one transaction and throws CExcepcionInterviniente when refused.
    CString Anadir(const stInterviniente& p); // the new order number
    void Editar(const CString& numOrden, const stInterviniente& p);
    void Quitar(const CString& numOrden);
    // Binds a copy of the free party to the declaration in the role, replacing the party the
    // role had.
    void Vincular(const CString& codDeclar, const CString& rol, const CString& numOrden);
    // False when the role had no party.
    bool Desvincular(const CString& codDeclar, const CString& rol);
    // A party that goes straight to the declaration in the role, with no copy in the store
    // (a script that fills one declaration); checked as Anadir checks. Its order number.
    CString AnadirVinculado(const CString& codDeclar, const CString& rol, const stInterviniente& p);

    static bool EsRol(const CString& rol);

private:
    stInterviniente Libre(const CString& numOrden);
    CBaseDatos& db_;
};
