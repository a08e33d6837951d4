#include "Host.h"

#include "Modelo/base/Funciones.h"
#include "Modelo/windows/GuiaView.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>

namespace fs = std::filesystem;

CString RutaBDPorDefecto() {
    // An office names its server once, in the environment of every desk.
    if (const char* elegida = std::getenv("MODELO_DB"); elegida && *elegida)
        return CString(elegida);
    const char* xdg = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".local" / "share";
    else
        base = ".";
    return CString((base / "modelo" / "modelo.db").string());
}

CHost::CHost(const CString& rutaBD, const CString& carpetaPlugins) : almacen_(db_) {
    std::error_code ec;
    const fs::path carpetaBD = fs::path(rutaBD.str()).parent_path();
    if (!carpetaBD.empty() && !EsUriServidor(rutaBD))
        fs::create_directories(carpetaBD, ec);
    db_.Abrir(rutaBD);
    CBaseDatos::FijarActual(&db_);
    plugins_.CargarCarpeta(carpetaPlugins);
}

CHost::~CHost() {
    if (CBaseDatos::Actual() == &db_)
        CBaseDatos::FijarActual(nullptr);
}

std::unique_ptr<CGuiaDoc> CHost::Crear(const CargadorPlugins::Plugin& plugin) {
    std::unique_ptr<CGuiaDoc> doc(plugin.crear());
    if (!doc)
        throw ErrorUsuario("El módulo " + plugin.fichero + " no pudo crear el documento");
    if (!doc->CrearEstructPaginas())
        throw ErrorUsuario("El módulo " + plugin.fichero + " no pudo crear sus páginas");
    for (int i = 0; i < doc->NumPaginas(); ++i) {
        stPagina pagina = doc->GetPagina(i);
        if (doc->AsociarTiposEjemplares(&pagina))
            doc->SetPagina(i, pagina);
    }
    if (!doc->CargarTablasAuxiliares())
        throw ErrorUsuario("No se pudieron leer las tablas de códigos de la base de datos");
    almacen_.Conectar(*doc);
    return doc;
}

const CargadorPlugins::Plugin& CHost::PluginDe(const CString& formulario) {
    const CargadorPlugins::Plugin* plugin = plugins_.Buscar(formulario);
    if (!plugin)
        throw ErrorUsuario("Formulario desconocido: " + CitaBreve(formulario));
    return *plugin;
}

std::unique_ptr<CGuiaDoc> CHost::Suelto(const CString& formulario) {
    return Crear(PluginDe(formulario));
}

const OperacionesFormulario& CHost::OperacionesDe(const CGuiaDoc& doc) {
    return *PluginDe(doc.GetCodModelo().Left(3)).operaciones;
}

// One unit of work on the database: a read lock taken once, not once per query. A command that
// changes the store holds its write transaction around these.
double CHost::Cuota(CGuiaDoc& doc, double importe, const COleDateTime& fecha) {
    CBaseDatos::Transaccion t(db_, CBaseDatos::Transaccion::Lectura);
    const double cuota = OperacionesDe(doc).cuota(doc, importe, fecha);
    t.Confirmar();
    return cuota;
}

CStringArray CHost::Tramos(CGuiaDoc& doc, const COleDateTime& fecha) {
    CBaseDatos::Transaccion t(db_, CBaseDatos::Transaccion::Lectura);
    CStringArray limites;
    if (!OperacionesDe(doc).tramos(doc, fecha, limites))
        throw ErrorUsuario("No se pudieron leer los tramos del formulario " +
                           doc.GetCodModelo().Left(3));
    t.Confirmar();
    return limites;
}

void CHost::RellenarIntervinientes(CGuiaDoc& doc) {
    CBaseDatos::Transaccion t(db_, CBaseDatos::Transaccion::Lectura);
    OperacionesDe(doc).intervinientes(doc);
    t.Confirmar();
}

void CHost::Corregir(CGuiaDoc& doc, const DeclaracionAnterior& anterior) {
    OperacionesDe(doc).corregir(doc, anterior);
}

// The earlier declaration became final when it was filed: its code is the receipt number, that
// moment the presentation date, its serial the presentation number.
DeclaracionAnterior CHost::Anterior(const CAlmacenDeclaraciones::Resumen& previa,
                                    TipoCorreccion tipo) {
    DeclaracionAnterior a;
    a.tipo = tipo;
    a.justificante = previa.codigo;
    a.presentacion = CAlmacenDeclaraciones::Dia(previa.modificada);
    a.anio = std::atoi(previa.anio);
    if (a.anio <= 0)
        a.anio = a.presentacion.GetYear();
    a.numeroPresentacion = previa.codigo.Right(6);
    return a;
}

bool CHost::OfreceImportacion(const CGuiaDoc& doc) {
    return OperacionesDe(doc).importar != nullptr;
}

ResultadoImportacion CHost::Importar(CGuiaView& pagina1) {
    CGuiaDoc& doc = *pagina1.GetDocument();
    const OperacionesFormulario& op = OperacionesDe(doc);
    if (!op.importar)
        throw ErrorUsuario("El formulario " + doc.GetCodModelo().Left(3) +
                           " no tiene importación de fichero");
    return op.importar(pagina1);
}

namespace {
[[noreturn]] void RechazarDefinitiva(const CString& codigo) {
    throw ErrorUsuario("La declaración " + codigo + " es definitiva y ya no se puede modificar");
}
} // namespace

void CHost::ExigirBorrador(const CGuiaDoc& doc) {
    if (!doc.PermiteCambios())
        RechazarDefinitiva(doc.GetCodDeclar());
}

void CHost::ExigirBorrador(const CAlmacenDeclaraciones::Resumen& r) {
    if (r.estado != estado::Borrador)
        RechazarDefinitiva(r.codigo);
}

std::unique_ptr<CGuiaDoc> CHost::Nueva(const CString& formulario, const CString& mes,
                                       const CString& anio) {
    std::unique_ptr<CGuiaDoc> doc = Crear(PluginDe(formulario));
    doc->SetPeriodo(mes, anio);
    CBaseDatos::Transaccion t(db_);
    almacen_.Registrar(*doc);
    if (!doc->NuevosDatos(doc->GetCodDeclar(), mes, anio, ""))
        throw ErrorUsuario("El formulario " + CitaBreve(formulario) +
                           " no pudo iniciar la declaración; no se ha guardado nada");
    Guardar(*doc);
    t.Confirmar();
    return doc;
}

CAlmacenDeclaraciones::Resumen CHost::Buscar(const CString& codigo) {
    const auto resumen = almacen_.Buscar(codigo);
    if (!resumen) {
        // A damaged file can lose a row without an error: "there is none" must be true.
        db_.ExigirIntegra();
        throw ErrorUsuario("No existe la declaración " + CitaBreve(codigo));
    }
    return *resumen;
}

std::unique_ptr<CGuiaDoc> CHost::Abrir(const CString& codigo) {
    // One snapshot: the summary, the code tables and the boxes all of the same moment.
    CBaseDatos::Transaccion t(db_, CBaseDatos::Transaccion::Lectura);
    const CAlmacenDeclaraciones::Resumen resumen = Buscar(codigo);
    const CargadorPlugins::Plugin* plugin = plugins_.Buscar(resumen.modelo.Left(3));
    if (!plugin)
        throw ErrorUsuario("La declaración " + codigo + " es del modelo " + resumen.modelo +
                           ", cuyo módulo no está cargado");
    std::unique_ptr<CGuiaDoc> doc = Crear(*plugin);
    if (doc->GetCodModelo() != resumen.modelo)
        throw ErrorUsuario("La declaración " + codigo + " es del modelo " + resumen.modelo +
                           " y el módulo cargado es del " + doc->GetCodModelo());
    if (!doc->CargarDatos(codigo, false, false))
        throw ErrorUsuario("No se pudo leer la declaración " + codigo);
    t.Confirmar();
    return doc;
}

void CHost::Guardar(CGuiaDoc& doc) {
    if (!doc.ReplicarDatos())
        throw ErrorUsuario("El formulario no pudo copiar la página 1 en la página 2");
    // The period shown in the list of declarations follows what the declaration holds.
    const PeriodoDevengo periodo = OperacionesDe(doc).periodo(doc);
    doc.SetPeriodo(periodo.mes > 0 ? CString::Formatted("%02d", periodo.mes) : CString(),
                   periodo.anio > 0 ? CString::Formatted("%d", periodo.anio) : CString());
    almacen_.Guardar(doc);
    doc.SetModifiedFlag(false);
}

namespace {

// A name printed over several boxes reads as one text, its empty parts left out.
CHost::Sujeto UnirSujeto(const CasillasSujeto& casillas, const std::function<CString(int)>& valor) {
    CHost::Sujeto s;
    s.nif = valor(casillas.nif);
    for (int c : casillas.nombre) {
        const CString parte = valor(c);
        if (!parte.IsEmpty())
            s.nombre += (s.nombre.IsEmpty() ? "" : " ") + parte;
    }
    return s;
}

} // namespace

CHost::Sujeto CHost::SujetoDe(const CString& codigo, const CString& modelo) {
    const CargadorPlugins::Plugin* plugin = plugins_.Buscar(modelo.Left(3));
    if (!plugin)
        return {};
    const CasillasSujeto& casillas = plugin->operaciones->sujeto;
    std::vector<int> buscadas = {casillas.nif};
    buscadas.insert(buscadas.end(), std::begin(casillas.nombre), std::end(casillas.nombre));
    const std::map<int, CString> valores = almacen_.CasillasP1(codigo, buscadas);
    return UnirSujeto(casillas, [&](int c) { return valores.at(c); });
}

std::map<CString, CHost::Sujeto> CHost::SujetosDelModelo(const CString& modelo) {
    std::map<CString, Sujeto> sujetos;
    const CargadorPlugins::Plugin* plugin = plugins_.Buscar(modelo.Left(3));
    if (!plugin)
        return sujetos;
    const CasillasSujeto& casillas = plugin->operaciones->sujeto;
    std::vector<int> buscadas = {casillas.nif};
    buscadas.insert(buscadas.end(), std::begin(casillas.nombre), std::end(casillas.nombre));
    for (const auto& [codigo, valores] : almacen_.CasillasP1DelModelo(modelo, buscadas))
        sujetos[codigo] = UnirSujeto(casillas, [&](int c) {
            const auto v = valores.find(c);
            return v == valores.end() ? CString() : v->second;
        });
    return sujetos;
}

CHost::Sujeto CHost::SujetoDe(const CGuiaView& pagina1) {
    const CGuiaDoc& doc = *pagina1.GetDocument();
    return UnirSujeto(OperacionesDe(doc).sujeto, [&](int casilla) {
        const PlantillaDialogo* plantilla = pagina1.Plantilla();
        const ControlPlantilla* c = plantilla ? plantilla->ControlDeCasilla(casilla) : nullptr;
        const CWnd* control = c ? pagina1.GetDlgItem(c->id) : nullptr;
        return control ? control->GetWindowText() : doc.GetCasilla(casilla, 0);
    });
}
