#include "Modelo/services/Servicios.h"

#include "Modelo/store/BaseDatos.h"

#include <chrono>
#include <cstdio>
#include <unistd.h>

IServiciosUsuario::~IServiciosUsuario() = default;

namespace {
IServiciosUsuario* instalados = nullptr;

CServiciosConsola& consola() {
    static CServiciosConsola c;
    return c;
}

long long milisegundos() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

IServiciosUsuario& AfxServicios() {
    return instalados ? *instalados : consola();
}
void AfxFijarServicios(IServiciosUsuario* servicios) {
    instalados = servicios;
}

int AfxMessageBox(const CString& texto, UINT tipo) {
    return AfxServicios().MessageBox(texto, "Modelo", tipo);
}

// ----- command line -----------------------------------------------------------------------------

// Standard output carries a command's data (JSON, a PDF417 payload): whatever a page says,
// at load or on a person's action, is a message and goes beside it, never into it.
int CServiciosConsola::MessageBox(const CString& texto, const CString&, UINT tipo) {
    std::fprintf(stderr, "%s\n", texto.c_str());
    std::fflush(stderr);
    // Nobody can answer a question on the command line: the cautious answer is taken.
    if ((tipo & 0xF) == MB_YESNO)
        return IDNO;
    if ((tipo & 0xF) == MB_OKCANCEL)
        return IDCANCEL;
    return IDOK;
}

void CServiciosConsola::MostrarBarra(bool visible) {
    const bool terminal = isatty(STDERR_FILENO);
    if (barra_ && !visible && terminal)
        std::fprintf(stderr, "\r\033[K");
    barra_ = visible && terminal;
    pasos_ = 0;
    ultimoDibujo_ = 0;
}

void CServiciosConsola::SetTexto(const CString& texto) {
    texto_ = texto;
}

// Redrawn at most ten times a second, so that a long import is never slowed by its bar.
void CServiciosConsola::AnimarBarra() {
    ++pasos_;
    if (!barra_)
        return;
    const long long ahora = milisegundos();
    if (ahora - ultimoDibujo_ < 100)
        return;
    ultimoDibujo_ = ahora;
    static const char giro[] = "|/-\\";
    std::fprintf(stderr, "\r%s %c %ld", texto_.c_str(), giro[pasos_ % 4], pasos_);
    std::fflush(stderr);
}

// The detail says where to look (the columns of a data file, the form of a value), so it is
// printed under its finding, indented.
void CServiciosConsola::MostrarErrores(const CListaErrores& errores) {
    for (const stError& e : errores) {
        std::fprintf(stdout, "%s\t%s\n", e.Codigo.c_str(), e.Descripcion.c_str());
        if (!e.Detalle.IsEmpty())
            std::fprintf(stdout, "  %s\n", e.Detalle.c_str());
    }
    std::fflush(stdout);
}

bool CServiciosConsola::ElegirFichero(const CString&, const CString&, CString& ruta) {
    if (ficheroElegido.IsEmpty())
        return false;
    ruta = ficheroElegido;
    return true;
}

void CServiciosConsola::MostrarAyuda(const CString& modelo, const CString& pagina,
                                     const CString& clave) {
    const CString texto = TextoAyudaBloque(modelo, pagina, clave);
    std::fprintf(stderr, "%s\n",
                 texto.IsEmpty() ? ("No hay ayuda para " + clave).c_str() : texto.c_str());
    std::fflush(stderr);
}

CString TextoAyudaBloque(const CString& modelo, const CString& pagina, const CString& clave) {
    CBaseDatos* db = CBaseDatos::Actual();
    CString texto;
    if (db && db->EstaAbierta())
        db->Consultar("SELECT TEXTO FROM AYUDAS_BLOQUE WHERE MODELO = ? AND PAGINA = ? AND "
                      "CLAVE = ?",
                      {modelo, pagina, clave}, [&](const FilaSql& f) { texto = f.Texto(0); });
    return texto;
}

void MostrarBarra(bool visible) {
    AfxServicios().MostrarBarra(visible);
}
void SetTexto(const CString& texto) {
    AfxServicios().SetTexto(texto);
}
void AnimarBarra() {
    AfxServicios().AnimarBarra();
}
