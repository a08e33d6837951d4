// The checks of each row of the liquidation data file.
#include "Modelo/base/Funciones.h"
#include "core/Casillas.h"
#include "core/Errores.h"
#include "core/IdsRecursos.h"
#include "core/ModDoc.h"
#include "datafile/Campos.h"

namespace {

// Appends the error of a row with the catalogue's texts, the row number in its description.
bool Fallo(const MOD_DOC& doc, CListaErrores& errores, int serie, const stRegistroDeclarado& fila,
           int casillaError = casilla::ImportacionFichero) {
    const CString codigo = CodigoError(doc, serie);
    CString descripcion, detalle;
    CGuiaDoc::ObtenerDetallesError(codigo, descripcion, detalle);
    if (serie != error::DevengoFichero) {
        // Blank lines are not rows: where they make the two differ, the line is said too, so
        // the person finds the row in an editor.
        CString numero = CString::Formatted("%d", fila.NumFila);
        if (doc.LineaEnCurso() != 0 && doc.LineaEnCurso() != fila.NumFila)
            numero += CString::Formatted(" (línea %d)", doc.LineaEnCurso());
        descripcion.Replace("%1", numero);
    }
    errores.Add(stError(casillaError, pagina::P1, codigo, descripcion, detalle));
    return true;
}

CString AnioActual() {
    return COleDateTime::GetCurrentTime().Format("%Y");
}

bool AnioFuera(const CString& anio) {
    return anio < "1800" || anio > AnioActual();
}
bool MesFuera(const CString& mes) {
    return mes < "01" || mes > "12" || mes.GetLength() < 2;
}

} // namespace

bool MOD_DOC::ValidarDatosFila1(stRegistroDeclarado fila, CArray<stError, stError>& errores) {
    const CString formulario = GetCodModelo().Left(3);
    if (fila.CodigoModelo != formulario)
        return Fallo(*this, errores, error::FilaModelo, fila);
    if (AnioFuera(fila.AnioDevengo) || !EsNumero(fila.AnioDevengo))
        return Fallo(*this, errores, error::FilaAnio, fila);
    if (MesFuera(fila.MesDevengo) || !EsNumero(fila.MesDevengo))
        return Fallo(*this, errores, error::FilaMes, fila);
    if (!ValidarFechaDevengo(formulario, fila.MesDevengo, fila.AnioDevengo).IsEmpty())
        return Fallo(*this, errores, error::DevengoFichero, fila);
    const CString sujeto = GetCasilla(casilla::SujetoPasivo + casilla::grupo::Nif, pagina::P1);
    if (!sujeto.IsEmpty() && sujeto != fila.NifDeclarante)
        return Fallo(*this, errores, error::DeclaranteFichero, fila,
                     casilla::SujetoPasivo + casilla::grupo::Nif);
    return ValidarDatosFilaN(fila, fila, errores);
}

bool MOD_DOC::ValidarDatosFilaN(stRegistroDeclarado ref, stRegistroDeclarado fila,
                                CArray<stError, stError>& errores) {
    if (fila.CodigoModelo != GetCodModelo().Left(3))
        return Fallo(*this, errores, error::FilaModelo, fila);
    if (AnioFuera(fila.AnioDevengo))
        return Fallo(*this, errores, error::FilaAnio, fila);
    if (fila.AnioDevengo != ref.AnioDevengo)
        return Fallo(*this, errores, error::FilaAnioDistinto, fila);
    if (MesFuera(fila.MesDevengo))
        return Fallo(*this, errores, error::FilaMes, fila);
    if (fila.MesDevengo != ref.MesDevengo)
        return Fallo(*this, errores, error::FilaMesDistinto, fila);
    if (!Es_Documento_Identificacion_Valido(fila.NifDeclarante, false))
        return Fallo(*this, errores, error::FilaNifDeclarante, fila);
    if (fila.NifDeclarante != ref.NifDeclarante)
        return Fallo(*this, errores, error::FilaDeclaranteDistinto, fila);
    if (!Es_Documento_Identificacion_Valido(fila.NifTercero, false))
        return Fallo(*this, errores, error::FilaNifTercero, fila);
    if (fila.NifTercero == ref.NifDeclarante)
        return Fallo(*this, errores, error::FilaTerceroDeclarante, fila);
    if (fila.NombreTercero.IsEmpty())
        return Fallo(*this, errores, error::FilaNombreTercero, fila);
    const int tipo = EnteroInicial(fila.TipoDocumento);
    if (tipo < 1 || tipo > 4)
        return Fallo(*this, errores, error::FilaTipoDocumento, fila);
    if (fila.TipoDocumento != "4" && !fila.DescripcionOtros.IsEmpty())
        return Fallo(*this, errores, error::FilaDescripcionSobra, fila);
    if (fila.TipoDocumento == "4" && fila.DescripcionOtros.IsEmpty())
        return Fallo(*this, errores, error::FilaDescripcionFalta, fila);
    if (fila.Referencia.IsEmpty())
        return Fallo(*this, errores, error::FilaReferencia, fila);
    if (!EsNumero(fila.Importe) || Currency2Double(fila.Importe) == 0 ||
        fila.Importe.GetLength() < 15)
        return Fallo(*this, errores, error::FilaImporte, fila);
    if (!fila.Resto.IsEmpty())
        return Fallo(*this, errores, error::FilaResto, fila);
    return false;
}
