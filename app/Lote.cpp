#include "Lote.h"

#include "Clientes.h"

#include "CasosDeUso.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/document/CatalogoCasillas.h"
#include "Modelo/parties/MantenimientoIntervinientes.h"
#include "Modelo/services/Servicios.h"
#include "Modelo/store/FicheroAtomico.h"
#include "Modelo/windows/GuiaView.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace casos {

namespace {

// The run's own findings: about a file as a whole, before or around the form's checks of it.
// They belong to the run, not to a declaration, so they are not in the form's catalogue.
enum class Motivo {
    NoEsFichero,
    Ilegible,
    OtroPeriodo,
    ClienteDesconocido,
    YaPresentada,
    Pdf,
    FicheroRechazado,
    Rechazo
};

struct TextoMotivo {
    Motivo motivo;
    const char* codigo;
    const char* descripcion;
};
constexpr TextoMotivo kMotivos[] = {
    {Motivo::NoEsFichero, "LOTE0001",
     "El fichero no es un fichero de documentos: su primera fila no lleva el modelo, el periodo "
     "y el NIF del declarante en las columnas 1 a 18."},
    {Motivo::Ilegible, "LOTE0002", "No se puede leer el fichero."},
    {Motivo::OtroPeriodo, "LOTE0003", "El fichero no es del modelo y el periodo del lote."},
    {Motivo::ClienteDesconocido, "LOTE0004",
     "El NIF del declarante no es de ningún interviniente del almacén."},
    {Motivo::YaPresentada, "LOTE0005",
     "El cliente ya tiene una declaración definitiva de este periodo; se corrige con una "
     "complementaria o una sustitutiva."},
    {Motivo::Pdf, "LOTE0006", "No se ha podido imprimir la declaración en PDF."},
    {Motivo::FicheroRechazado, "LOTE0007",
     "El fichero no se ha cargado: la declaración del cliente queda como estaba."},
    {Motivo::Rechazo, "LOTE0008", "No se ha podido preparar la declaración."},
};

stError Hallazgo(Motivo motivo, const CString& detalle) {
    const auto* t = std::find_if(std::begin(kMotivos), std::end(kMotivos),
                                 [&](const TextoMotivo& m) { return m.motivo == motivo; });
    return stError(0, 0, t->codigo, t->descripcion, detalle);
}

// The page's services during one file: the file dialog answers with the file, and what the
// page says is kept for the result instead of shown. The services in force come back after.
class ServiciosLote : public IServiciosUsuario {
public:
    explicit ServiciosLote(const CString& ruta) : anteriores_(AfxServicios()), ruta_(ruta) {
        AfxFijarServicios(this);
    }
    ~ServiciosLote() override { AfxFijarServicios(&anteriores_); }

    int MessageBox(const CString&, const CString&, UINT tipo) override {
        // Nobody answers: a question is taken as declined.
        return (tipo & MB_YESNO) ? IDNO : (tipo & MB_OKCANCEL) ? IDCANCEL : IDOK;
    }
    void MostrarBarra(bool) override {}
    void SetTexto(const CString&) override {}
    void AnimarBarra() override {}
    void MostrarErrores(const CListaErrores& e) override {
        for (const stError& x : e)
            errores.Add(x);
    }
    bool ElegirFichero(const CString&, const CString&, CString& ruta) override {
        ruta = ruta_;
        return true;
    }
    void MostrarAyuda(const CString&, const CString&, const CString&) override {}
    void VaciarPortapapeles() override {}
    void ListaMeses(CWnd&) override {}
    int DialogoIntervinientes(bool, const CString&, const CString&) override { return IDOK; }

    CListaErrores errores;

private:
    IServiciosUsuario& anteriores_;
    CString ruta_;
};

// The model, period and declarant of the file's first row, as the columns are laid out; false
// when there is no such row. Columns 1 to 18 are digits and letters, one byte each.
struct Cabecera {
    CString modelo, anio, mes, nif;
};
bool LeerCabecera(const CString& ruta, Cabecera& c, bool& legible) {
    std::ifstream f(ruta.str(), std::ios::binary);
    legible = bool(f);
    std::string linea;
    bool primera = true;
    while (std::getline(f, linea)) {
        if (primera && linea.rfind("\xEF\xBB\xBF", 0) == 0)
            linea.erase(0, 3);
        primera = false;
        while (!linea.empty() && texto::EsBlanco(linea.back()))
            linea.pop_back();
        if (linea.empty())
            continue;
        if (linea.size() < 18)
            return false;
        c.modelo = CString(linea.substr(0, 3));
        c.anio = CString(linea.substr(3, 4));
        c.mes = CString(linea.substr(7, 2));
        c.mes.Trim();
        c.nif = CString(linea.substr(9, 9));
        return true;
    }
    legible = legible && !f.bad();
    return false;
}

// The free party of the store with that number; the first when there are several.
bool ClienteDelAlmacen(CHost& host, const CString& nif, stInterviniente& cliente) {
    CMantenimientoIntervinientes m(host.BaseDatos());
    for (stInterviniente& p : m.Libres())
        if (p.Nif == nif) {
            cliente = std::move(p);
            return true;
        }
    return false;
}

// What the declaration holds of its documents, by the kinds of the form's box catalogue.
void Totales(const CGuiaDoc& doc, ResultadoCliente& r) {
    for (const stCasillaCatalogo& e : doc.CatalogoPagina1()) {
        if (e.Formato == FormatoCasilla::Cuenta)
            r.documentos += std::atoi(doc.GetCasilla(e.Casilla, 0).c_str());
        else if (e.Formato == FormatoCasilla::Total)
            r.total = doc.GetCasilla(e.Casilla, 0);
    }
}

} // namespace

void NormalizarPeriodo(OpcionesLote& o) {
    const bool mesValido = o.mes.GetLength() >= 1 && o.mes.GetLength() <= 2 &&
                           CGuiaDoc::EsNumero(o.mes) && std::atoi(o.mes.c_str()) >= 1 &&
                           std::atoi(o.mes.c_str()) <= 12;
    if (!mesValido)
        throw ErrorUsuario("Mes no válido: " + CitaBreve(o.mes) + " (de 1 a 12)");
    if (o.anio.GetLength() != 4 || !CGuiaDoc::EsNumero(o.anio))
        throw ErrorUsuario("Año no válido: " + CitaBreve(o.anio) + " (cuatro cifras)");
    o.mes = CString::Formatted("%02d", std::atoi(o.mes.c_str()));
}

std::vector<CString> FicherosLote(const CString& carpeta) {
    std::error_code ec;
    if (!fs::is_directory(carpeta.str(), ec))
        throw ErrorUsuario("No es una carpeta: " + CitaBreve(carpeta));
    std::vector<CString> nombres;
    for (fs::directory_iterator it(carpeta.str(), ec), fin; !ec && it != fin; it.increment(ec)) {
        const std::string nombre = it->path().filename().string();
        std::string extension = it->path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        std::error_code ec2;
        if (nombre.empty() || nombre[0] == '.' || extension == ".pdf" || !it->is_regular_file(ec2))
            continue;
        nombres.emplace_back(nombre);
    }
    if (ec)
        throw ErrorUsuario("No se puede leer la carpeta " + CitaBreve(carpeta) + ": " +
                           CString(ec.message()));
    if (nombres.empty())
        throw ErrorUsuario("La carpeta " + CitaBreve(carpeta) +
                           " no tiene ningún fichero de documentos");
    std::sort(nombres.begin(), nombres.end(),
              [](const CString& a, const CString& b) { return a.str() < b.str(); });
    return nombres;
}

std::unique_ptr<CGuiaDoc> BorradorDelCliente(CHost& host, const CString& formulario,
                                             const CString& mes, const CString& anio,
                                             const CString& nif, bool* creado) {
    if (creado)
        *creado = false;
    CString borrador;
    for (const Declaracion& d : Declaraciones(host, formulario, anio, nif)) {
        if (d.resumen.mes != mes)
            continue;
        if (d.resumen.estado == estado::Definitiva)
            throw ErrorYaPresentada(d.resumen.codigo);
        if (borrador.IsEmpty())
            borrador = d.resumen.codigo;
    }
    if (!borrador.IsEmpty())
        return host.Abrir(borrador);
    // A new month of the client starts as a new declaration of the client does anywhere.
    std::unique_ptr<CGuiaDoc> doc = NuevaDeCliente(host, formulario, nif, mes, anio);
    if (creado)
        *creado = true;
    return doc;
}

ResultadoCliente ProcesarFichero(CHost& host, const OpcionesLote& o, const CString& ruta,
                                 const ImpresorPdf& imprimir) {
    ResultadoCliente r;
    r.fichero = CString(fs::path(ruta.str()).filename().string());
    r.estado = "rechazado";
    const CString vease = CString(kVeaseFicheroDocumentos);

    Cabecera cabecera;
    bool legible = false;
    if (!LeerCabecera(ruta, cabecera, legible)) {
        r.hallazgos.Add(legible ? Hallazgo(Motivo::NoEsFichero, vease)
                                : Hallazgo(Motivo::Ilegible, CitaBreve(ruta)));
        return r;
    }
    r.nif = cabecera.nif;
    if (cabecera.modelo != o.formulario || cabecera.anio != o.anio || cabecera.mes != o.mes) {
        r.hallazgos.Add(Hallazgo(Motivo::OtroPeriodo,
                                 "El fichero es del modelo " + CitaBreve(cabecera.modelo) +
                                     " y el periodo " + CitaBreve(cabecera.mes) + "/" +
                                     CitaBreve(cabecera.anio) + "; el lote, del " + o.formulario +
                                     " y el " + o.mes + "/" + o.anio + "."));
        return r;
    }
    stInterviniente cliente;
    if (!ClienteDelAlmacen(host, cabecera.nif, cliente)) {
        r.hallazgos.Add(Hallazgo(Motivo::ClienteDesconocido,
                                 "Añádalo con modelo parties add --nif " + cabecera.nif +
                                     " --name NOMBRE, o en el diálogo de intervinientes."));
        return r;
    }
    r.nombre = QuitarSep(cliente.Nombre);

    // The client's whole month is one change of the store: whatever refuses it, nothing of it
    // stays, not even a draft created for it.
    CBaseDatos::Transaccion t(host.BaseDatos());
    std::unique_ptr<CGuiaDoc> doc;
    bool creado = false;
    try {
        doc = BorradorDelCliente(host, o.formulario, o.mes, o.anio, cabecera.nif, &creado);
    } catch (const ErrorYaPresentada& e) {
        r.codigo = e.codigo;
        r.hallazgos.Add(Hallazgo(Motivo::YaPresentada, "La declaración " + e.codigo + "."));
        return r;
    } catch (const ErrorUsuario& e) {
        r.hallazgos.Add(Hallazgo(Motivo::Rechazo, CString(e.what())));
        return r;
    }
    // A draft made for this file goes with it when the file is refused: no code to show then.
    if (!creado)
        r.codigo = doc->GetCodDeclar();
    try {
        CHost::ExigirBorrador(*doc);
        ServiciosLote servicios(ruta);
        CString error;
        std::unique_ptr<CGuiaView> vista = AbrirVistaPagina(*doc, 0, error);
        if (!vista)
            throw ErrorUsuario(error);
        const ResultadoImportacion importacion = host.Importar(*vista);
        vista.reset();
        switch (importacion) {
        case ResultadoImportacion::Tomado:
            break;
        case ResultadoImportacion::Rechazado:
            r.hallazgos = servicios.errores;
            r.hallazgos.Add(Hallazgo(Motivo::FicheroRechazado, vease));
            return r;
        case ResultadoImportacion::Ilegible:
        case ResultadoImportacion::Cancelado:
            r.hallazgos.Add(Hallazgo(Motivo::Ilegible, CitaBreve(ruta)));
            return r;
        }
    } catch (const ErrorUsuario& e) {
        r.hallazgos.Add(Hallazgo(Motivo::Rechazo, CString(e.what())));
        return r;
    }
    host.Guardar(*doc);
    if (o.finalizar) {
        if (!Finalizar(host, *doc, r.hallazgos) && r.hallazgos.IsEmpty())
            r.hallazgos.Add(Hallazgo(Motivo::Rechazo, "No se ha podido finalizar."));
    } else
        r.hallazgos = Validar(*doc);

    // Printed before the month is committed: a declaration whose sheets cannot be made is not
    // kept half done.
    std::string pdf;
    if (!o.carpetaPdf.IsEmpty()) {
        CString error;
        if (!imprimir || !imprimir(*doc, pdf, error)) {
            r.hallazgos.RemoveAll();
            r.hallazgos.Add(Hallazgo(Motivo::Pdf, error));
            return r;
        }
    }
    Totales(*doc, r);
    const CHost::Sujeto sujeto = host.SujetoDe(doc->GetCodDeclar(), doc->GetCodModelo());
    if (!sujeto.nombre.IsEmpty())
        r.nombre = sujeto.nombre;
    t.Confirmar();
    r.codigo = doc->GetCodDeclar();
    r.estado = doc->GetEstado() == estado::Definitiva ? "definitiva" : "borrador";

    if (!o.carpetaPdf.IsEmpty()) {
        const fs::path destino =
            fs::path(o.carpetaPdf.str()) /
            (cabecera.nif + "_" + o.formulario + "_" + o.anio + "-" + o.mes + ".pdf").str();
        try {
            EscribirFicheroAtomico(CString(destino.string()), pdf);
            r.pdf = CString(destino.string());
        } catch (const CExcepcionFichero& e) {
            // The declaration stands; only its sheets are missing.
            r.hallazgos.Add(Hallazgo(Motivo::Pdf, CString(e.what())));
        }
    }
    return r;
}

std::vector<ResultadoCliente> EjecutarLote(CHost& host, OpcionesLote o, const ImpresorPdf& imprimir,
                                           const AvisoLote& aviso) {
    NormalizarPeriodo(o);
    if (!host.OfreceImportacion(*host.Suelto(o.formulario)))
        throw ErrorUsuario("El formulario " + CitaBreve(o.formulario) +
                           " no tiene importación de fichero");
    if (!o.carpetaPdf.IsEmpty()) {
        // The month's folder of prints is usually new: it is made, as `mkdir -p` would.
        std::error_code ec;
        fs::create_directories(o.carpetaPdf.str(), ec);
        if (!fs::is_directory(o.carpetaPdf.str(), ec))
            throw ErrorUsuario("No es una carpeta: " + CitaBreve(o.carpetaPdf));
    }
    const std::vector<CString> ficheros = FicherosLote(o.carpeta);
    std::vector<ResultadoCliente> resultados;
    for (size_t i = 0; i < ficheros.size(); ++i) {
        if (aviso && !aviso(i, ficheros.size(), ficheros[i]))
            return resultados;
        const CString ruta = CString((fs::path(o.carpeta.str()) / ficheros[i].str()).string());
        resultados.push_back(ProcesarFichero(host, o, ruta, imprimir));
    }
    if (aviso)
        aviso(ficheros.size(), ficheros.size(), "");
    return resultados;
}

} // namespace casos
