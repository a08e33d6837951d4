// Finds the form plug-ins in a folder, loads them and keeps them loaded while the program runs.
#pragma once

#include "Modelo/document/GuiaDoc.h"
#include "Modelo/windows/OperacionesFormulario.h"

#include <memory>
#include <vector>

class CargadorPlugins {
public:
    struct Plugin {
        CString fichero;
        void* handle = nullptr;
        CString codigo, version, titulo, periodo;
        CGuiaDoc* (*crear)() = nullptr;
        // The form's operations, checked at load: of this program's version, every entry
        // there but those a form may lack.
        const OperacionesFormulario* operaciones = nullptr;
    };

    CargadorPlugins() = default;
    ~CargadorPlugins(); // unloads every plug-in: no document of theirs may outlive this
    CargadorPlugins(const CargadorPlugins&) = delete;
    CargadorPlugins& operator=(const CargadorPlugins&) = delete;

    // Loads every plug-in of the folder. One that fails is recorded in Errores() by name and
    // the others are still loaded.
    void CargarCarpeta(const CString& carpeta);

    const std::vector<Plugin>& Plugins() const { return plugins_; }
    const std::vector<CString>& Errores() const { return errores_; }
    // The plug-in of a form code ("863"), or null.
    const Plugin* Buscar(const CString& codigoFormulario) const;

private:
    std::vector<Plugin> plugins_;
    std::vector<CString> errores_;
};

// The folder the running program lives in (where the plug-ins are by default).
CString CarpetaDelPrograma();
