// The running host: its database, its plug-ins and its store, and the way a declaration is
// opened as a form document, exactly as the window and the command line both need it.
#pragma once

#include "Almacen.h"
#include "Plugins.h"

#include <map>
#include <memory>
#include <stdexcept>

// A request the host refuses: bad input, an unknown code, a final declaration. The message is
// the one line a person reads; nothing was changed.
class ErrorUsuario : public std::runtime_error {
public:
    explicit ErrorUsuario(const CString& mensaje) : std::runtime_error(mensaje.str()) {}
};

class CHost {
public:
    // Opens (creating and seeding when new) the database and loads the plug-ins of the folder.
    CHost(const CString& rutaBD, const CString& carpetaPlugins);
    ~CHost();

    CBaseDatos& BaseDatos() { return db_; }
    CargadorPlugins& Plugins() { return plugins_; }
    CAlmacenDeclaraciones& Almacen() { return almacen_; }

    // A new declaration of the form, with its pages and defaults, stored under a new code.
    std::unique_ptr<CGuiaDoc> Nueva(const CString& formulario, const CString& mes,
                                    const CString& anio);
    // The summary of a stored declaration; refused (ErrorUsuario) when there is none.
    CAlmacenDeclaraciones::Resumen Buscar(const CString& codigo);
    // A stored declaration as a document of its form's plug-in.
    std::unique_ptr<CGuiaDoc> Abrir(const CString& codigo);
    // Saves the document: replicates its pages first, then stores it in one transaction.
    void Guardar(CGuiaDoc& doc);
    // A document of the form that belongs to no stored declaration (for questions such as the
    // quota of an amount).
    std::unique_ptr<CGuiaDoc> Suelto(const CString& formulario);
    // The form's own operations (Modelo/OperacionesFormulario.h), each one unit of work on the
    // database.
    double Cuota(CGuiaDoc& doc, double importe, const COleDateTime& fecha);
    CStringArray Tramos(CGuiaDoc& doc, const COleDateTime& fecha);
    void RellenarIntervinientes(CGuiaDoc& doc);
    void Corregir(CGuiaDoc& doc, const DeclaracionAnterior& anterior);
    // What a complementary or substitutive declaration of a final one writes of it.
    static DeclaracionAnterior Anterior(const CAlmacenDeclaraciones::Resumen& previa,
                                        TipoCorreccion tipo);
    // Whether page 1 of the document's form offers the import of the data file.
    bool OfreceImportacion(const CGuiaDoc& doc);
    // The import as the person starts it on page 1 (the file dialog asks the services); throws
    // ErrorUsuario when the form offers none. It runs in the caller's transaction, if any: a
    // dialog may stay open in the middle of it.
    ResultadoImportacion Importar(CGuiaView& pagina1);
    // The taxpayer of a stored declaration as its form keeps it: number and name (the parts
    // joined by spaces); empty when the form's plug-in is not loaded.
    struct Sujeto {
        CString nif, nombre;
    };
    Sujeto SujetoDe(const CString& codigo, const CString& modelo);
    // The taxpayers of every stored declaration of a model code, by declaration code.
    std::map<CString, Sujeto> SujetosDelModelo(const CString& modelo);
    // The same of an open declaration, as its page 1 shows it now (what is being typed too).
    Sujeto SujetoDe(const CGuiaView& pagina1);
    // Refuses to go on unless the declaration may still change: as the document read it, or
    // as the store holds it now.
    static void ExigirBorrador(const CGuiaDoc& doc);
    static void ExigirBorrador(const CAlmacenDeclaraciones::Resumen& r);

private:
    std::unique_ptr<CGuiaDoc> Crear(const CargadorPlugins::Plugin& plugin);
    const CargadorPlugins::Plugin& PluginDe(const CString& formulario);
    const OperacionesFormulario& OperacionesDe(const CGuiaDoc& doc);
    CBaseDatos db_;
    CargadorPlugins plugins_;
    CAlmacenDeclaraciones almacen_;
};

// Where the database lives when no --db is given: $XDG_DATA_HOME/modelo/modelo.db, or
// ~/.local/share/modelo/modelo.db.
CString RutaBDPorDefecto();
