// The host's checks of dates, receipt numbers and parties.
#include "Modelo/base/Funciones.h"
#include "Modelo/document/CasillasHost.h"
#include "Modelo/document/CodigosHost.h"
#include "Modelo/document/GuiaDoc.h"
#include "Modelo/store/BaseDatos.h"

#include <cstdlib>

namespace {

bool SoloDigitos(const CString& t, int minimo, int maximo) {
    if (t.GetLength() < minimo || t.GetLength() > maximo)
        return false;
    for (int i = 0; i < t.GetLength(); ++i)
        if (!texto::EsDigito(t[i]))
            return false;
    return true;
}

// The first period for which the form has a tariff, as "YYYY-MM"; "" when it has none.
CString PrimerPeriodoConTarifa(const CString& formulario) {
    CBaseDatos* db = CBaseDatos::Actual();
    if (!db || !db->EstaAbierta())
        return CString();
    return db->Valor("SELECT substr(min(FECDESDE), 1, 7) FROM PATARIFA WHERE "
                     "substr(CDMODELO, 1, length(?)) = ?",
                     {formulario, formulario});
}

} // namespace

bool CGuiaDoc::Es_Documento_Identificacion_Valido(const CString& nif, bool soloPersonasFisicas) {
    return DocumentoIdentificacionValido(nif, soloPersonasFisicas);
}

bool CGuiaDoc::ValidarFechaString(const CString& dia, const CString& mes, const CString& anio) {
    if (!SoloDigitos(dia, 1, 2) || !SoloDigitos(mes, 1, 2) || !SoloDigitos(anio, 4, 4))
        return false;
    return COleDateTime::IsValidDate(std::atoi(anio), std::atoi(mes), std::atoi(dia));
}

bool CGuiaDoc::ValidarNumJustificante(const CString& formulario, const CString& numero) {
    if (!SoloDigitos(numero, 13, 13) || formulario.GetLength() != 3 || numero.Left(3) != formulario)
        return false;
    return numero.Mid(3) != "0000000000";
}

bool CGuiaDoc::EsNumero(const CString& texto) {
    return SoloDigitos(texto, 1, 1 << 20);
}

CString CGuiaDoc::ValidarFechaDevengo(const CString& formulario, const CString& tipoPeriodo,
                                      const CString& mes, const CString& anio, const CString&) {
    if (tipoPeriodo != "1")
        return codigo_host::TipoPeriodo;
    if (!SoloDigitos(mes, 1, 2) || std::atoi(mes) < 1 || std::atoi(mes) > 12)
        return codigo_host::MesDevengo;
    if (!SoloDigitos(anio, 4, 4))
        return codigo_host::AnioDevengo;
    const CString periodo = anio + "-" + CString::Formatted("%02d", std::atoi(mes));
    if (periodo > COleDateTime::GetCurrentTime().Format("%Y-%m"))
        return codigo_host::DevengoFuturo;
    const CString primero = PrimerPeriodoConTarifa(formulario);
    if (primero.IsEmpty() || periodo < primero)
        return codigo_host::DevengoSinTarifa;
    return CString();
}

CString CGuiaDoc::ValidarFechaDevengo(const CString& formulario, const CString& mes,
                                      const CString& anio) {
    return ValidarFechaDevengo(formulario, "1", mes, anio, "");
}

CString CGuiaDoc::ValidarFechaPresentacion(const CString& dia1, const CString& mes1,
                                           const CString& anio1, const CString& dia2,
                                           const CString& mes2, const CString& anio2) {
    if (!ValidarFechaString(dia1, mes1, anio1) || !ValidarFechaString(dia2, mes2, anio2))
        return codigo_host::FechaInvalida;
    const COleDateTime primera(std::atoi(anio1), std::atoi(mes1), std::atoi(dia1), 0, 0, 0);
    const COleDateTime segunda(std::atoi(anio2), std::atoi(mes2), std::atoi(dia2), 0, 0, 0);
    return segunda < primera ? CString(codigo_host::FechaAnterior) : CString();
}

// The parties of a declaration, at the boxes of the host's layout (CasillasHost.h) from the
// taxpayer's group on: a filled identification number must be valid, and needs a name.
bool CGuiaDoc::Validar_Intervinientes_Errores_2012(CListaErrores& errores, int casillaInicial,
                                                   CString) {
    struct Parte {
        int nif, nombre;
        const char* codigoNif;
        const char* codigoNombre;
    };
    using namespace casilla_host;
    const int representante = casillaInicial + DesplazamientoRepresentante;
    const Parte partes[] = {
        {casillaInicial, casillaInicial + DesplazamientoNombre, codigo_host::NifSujeto,
         codigo_host::NombreSujeto},
        {representante, representante + DesplazamientoNombre, codigo_host::NifRepresentante,
         codigo_host::NombreRepresentante},
        {PresentadorNif, PresentadorNombre, codigo_host::NifPresentador,
         codigo_host::NombrePresentador},
    };
    for (const Parte& p : partes) {
        const CString nif = GetCasilla(p.nif, 0);
        if (nif.IsEmpty())
            continue;
        if (!Es_Documento_Identificacion_Valido(nif, false))
            errores.Add(stError(p.nif, 0, p.codigoNif, "", ""));
        else if (GetCasilla(p.nombre, 0).IsEmpty())
            errores.Add(stError(p.nif, 0, p.codigoNombre, "", ""));
    }
    return true;
}
