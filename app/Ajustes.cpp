#include "Ajustes.h"

#include "CasosDeUso.h"
#include "Modelo/base/Funciones.h"

namespace casos {

namespace {
constexpr const char* kFormulario = "formulario_nueva";
constexpr const char* kPeriodo = "periodo_nueva";
constexpr const char* kMesEnCurso = "en_curso";
} // namespace

AjustesNueva LeerAjustes(CHost& host) {
    CBaseDatos::Transaccion t(host.BaseDatos(), CBaseDatos::Transaccion::Lectura);
    AjustesNueva a;
    a.presentadorNif = AfxAjuste("presentador_nif");
    a.presentadorNombre = AfxAjuste("presentador_nombre");
    a.formulario = AfxAjuste(kFormulario);
    a.mesEnCurso = AfxAjuste(kPeriodo) == kMesEnCurso;
    t.Confirmar();
    return a;
}

void FijarFormularioPorDefecto(CHost& host, const CString& formulario) {
    if (!formulario.IsEmpty() && !host.Plugins().Buscar(formulario))
        throw ErrorUsuario("Formulario desconocido: " + CitaBreve(formulario));
    CBaseDatos::Transaccion t(host.BaseDatos());
    AfxFijarAjuste(kFormulario, formulario);
    t.Confirmar();
}

void FijarMesEnCurso(CHost& host, bool mesEnCurso) {
    CBaseDatos::Transaccion t(host.BaseDatos());
    AfxFijarAjuste(kPeriodo, mesEnCurso ? kMesEnCurso : "anterior");
    t.Confirmar();
}

bool GuardarAjustes(CHost& host, const AjustesNueva& a) {
    CBaseDatos::Transaccion t(host.BaseDatos());
    FijarFormularioPorDefecto(host, a.formulario);
    FijarMesEnCurso(host, a.mesEnCurso);
    bool hay = true;
    if (a.presentadorNif.IsEmpty() && a.presentadorNombre.IsEmpty()) {
        AfxFijarAjuste("presentador_nif", "");
        AfxFijarAjuste("presentador_nombre", "");
    } else {
        hay = FijarPresentador(host, a.presentadorNif, a.presentadorNombre);
    }
    t.Confirmar();
    return hay;
}

CString FormularioPorDefecto(CHost& host) {
    // A form set once and not loaded now (its plug-in was removed) falls back to the first.
    const CString f = AfxAjuste(kFormulario);
    if (!f.IsEmpty() && host.Plugins().Buscar(f))
        return f;
    const auto& plugins = host.Plugins().Plugins();
    return plugins.empty() ? CString() : plugins.front().codigo;
}

void PeriodoPorDefecto(CHost& host, const COleDateTime& hoy, CString& mes, CString& anio) {
    CBaseDatos::Transaccion t(host.BaseDatos(), CBaseDatos::Transaccion::Lectura);
    int m = hoy.GetMonth(), a = hoy.GetYear();
    if (AfxAjuste(kPeriodo) != kMesEnCurso && --m == 0) {
        m = 12;
        --a;
    }
    mes = CString::Formatted("%02d", m);
    anio = CString::Formatted("%04d", a);
    t.Confirmar();
}

} // namespace casos
