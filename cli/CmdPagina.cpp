// Commands that work through page 1 as a person does: typing a declaration with every rule of
// the page, and importing the data file from the page.
#include "CasosDeUso.h"
#include "ComandosComun.h"
#include "Lote.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/services/Servicios.h"
#include "Modelo/windows/Persona.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

// The page's messages, counted. Everything else as the console.
class ServiciosPagina : public CServiciosConsola {
public:
    ServiciosPagina() { AfxFijarServicios(this); }
    ~ServiciosPagina() override { AfxFijarServicios(nullptr); }

    int MessageBox(const CString& texto, const CString& titulo, UINT tipo) override {
        ++mensajes;
        CString t = texto;
        t.TrimRight("\n");
        return CServiciosConsola::MessageBox(t, titulo, tipo);
    }
    // The month list a page opens under an edit: the step about to be typed there, when it
    // names a month, is picked from the list, which types the month's name as a person's
    // choice does.
    void ListaMeses(CWnd& control) override {
        const CString mes = MesNumero(eleccionPendiente);
        eleccionPendiente.Empty();
        if (mes == "00")
            return;
        control.SetWindowText(GetMesLetra(std::atoi(mes)));
        eleccionHecha = true;
    }

    int mensajes = 0;
    CString eleccionPendiente;
    bool eleccionHecha = false;
};

// The file is checked before anything is cleared: a path that cannot be read must not cost
// the user the liquidation table they have.
void ExigirLegible(const std::string& ruta) {
    std::error_code ec;
    const auto estado = std::filesystem::status(ruta, ec);
    if (ec || !std::filesystem::is_regular_file(estado))
        throw ErrorUsuario("No se puede leer el fichero " + CitaBreve(CString(ruta)) +
                           (std::filesystem::is_directory(estado) ? " (es una carpeta)" : ""));
    std::ifstream f(ruta, std::ios::binary);
    if (f)
        f.get(); // a file that opens may still refuse to be read
    if (!f && !f.eof())
        throw ErrorUsuario("No se puede leer el fichero " + CitaBreve(CString(ruta)));
}

std::unique_ptr<CGuiaView> AbrirPagina1(CGuiaDoc& doc) {
    CString error;
    std::unique_ptr<CGuiaView> vista = AbrirVistaPagina(doc, 0, error);
    if (!vista)
        throw ErrorUsuario(error);
    return vista;
}

// ----- type -------------------------------------------------------------------------------------

enum class Accion { Escribir, Pulsar, Intervinientes, Ayuda, Fecha };

struct Paso {
    std::string texto; // as given, for the messages
    Accion accion = Accion::Escribir;
    int casilla = 0;
    int id = 0; // the control the step acts on
    CString valor;
    COleDateTime fecha;
};

bool EsEdicion(ClaseControl c) {
    return c == ClaseControl::EditTrans || c == ClaseControl::EditNumber ||
           c == ClaseControl::EditDecNumber;
}

// "P1-nn=TEXT", "P1-nn:click", "P1-nn:parties", "P1-nn:help", "P1-nn@DD/MM/YYYY", "P1-nn@".
Paso LeerPaso(const std::string& s, const PlantillaDialogo& plantilla) {
    const size_t corte = s.find_first_of("=:@");
    int pagina = 0, casilla = 0;
    if (corte == std::string::npos || !LeerCasilla(s.substr(0, corte), pagina, casilla) ||
        pagina != 0)
        throw ErrorUsuario("Paso no válido: " + CitaBreve(CString(s)) +
                           " (se espera P1-nn=TEXTO, P1-nn:click, P1-nn:parties, P1-nn:help o "
                           "P1-nn@DD/MM/AAAA)");
    Paso p;
    p.texto = s;
    p.accion = Accion::Escribir;
    p.casilla = casilla;
    const std::string resto = s.substr(corte + 1);
    const ControlPlantilla* c = plantilla.ControlDeCasilla(casilla);
    auto exigir = [&](bool valido, const char* que) {
        if (!valido)
            throw ErrorUsuario("Paso no válido: " + CitaBreve(CString(s)) + ": la casilla P1-" +
                               CString::Formatted("%d", casilla) + " " + que);
    };
    switch (s[corte]) {
    case '=':
        exigir(c && EsEdicion(c->clase), "no es una casilla de texto de la página 1");
        // What no key types is refused before anything is typed: half a step would be saved.
        exigir(!texto::TieneControl(resto),
               "es de una línea y no admite caracteres de control (saltos de línea, "
               "tabuladores)");
        p.valor = resto;
        break;
    case '@':
        exigir(c && (c->clase == ClaseControl::DateTimeOpt ||
                     c->clase == ClaseControl::DateTimeFixFormat),
               "no tiene selector de fecha");
        p.accion = Accion::Fecha;
        if (!resto.empty()) {
            p.fecha = Str2Time(CString(resto));
            if (p.fecha.GetStatus() != COleDateTime::valid)
                throw ErrorUsuario("Fecha no válida en " + CitaBreve(CString(s)) + " (DD/MM/AAAA)");
        }
        break;
    default:
        if (resto == "click") {
            exigir(c && c->clase == ClaseControl::CheckBox, "no es una casilla de marcar");
            p.accion = Accion::Pulsar;
        } else if (resto == "parties" || resto == "help") {
            p.accion = resto == "parties" ? Accion::Intervinientes : Accion::Ayuda;
            c = plantilla.BotonDeFila(
                resto == "parties" ? AccionBoton::Intervinientes : AccionBoton::Ayuda, casilla);
            exigir(c != nullptr, resto == "parties" ? "no tiene botón de intervinientes"
                                                    : "no tiene botón de ayuda");
        } else {
            throw ErrorUsuario("Acción desconocida en " + CitaBreve(CString(s)) +
                               " (click, parties o help)");
        }
    }
    p.id = c->id;
    return p;
}

// Runs one step; false when the page refused what the step asked.
bool Ejecutar(const Paso& p, CGuiaView& vista, CPersona& persona, ServiciosPagina& servicios) {
    auto rechazo = [&](const CString& motivo) {
        std::fprintf(stderr, "%s: %s\n", CitaBreve(CString(p.texto)).c_str(), motivo.c_str());
        return false;
    };
    CWnd* w = vista.GetDlgItem(p.id);
    if (!w->IsWindowEnabled() || !w->IsWindowVisible())
        return rechazo("la casilla no admite datos ahora");
    switch (p.accion) {
    case Accion::Escribir: {
        const int antes = persona.Rechazados();
        servicios.eleccionPendiente = p.valor;
        servicios.eleccionHecha = false;
        persona.Enfocar(p.id);
        servicios.eleccionPendiente.Empty();
        if (!servicios.eleccionHecha)
            persona.Escribir(p.id, p.valor);
        const bool completo = persona.Rechazados() == antes;
        const CString queda = w->GetWindowText();
        // Leaving the box: its rules run, and the next step's box is entered afresh.
        persona.Salir();
        if (!completo)
            return rechazo("la casilla no admite todo lo escrito; queda \"" + CitaBreve(queda) +
                           "\"");
        return true;
    }
    case Accion::Pulsar:
    case Accion::Intervinientes:
    case Accion::Ayuda:
        persona.Pulsar(p.id);
        return true;
    case Accion::Fecha:
        if (!persona.ElegirFecha(p.id, p.fecha))
            return rechazo("el selector no admite quedarse sin fecha");
        return true;
    }
    return true;
}

void RegistrarTeclear(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo;
        std::vector<std::string> pasos;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand(
        "type", "Escribe en la página 1 como una persona, con todas sus reglas, y guarda");
    OpcionCodigo(cmd, o->codigo);
    cmd->add_option("STEP", o->pasos,
                    "P1-nn=TEXTO, P1-nn:click, P1-nn:parties, P1-nn:help, P1-nn@DD/MM/AAAA")
        ->required();
    cmd->callback([&ctx, o] {
        casos::CambioDeBorrador borrador(ctx.Host(), CString(o->codigo));
        ServiciosPagina servicios;
        auto vista = AbrirPagina1(borrador.Doc());
        std::vector<Paso> pasos;
        for (const std::string& s : o->pasos)
            pasos.push_back(LeerPaso(s, *vista->Plantilla()));
        // What the page said at load (a stored period it refuses) was not caused by the steps:
        // it is shown, and the exit status speaks of the steps alone.
        servicios.mensajes = 0;
        CPersona persona(*vista);
        bool todoAdmitido = true;
        for (const Paso& p : pasos)
            todoAdmitido = Ejecutar(p, *vista, persona, servicios) && todoAdmitido;
        persona.Salir();
        if (!vista->SalvarDatos())
            throw ErrorUsuario("La página no pudo guardar sus casillas; no se ha guardado nada");
        borrador.Guardar();
        ctx.estado = todoAdmitido && servicios.mensajes == 0 ? kHecho : kHallazgos;
    });
}

// ----- import -----------------------------------------------------------------------------------

void RegistrarImportar(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo, fichero;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand(
        "import", "Carga el fichero de documentos declarados desde la página 1, como la ventana");
    OpcionCodigo(cmd, o->codigo);
    cmd->add_option("FILE", o->fichero, "Fichero de datos")->required();
    // The whole import is one change of the store: killed halfway, or refused, it leaves the
    // declaration as it was.
    cmd->callback([&ctx, o] {
        CHost& host = ctx.Host();
        casos::CambioDeBorrador borrador(host, CString(o->codigo));
        CGuiaDoc& doc = borrador.Doc();
        if (!host.OfreceImportacion(doc))
            throw ErrorUsuario("El formulario " + doc.GetCodModelo().Left(3) +
                               " no tiene importación de fichero");
        ExigirLegible(o->fichero);
        ServiciosPagina servicios;
        servicios.ficheroElegido = CString(o->fichero);
        auto vista = AbrirPagina1(doc);
        // A refused file leaves the stored declaration as it was: the page cleared its table
        // to read the file, and nothing of that is kept. So does a file the page could not
        // read after all.
        switch (host.Importar(*vista)) {
        case ResultadoImportacion::Tomado:
            break;
        case ResultadoImportacion::Rechazado:
            std::fprintf(stderr, "modelo: el fichero no se ha cargado. %s.\n",
                         casos::kVeaseFicheroDocumentos);
            ctx.estado = kHallazgos;
            return;
        case ResultadoImportacion::Ilegible:
        case ResultadoImportacion::Cancelado:
            throw ErrorUsuario("No se puede leer el fichero " + CitaBreve(CString(o->fichero)) +
                               "; la declaración queda como estaba");
        }
        borrador.Guardar();
        ctx.estado = kHecho;
    });
}

} // namespace

void RegistrarPagina(CLI::App& app, Contexto& ctx) {
    RegistrarTeclear(app, ctx);
    RegistrarImportar(app, ctx);
}
