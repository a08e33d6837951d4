// The host's check of the format of every filled box, by the catalogue the form hands it.
#include "Modelo/base/Funciones.h"
#include "Modelo/document/CodigosHost.h"
#include "Modelo/document/GuiaDoc.h"
#include "Modelo/store/BaseDatos.h"

#include <cstdlib>

namespace {

bool SoloDigitos(std::string_view t) {
    if (t.empty())
        return false;
    for (char c : t)
        if (!texto::EsDigito(c))
            return false;
    return true;
}

bool DosCifrasEntre(const CString& t, int minimo, int maximo) {
    if (t.GetLength() != 2 || !SoloDigitos(t.view()))
        return false;
    const int n = std::atoi(t);
    return n >= minimo && n <= maximo;
}

// The code tables are read from the database, not from the document's copies: a document's
// municipality table holds one province at a time, and only while a view asks for it.
// Without a database there is nothing to check against.
bool EnTabla(const char* sql, std::vector<ValorSql> parametros) {
    CBaseDatos* db = CBaseDatos::Actual();
    return !db || !db->EstaAbierta() || db->Valor(sql, parametros) != "0";
}

} // namespace

CString NombreFormato(FormatoCasilla formato) {
    switch (formato) {
    case FormatoCasilla::Texto:
        return "texto";
    case FormatoCasilla::Fija:
        return "la escribe el programa";
    case FormatoCasilla::Cuenta:
        return "número entero";
    case FormatoCasilla::Importe:
        return "importe (1.244,50)";
    case FormatoCasilla::Total:
        return "importe, suma de otras casillas";
    case FormatoCasilla::Mes:
        return "mes (01 a 12)";
    case FormatoCasilla::MesLetra:
        return "mes en letra (ENERO)";
    case FormatoCasilla::Dia:
        return "día (01 a 31)";
    case FormatoCasilla::Anio:
        return "año (cuatro cifras)";
    case FormatoCasilla::Digitos:
        return "cifras";
    case FormatoCasilla::CodigoPostal:
        return "código postal (cinco cifras)";
    case FormatoCasilla::Nif:
    case FormatoCasilla::NifInterviniente:
        return "NIF";
    case FormatoCasilla::TipoVia:
        return "código de tipo de vía";
    case FormatoCasilla::Provincia:
        return "código de provincia";
    case FormatoCasilla::Municipio:
        return "código de municipio";
    case FormatoCasilla::Marca:
        return "marca (S o vacía)";
    case FormatoCasilla::Fecha:
        return "fecha (15/04/2024)";
    }
    return CString();
}

bool LeerImporteMoneda(const CString& texto, long long& centimos, int maxEnteros) {
    const std::string_view s = texto.view();
    const size_t coma = s.find(',');
    if (coma == std::string_view::npos || s.size() - coma - 1 != 2 ||
        !SoloDigitos(s.substr(coma + 1)) || coma == 0)
        return false;
    const std::string_view entera = s.substr(0, coma);
    const bool agrupada = entera.find('.') != std::string_view::npos;
    long long unidades = 0;
    int cifras = 0;
    for (size_t i = 0; i < entera.size(); ++i) {
        const char c = entera[i];
        if (c == '.') {
            // A dot stands before every group of three, counted from the comma.
            if (i == 0 || (entera.size() - i - 1) % 4 != 3)
                return false;
            continue;
        }
        if (!texto::EsDigito(c))
            return false;
        if (agrupada && (entera.size() - i) % 4 == 0)
            return false; // a digit where a dot must stand
        if (++cifras > maxEnteros || cifras > 15)
            return false;
        unidades = unidades * 10 + (c - '0');
    }
    centimos = unidades * 100 + (s[coma + 1] - '0') * 10 + (s[coma + 2] - '0');
    return true;
}

std::span<const stCasillaCatalogo> CGuiaDoc::CatalogoPagina1() const {
    return {};
}

const stCasillaCatalogo* CGuiaDoc::EntradaCatalogo(int casilla) const {
    for (const stCasillaCatalogo& e : CatalogoPagina1())
        if (e.Casilla == casilla)
            return &e;
    return nullptr;
}

void CGuiaDoc::ValidarFormatoCasillas(CListaErrores& errores) const {
    constexpr int kPagina = 0;
    for (const stCasillaCatalogo& e : CatalogoPagina1()) {
        const CString valor = GetCasilla(e.Casilla, kPagina);
        if (valor.IsEmpty())
            continue; // whether a box must be filled is the form's rule
        const char* codigo = nullptr;
        long long centimos = 0;
        switch (e.Formato) {
        case FormatoCasilla::Texto:
        case FormatoCasilla::Fija:
        case FormatoCasilla::NifInterviniente: // Validar_Intervinientes_Errores_2012
            break;
        case FormatoCasilla::Cuenta:
            if (!SoloDigitos(valor.view()))
                codigo = codigo_host::FormatoCuenta;
            break;
        case FormatoCasilla::Importe:
            if (!LeerImporteMoneda(valor, centimos))
                codigo = codigo_host::FormatoImporte;
            break;
        case FormatoCasilla::Total: {
            if (!LeerImporteMoneda(valor, centimos)) {
                codigo = codigo_host::FormatoImporte;
                break;
            }
            long long suma = 0;
            bool legibles = true;
            for (int i = 0; i < e.Cuantas; ++i) {
                const CString sumando = GetCasilla(e.Relacionada + i, kPagina);
                long long c = 0;
                if (sumando.IsEmpty())
                    continue;
                legibles = legibles && LeerImporteMoneda(sumando, c);
                suma += c;
            }
            // A malformed amount has its own finding; a sum over it would only repeat it.
            if (legibles && suma != centimos)
                codigo = codigo_host::TotalDistinto;
            break;
        }
        case FormatoCasilla::Mes:
            if (!DosCifrasEntre(valor, 1, 12))
                codigo = codigo_host::FormatoMes;
            break;
        case FormatoCasilla::MesLetra:
            if (MesNumero(valor) == "00" || SoloDigitos(valor.view()))
                codigo = codigo_host::FormatoMesLetra;
            break;
        case FormatoCasilla::Dia:
            if (!DosCifrasEntre(valor, 1, 31))
                codigo = codigo_host::FormatoDia;
            break;
        case FormatoCasilla::Anio:
            if (valor.GetLength() != 4 || !SoloDigitos(valor.view()))
                codigo = codigo_host::FormatoAnio;
            break;
        case FormatoCasilla::Digitos:
            if (!SoloDigitos(valor.view()))
                codigo = codigo_host::FormatoDigitos;
            break;
        case FormatoCasilla::CodigoPostal: {
            const CString provincia = GetCasilla(e.Relacionada, kPagina);
            if (valor.GetLength() != 5 || !SoloDigitos(valor.view()))
                codigo = codigo_host::FormatoCodigoPostal;
            else if (!provincia.IsEmpty() && valor.Left(2) != provincia)
                codigo = codigo_host::CodigoPostalProvincia;
            break;
        }
        case FormatoCasilla::Nif:
            if (!Es_Documento_Identificacion_Valido(valor, false))
                codigo = codigo_host::FormatoNif;
            break;
        case FormatoCasilla::TipoVia:
            if (!EnTabla("SELECT count(*) FROM TIPOS_VIA WHERE CODIGO = ?", {valor}))
                codigo = codigo_host::TipoViaDesconocido;
            break;
        case FormatoCasilla::Provincia:
            if (!EnTabla("SELECT count(*) FROM PROVINCIAS WHERE CODIGO = ?", {valor}))
                codigo = codigo_host::ProvinciaDesconocida;
            break;
        case FormatoCasilla::Municipio:
            if (!EnTabla("SELECT count(*) FROM MUNICIPIOS WHERE PROVINCIA = ? AND CODIGO = ?",
                         {GetCasilla(e.Relacionada, kPagina), valor}))
                codigo = codigo_host::MunicipioDesconocido;
            break;
        case FormatoCasilla::Marca:
            if (valor != kCasillaMarcada)
                codigo = codigo_host::FormatoMarca;
            break;
        case FormatoCasilla::Fecha:
            if (Str2Time(valor).GetStatus() != COleDateTime::valid)
                codigo = codigo_host::FormatoFecha;
            break;
        }
        if (codigo)
            errores.Add(stError(e.Casilla, kPagina, codigo, "", ""));
    }
}
