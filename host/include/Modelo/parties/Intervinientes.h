// The party store (table PAINTERVIN) as the framework's recordset, and the report of a
// database error to the user.
#pragma once

#include "Modelo/base/COleDateTime.h"
#include "Modelo/store/BaseDatos.h"

#include <vector>

// Role texts of the party store.
namespace rol {
inline constexpr const char* SujetoPasivo = "Sujeto Pasivo";
inline constexpr const char* Representante = "Representante";
inline constexpr const char* Presentador = "Presentador";
} // namespace rol

// One party record; every field is text.
struct MODELO_API stInterviniente {
    CString NumOrden;
    CString CodDeclar;
    CString Rol;
    CString Nif;
    CString Nombre; // a natural person's three parts joined by kSeparadorNombre
    CString Provincia, Municipio;
    CString TipoVia, NombreVia, Numero, Escalera, Piso, Puerta;
    CString CodigoPostal, Telefono;
};

// A recordset over PAINTERVIN: open with a query, narrow with a filter and a sort, requery,
// walk the records. Database errors are raised as CExcepcionBD.
class MODELO_API CIntervSet {
public:
    enum { dynaset = 2, snapshot = 3 };

    explicit CIntervSet(CBaseDatos* db);
    virtual ~CIntervSet();

    // The query is run as it stands, then again with " WHERE filter" and " ORDER BY sort"
    // by each Requery.
    void Open(int tipo = dynaset, const CString& sql = "SELECT * FROM PAINTERVIN ",
              int opciones = 0);
    void Requery();
    void Close();
    bool IsOpen() const { return abierto_; }
    bool IsEOF() const { return actual_ >= registros_.size(); }
    bool IsBOF() const { return registros_.empty(); }
    void MoveNext();
    void MoveFirst() { actual_ = 0; }
    int GetRecordCount() const { return int(registros_.size()); }

    CString m_strFilter;
    CString m_strSort;

    // The current record; an empty record at the end of the set.
    const stInterviniente& Actual() const;

private:
    void Cargar(const CString& sql);
    CBaseDatos* db_;
    CString sql_;
    bool abierto_ = false;
    std::vector<stInterviniente> registros_;
    size_t actual_ = 0;
};

// A database error as the user is told of it.
class MODELO_API CExcepcionDao {
public:
    explicit CExcepcionDao(const CExcepcionBD& e) : error_(e) {}
    // The message in Spanish; with `mostrar` it is also shown through the host's services.
    CString Traducir(bool mostrar);

private:
    CExcepcionBD error_;
};

// The parties dialog of the host, and its lookup of a declaration's party record.
class MODELO_API CMtoIntervDlg {
public:
    CMtoIntervDlg(const CString& codModelo, const CString& codDeclar, const COleDateTime& fecha);
    CMtoIntervDlg(bool edicion, const CString& codModelo, const CString& codDeclar,
                  const COleDateTime& fecha);
    // Shows the dialog through the host's services: IDOK or IDCANCEL.
    int DoModal();
    // Positions the current record on the party of that NIF and name: first the one bound to
    // this declaration, else an unbound one (lowest order number). With no match the current
    // record is empty, never a stale one. Returns the order number found, or "".
    CString LocalizarIntervinienteDecl(const CString& nif, const CString& nombre);
    const stInterviniente& Actual() const { return actual_; }

private:
    bool edicion_ = false;
    CString codModelo_, codDeclar_;
    COleDateTime fecha_;
    stInterviniente actual_;
};
