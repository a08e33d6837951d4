// The host's store of declarations: codes, states, periods and boxes in the local database.
#pragma once

#include "Modelo/document/GuiaDoc.h"
#include "Modelo/store/BaseDatos.h"

#include <map>
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
    // The day of a stamp of the store (Resumen::creada, modificada); invalid for another text.
    static COleDateTime Dia(const CString& marca);

    std::optional<Resumen> Buscar(const CString& codigo);
    // By code; only those of the form (its three-digit code, or its model code) and of the
    // accrual year, when given.
    std::vector<Resumen> Listar(const CString& formulario = "", const CString& anio = "");
    // The page-1 boxes of a stored declaration, by box number, among the given ones.
    std::map<int, CString> CasillasP1(const CString& codigo, const std::vector<int>& casillas);
    // The same for every stored declaration of a model code, by declaration code, in one
    // query: a list of many declarations on a server would otherwise wait for one round trip
    // each.
    std::map<CString, std::map<int, CString>> CasillasP1DelModelo(const CString& modelo,
                                                                  const std::vector<int>& casillas);

    enum class Borrado { Hecho, NoExiste, Definitiva };
    // Deletes a draft with its boxes, records and the parties bound to it, in one transaction.
    // A final declaration is kept: it was filed, and later declarations refer to it.
    Borrado Borrar(const CString& codigo);

    // Hooks the document's save, load and copy operations to this store.
    void Conectar(CGuiaDoc& doc);

private:
    CBaseDatos& db_;
};
