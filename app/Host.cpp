#include "Host.h"

#include "Modelo/Funciones.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

CString RutaBDPorDefecto() {
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
    if (!carpetaBD.empty())
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

CStringArray CHost::Operacion(CGuiaDoc& doc, const char* nombre, const CStringArray& args) {
    const CargadorPlugins::Plugin& plugin = PluginDe(doc.GetCodModelo().Left(3));
    CStringArray resultado;
    // One unit of work on the database: a read lock taken once, not once per query (an
    // import runs one quota query per document). A command that changes the store holds its
    // write transaction around this one.
    CBaseDatos::Transaccion t(db_, CBaseDatos::Transaccion::Lectura);
    if (!plugin.operacion || !plugin.operacion(&doc, nombre, &args, &resultado))
        throw ErrorUsuario("El formulario " + plugin.codigo + " no ofrece la operación " +
                           CString(nombre));
    t.Confirmar();
    return resultado;
}

bool CHost::Ofrece(CGuiaDoc& doc, const char* nombre) {
    const CargadorPlugins::Plugin& plugin = PluginDe(doc.GetCodModelo().Left(3));
    return plugin.operacion && plugin.operacion(&doc, nombre, nullptr, nullptr);
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
    const CargadorPlugins::Plugin& plugin = PluginDe(doc.GetCodModelo().Left(3));
    const CStringArray ninguno;
    CStringArray periodo;
    if (plugin.operacion && plugin.operacion(&doc, "periodo", &ninguno, &periodo) &&
        periodo.GetSize() == 2)
        doc.SetPeriodo(periodo[0], periodo[1]);
    almacen_.Guardar(doc);
    doc.SetModifiedFlag(false);
}

CHost::Sujeto CHost::SujetoDe(const CString& codigo, const CString& modelo) {
    const CString formulario = modelo.Left(3);
    auto it = casillasSujeto_.find(formulario);
    if (it == casillasSujeto_.end()) {
        std::vector<int> casillas;
        if (plugins_.Buscar(formulario)) {
            auto doc = Suelto(formulario);
            if (Ofrece(*doc, "sujeto"))
                for (const CString& c : Operacion(*doc, "sujeto", CStringArray()))
                    casillas.push_back(std::atoi(c));
        }
        it = casillasSujeto_.emplace(formulario, std::move(casillas)).first;
    }
    Sujeto s;
    if (it->second.empty())
        return s;
    const std::map<int, CString> valores = almacen_.CasillasP1(codigo, it->second);
    s.nif = valores.at(it->second[0]);
    for (size_t i = 1; i < it->second.size(); ++i) {
        const CString& parte = valores.at(it->second[i]);
        if (!parte.IsEmpty())
            s.nombre += (s.nombre.IsEmpty() ? "" : " ") + parte;
    }
    return s;
}
