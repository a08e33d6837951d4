// The host's store of declarations: codes, states, periods and boxes in the local database.
#pragma once

#include "Modelo/BaseDatos.h"
#include "Modelo/GuiaDoc.h"

#include <optional>
#include <vector>

class CAlmacenDeclaraciones {
public:
    struct Resumen {
        CString codigo, modelo, estado, mes, anio, creada, modificada;
    };

    explicit CAlmacenDeclaraciones(CBaseDatos& db) : db_(db) {}

    // Gives the document a new declaration code of its form and stores it, in one transaction.
    CString Registrar(CGuiaDoc& doc);
    // Replaces the stored boxes, state and period of the document's declaration; all or nothing.
    void Guardar(CGuiaDoc& doc);
    // Fills the document from the store; false when the code is unknown.
    bool Cargar(CGuiaDoc& doc, const CString& codigo);
    void CambiarEstado(const CString& codigo, const CString& estado);

    std::optional<Resumen> Buscar(const CString& codigo);
    std::vector<Resumen> Listar();

    // Hooks the document's save, load and copy operations to this store.
    void Conectar(CGuiaDoc& doc);

private:
    CBaseDatos& db_;
};
