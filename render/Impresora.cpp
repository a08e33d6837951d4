#include "render/Impresora.h"

#include "Modelo/base/Funciones.h"
#include "render/Impresion.h"
#include "render/Pagina.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cups/cups.h>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

QStringList ImpresorasDisponibles() {
    AsegurarAplicacion();
    return QPrinterInfo::availablePrinterNames();
}

namespace {

struct CerrarConexion {
    void operator()(http_t* h) const { httpClose(h); }
};
struct BorrarIpp {
    void operator()(ipp_t* p) const { ippDelete(p); }
};
using Conexion = std::unique_ptr<http_t, CerrarConexion>;
using Ipp = std::unique_ptr<ipp_t, BorrarIpp>;

CString Cadena(ipp_t* respuesta, const char* nombre) {
    ipp_attribute_t* a = ippFindAttribute(respuesta, nombre, IPP_TAG_ZERO);
    const char* s = a ? ippGetString(a, 0, nullptr) : nullptr;
    return s ? CString(s) : CString();
}

int Entero(ipp_t* respuesta, const char* nombre, int porDefecto) {
    ipp_attribute_t* a = ippFindAttribute(respuesta, nombre, IPP_TAG_ZERO);
    return a ? ippGetInteger(a, 0) : porDefecto;
}

bool TieneMotivo(ipp_t* respuesta, const char* nombre, const char* prefijo) {
    ipp_attribute_t* a = ippFindAttribute(respuesta, nombre, IPP_TAG_KEYWORD);
    const std::string p(prefijo);
    for (int i = 0; a && i < ippGetCount(a); ++i)
        if (const char* s = ippGetString(a, i, nullptr); s && std::string(s).rfind(p, 0) == 0)
            return true;
    return false;
}

// What the operator wrote about a printer or a job, quoted after our own sentence. The print
// service's own defaults only repeat that sentence, in English, so they are left out.
CString Detalle(const CString& mensaje) {
    for (const char* generico : {"Rejecting Jobs", "Paused", "Accepting Jobs", "Ready"})
        if (mensaje == generico)
            return CString();
    return mensaje.IsEmpty() ? CString() : ": «" + CitaBreve(mensaje, 200) + "»";
}

// Why the print service turned a request down, in words a person acts on. The service's own
// text is English and often names its internals; it is kept only where nothing else says why.
CString MotivoDelServicio(const CString& impresora) {
    const ipp_status_t estado = cupsLastError();
    if (estado <= IPP_STATUS_OK_EVENTS_COMPLETE) // an answer without the job's number
        return "El sistema de impresión no confirmó el trabajo para la impresora " + impresora;
    switch (estado) {
    case IPP_STATUS_ERROR_NOT_FOUND:
        return "El sistema no tiene la impresora " + impresora;
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return "La impresora " + impresora + " no admite trabajos";
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED:
        return "No tiene permiso para imprimir en la impresora " + impresora;
    case IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED:
        return "La impresora " + impresora + " no admite documentos PDF";
    case IPP_STATUS_ERROR_REQUEST_ENTITY:
        return "El documento es demasiado grande para la impresora " + impresora;
    case IPP_STATUS_ERROR_BUSY:
        return "La impresora " + impresora + " está ocupada; pruebe más tarde";
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
    case IPP_STATUS_ERROR_INTERNAL:
        return "El sistema de impresión no responde (" + CitaBreve(CString(cupsServer())) + ")";
    default:
        return "El sistema de impresión rechazó el trabajo" +
               Detalle(CString(cupsLastErrorString()));
    }
}

bool Fallo(ipp_t* respuesta) {
    return !respuesta || cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE;
}

void Pedir(ipp_t* peticion, const char* uri, const std::vector<const char*>& atributos) {
    ippAddString(peticion, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(peticion, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    if (!atributos.empty())
        ippAddStrings(peticion, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                      int(atributos.size()), nullptr, atributos.data());
}

// The document as a file in memory, which is what the print service's client sends from; -1
// when there is no memory for it.
int FicheroEnMemoria(const QByteArray& datos) {
    const int fd = memfd_create("modelo-impreso", MFD_CLOEXEC);
    for (qsizetype i = 0; fd >= 0 && i < datos.size();) {
        const ssize_t n = write(fd, datos.constData() + i, size_t(datos.size() - i));
        if (n <= 0) {
            close(fd);
            return -1;
        }
        i += n;
    }
    if (fd >= 0 && lseek(fd, 0, SEEK_SET) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// The job sent in one request, the PDF as its document. Null, with the service's status in
// cupsLastError(), when the service did not take it.
Ipp EnviarPDF(http_t* http, const char* uri, const CString& titulo, int documento) {
    ipp_t* peticion = ippNewRequest(IPP_OP_PRINT_JOB);
    Pedir(peticion, uri, {});
    ippAddString(peticion, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, titulo.c_str());
    ippAddString(peticion, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr,
                 CUPS_FORMAT_PDF);
    ippAddString(peticion, IPP_TAG_JOB, IPP_TAG_KEYWORD, "media", nullptr, "iso_a4_210x297mm");
    // The copies are in the document already, each with its copy label, in order.
    ippAddInteger(peticion, IPP_TAG_JOB, IPP_TAG_INTEGER, "copies", 1);
    return Ipp(cupsDoIORequest(http, peticion, "/", documento, -1)); // frees the request
}

} // namespace

struct ColaImpresion::Estado {
    Conexion http;
    CString impresora, nombre; // as given; as quoted in messages
    char uri[HTTP_MAX_URI] = {};
    bool detenida = false;
};

ColaImpresion::ColaImpresion() = default;
ColaImpresion::~ColaImpresion() = default;

bool ColaImpresion::Abrir(const CString& impresora, CString& error) {
    estado_ = std::make_unique<Estado>();
    Estado& e = *estado_;
    e.impresora = impresora;
    e.nombre = CitaBreve(impresora);
    e.http.reset(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                              30000, nullptr));
    if (!e.http) {
        error = "No se pudo conectar con el sistema de impresión (" + CitaBreve(cupsServer()) +
                ") para imprimir en " + e.nombre;
        return false;
    }
    if (impresora.IsEmpty() ||
        httpAssembleURIf(HTTP_URI_CODING_ALL, e.uri, sizeof e.uri, "ipp", nullptr, "localhost",
                         ippPort(), "/printers/%s", impresora.c_str()) != HTTP_URI_STATUS_OK) {
        error = "El sistema no tiene la impresora " + e.nombre;
        return false;
    }
    ipp_t* pregunta = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    Pedir(pregunta, e.uri, {"printer-state", "printer-state-message", "printer-is-accepting-jobs"});
    Ipp respuesta(cupsDoRequest(e.http.get(), pregunta, "/"));
    if (Fallo(respuesta.get())) {
        error = MotivoDelServicio(e.nombre);
        return false;
    }
    ipp_attribute_t* admite =
        ippFindAttribute(respuesta.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
    if (admite && !ippGetBoolean(admite, 0)) {
        error = "La impresora " + e.nombre + " no admite trabajos" +
                Detalle(Cadena(respuesta.get(), "printer-state-message"));
        return false;
    }
    e.detenida = Entero(respuesta.get(), "printer-state", IPP_PSTATE_IDLE) == IPP_PSTATE_STOPPED;
    return true;
}

bool ColaImpresion::Enviar(const QByteArray& pdf, const CString& titulo, TrabajoImpresion& trabajo,
                           CString& error) {
    if (!estado_ || !estado_->http) {
        error = "La impresora no está abierta";
        return false;
    }
    Estado& e = *estado_;
    const int documento = FicheroEnMemoria(pdf);
    if (documento < 0) {
        error = "No hay memoria para enviar el documento a la impresora " + e.nombre;
        return false;
    }
    Ipp respuesta = EnviarPDF(e.http.get(), e.uri, titulo, documento);
    close(documento);
    const int id = Entero(respuesta.get(), "job-id", 0);
    if (Fallo(respuesta.get()) || id <= 0) {
        error = MotivoDelServicio(e.nombre);
        return false;
    }
    trabajo.nombre = e.impresora + CString::Formatted("-%d", id);

    // What became of it right away: a job given up at once is a failure, a held one waits.
    ipp_t* pregunta = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    Pedir(pregunta, e.uri, {"job-state", "job-state-reasons", "job-state-message"});
    ippAddInteger(pregunta, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", id);
    Ipp job(cupsDoRequest(e.http.get(), pregunta, "/"));
    if (Fallo(job.get()))
        return true; // the job was taken; only its state could not be read
    const CString citado = CitaBreve(trabajo.nombre);
    switch (Entero(job.get(), "job-state", IPP_JSTATE_PENDING)) {
    case IPP_JSTATE_CANCELED:
    case IPP_JSTATE_ABORTED:
        error = "El sistema de impresión abandonó el trabajo " + citado +
                Detalle(Cadena(job.get(), "job-state-message"));
        return false;
    case IPP_JSTATE_HELD:
        trabajo.espera = "El trabajo " + citado +
                         " está retenido en la cola: no se imprimirá hasta que se libere";
        break;
    case IPP_JSTATE_PENDING:
    case IPP_JSTATE_STOPPED:
        if (e.detenida || TieneMotivo(job.get(), "job-state-reasons", "printer-stopped"))
            trabajo.espera = "La impresora " + e.nombre + " está detenida: el trabajo " + citado +
                             " espera en la cola hasta que se reanude";
        break;
    default:
        break;
    }
    return true;
}

CString TituloImpreso(const CGuiaDoc& doc) {
    return "Modelo " + doc.GetCodModelo().Left(3) + " - declaración " + doc.GetCodDeclar();
}

bool ImprimirEnQPrinter(CGuiaDoc& doc, QPrinter& printer, CPrintInfo& info) {
    // The device is the part of the sheet the printer reaches: the composer fits the page in
    // it, so nothing of the form falls in the margin a printer cannot print.
    printer.setFullPage(false);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(TextoQt(TituloImpreso(doc)));
    CDCQt dc(printer, &printer);
    if (!doc.Imprimir(&dc, &info)) {
        printer.abort();
        return false;
    }
    return true;
}
