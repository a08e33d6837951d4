// The page views from the command line: a page opened exactly as the window opens it, listed
// control by control or drawn as a person would see it.
#include "Accesibilidad.h"
#include "ComandosComun.h"
#include "Modelo/windows/Controles.h"
#include "render/Pagina.h"

namespace {

// The value a control shows: its text; "S" or "" for a check box; the date or "" for a picker.
CString ValorMostrado(CWnd& w) {
    switch (w.GetClase()) {
    case ClaseControl::CheckBox:
        return static_cast<CButton&>(w).GetCheck() == BST_CHECKED ? "S" : "";
    case ClaseControl::DateTimeOpt:
    case ClaseControl::DateTimeFixFormat:
        return static_cast<CDateTimeCtrl&>(w).TextoFecha();
    default:
        return w.GetWindowText();
    }
}

CString CasillaDe(const CGuiaView& vista, int id) {
    const PlantillaDialogo* p = vista.Plantilla();
    const ControlPlantilla* c = p ? p->Control(id) : nullptr;
    return c && c->casilla >= 0 ? NombreCasilla(vista.GetPagina(), c->casilla) : CString("-");
}

void Listar(const CGuiaView& vista, bool json) {
    Tabla tabla;
    for (CWnd* w : vista.Controles()) {
        CRect r;
        w->GetWindowRect(&r);
        const CString valor = ValorMostrado(*w);
        const CString casilla = CasillaDe(vista, w->GetDlgCtrlID());
        Fila& fila =
            tabla.Nueva()
                .Columna("id", w->GetDlgCtrlID())
                .Columna("casilla",
                         Celda(casilla, casilla == "-" ? nlohmann::ordered_json(nullptr)
                                                       : nlohmann::ordered_json(casilla.str())))
                .Columna("clase", NombreClaseControl(w->GetClase()))
                .Columna("valor", valor)
                .Columna("habilitado", w->IsWindowEnabled())
                .Columna("visible", w->IsWindowVisible())
                .Columna(
                    "rect",
                    Celda(
                        CString::Formatted("%d,%d,%d,%d", r.left, r.top, r.Width(), r.Height()),
                        {{"x", r.left}, {"y", r.top}, {"ancho", r.Width()}, {"alto", r.Height()}}));
        // What a screen reader hears of the control in the window.
        fila.SoloJson("nombre", NombreAccesible(vista, w->GetDlgCtrlID()).nombre.str());
        if (w->GetClase() == ClaseControl::CheckBox)
            fila.SoloJson("marcada", valor == "S");
        if (w->GetClase() == ClaseControl::DateTimeOpt ||
            w->GetClase() == ClaseControl::DateTimeFixFormat)
            fila.SoloJson("fecha", valor.IsEmpty() ? nlohmann::ordered_json(nullptr)
                                                   : nlohmann::ordered_json(valor.str()));
    }
    tabla.Escribir(json);
}

} // namespace

void RegistrarVistas(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo, salida;
        int pagina = 1;
        bool json = false;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand(
        "view", "Abre una página de la declaración como la ve una persona y lista sus controles");
    OpcionCodigo(cmd, o->codigo);
    OpcionEntera(cmd->add_option("--page", o->pagina, "Página: 1 (por defecto) o 2"), 1, 2);
    OpcionJson(cmd, o->json);
    cmd->add_option("-o,--output", o->salida, "Dibuja la página en este fichero PNG")
        ->type_name("FICHERO");
    cmd->callback([&ctx, o] {
        auto doc = ctx.Host().Abrir(CString(o->codigo));
        CString error;
        std::unique_ptr<CGuiaView> vista = AbrirVistaPagina(*doc, o->pagina - 1, error);
        if (!vista)
            throw ErrorUsuario(error);
        if (!o->salida.empty()) {
            const QImage imagen = DibujarVista(*vista);
            if (imagen.isNull())
                throw ErrorUsuario("El formulario no tiene la imagen de la página");
            std::string motivo;
            if (!GuardarPNG(imagen, o->salida, motivo))
                throw ErrorUsuario("No se puede escribir el fichero " + CString(o->salida) + ": " +
                                   CString(motivo));
            return;
        }
        Listar(*vista, o->json);
    });
}
