#include "Plugins.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>
#include <utility>

namespace fs = std::filesystem;

namespace {
using FnModInfo = void (*)(CString*, CString*, CString*, CString*);
using FnCrear = CGuiaDoc* (*)();

// A form plug-in is named libModNNN.so; the framework library itself is not one.
bool EsNombreDePlugin(const std::string& nombre) {
    return nombre.size() > 9 && nombre.rfind("libMod", 0) == 0 && nombre != "libModelo.so" &&
           nombre.compare(nombre.size() - 3, 3, ".so") == 0;
}

// Why the plug-in's table of operations cannot be used, or "" when it can. A table of another
// version would be read with the wrong layout, so nothing of it is touched past its header.
CString ProblemaDeOperaciones(const OperacionesFormulario* t) {
    if (!t)
        return "no trae la tabla de operaciones del formulario";
    if (t->version != kVersionOperaciones || t->tamano != sizeof(OperacionesFormulario))
        return CString::Formatted("es de otra versión del programa (operaciones %u de %u "
                                  "bytes; este programa usa las %u de %zu bytes)",
                                  t->version, t->tamano, kVersionOperaciones,
                                  sizeof(OperacionesFormulario));
    // The import is the one operation a form may lack: its page 1 may not offer it.
    const std::pair<const char*, bool> entradas[] = {
        {"cuota", t->cuota != nullptr},
        {"tramos", t->tramos != nullptr},
        {"intervinientes", t->intervinientes != nullptr},
        {"periodo", t->periodo != nullptr},
        {"corregir", t->corregir != nullptr},
        {"sujeto", t->sujeto.nif > 0},
    };
    for (const auto& [nombre, presente] : entradas)
        if (!presente)
            return "no trae la operación " + CString(nombre);
    return CString();
}
} // namespace

CargadorPlugins::~CargadorPlugins() {
    for (auto it = plugins_.rbegin(); it != plugins_.rend(); ++it)
        dlclose(it->handle);
}

void CargadorPlugins::CargarCarpeta(const CString& carpeta) {
    std::error_code ec;
    std::vector<fs::path> ficheros;
    for (const auto& entrada : fs::directory_iterator(carpeta.str(), ec))
        if (entrada.is_regular_file(ec) && EsNombreDePlugin(entrada.path().filename().string()))
            ficheros.push_back(entrada.path());
    if (ec) {
        errores_.push_back("No se puede leer la carpeta de módulos " + carpeta + ": " +
                           CString(ec.message()));
        return;
    }
    std::sort(ficheros.begin(), ficheros.end());
    for (const fs::path& ruta : ficheros) {
        const CString nombre(ruta.filename().string());
        void* handle = dlopen(ruta.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* motivo = dlerror();
            errores_.push_back("No se puede cargar el módulo " + nombre + ": " +
                               CString(motivo ? motivo : "motivo desconocido"));
            continue;
        }
        auto modInfo = reinterpret_cast<FnModInfo>(dlsym(handle, "DllModInfo"));
        auto crear = reinterpret_cast<FnCrear>(dlsym(handle, "DllCrearModelo"));
        if (!modInfo || !crear) {
            errores_.push_back("El fichero " + nombre + " no es un módulo de formulario");
            dlclose(handle);
            continue;
        }
        auto operaciones =
            reinterpret_cast<FnOperacionesFormulario>(dlsym(handle, kExportOperaciones));
        const OperacionesFormulario* tabla = operaciones ? operaciones() : nullptr;
        if (const CString problema = ProblemaDeOperaciones(tabla); !problema.IsEmpty()) {
            errores_.push_back("El módulo " + nombre + " " + problema);
            dlclose(handle);
            continue;
        }
        Plugin p;
        p.fichero = nombre;
        p.handle = handle;
        p.crear = crear;
        p.operaciones = tabla;
        modInfo(&p.codigo, &p.version, &p.titulo, &p.periodo);
        if (p.codigo.IsEmpty() || Buscar(p.codigo)) {
            errores_.push_back("El módulo " + nombre +
                               (p.codigo.IsEmpty() ? CString(" no dice qué formulario es")
                                                   : " repite el formulario " + p.codigo));
            dlclose(handle);
            continue;
        }
        plugins_.push_back(p);
    }
}

const CargadorPlugins::Plugin* CargadorPlugins::Buscar(const CString& codigoFormulario) const {
    for (const Plugin& p : plugins_)
        if (p.codigo == codigoFormulario)
            return &p;
    return nullptr;
}

CString CarpetaDelPrograma() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? CString(".") : CString(exe.parent_path().string());
}
