// An adviser's month in one run: a folder of documents data files, one client's month each,
// turned into that client's declaration of the period, with its PDF. The command line and the
// window both run it; the plug-ins, the store and the printing stay loaded for the whole run,
// which is what makes it faster than one program per client.
#pragma once

#include "Host.h"

#include <functional>
#include <string>
#include <vector>

namespace casos {

// Where a refused data file sends the person: the manual's section on its layout.
inline constexpr const char* kVeaseFicheroDocumentos =
    "Véase «Fichero de documentos» en el manual (man modelo)";

struct OpcionesLote {
    CString carpeta;
    CString formulario = "863";
    CString mes, anio;  // the period of the run: two-digit month, four-digit year
    CString carpetaPdf; // where each declaration's PDF goes; "" prints none
    bool finalizar = false;
};

// What one file of the run came to. The declaration is stored whole or not at all: a file
// refused for any reason leaves the store as it was.
struct ResultadoCliente {
    CString fichero; // its name in the folder
    CString nif, nombre, codigo;
    int documentos = 0;
    CString total;
    CListaErrores hallazgos;
    CString estado; // "borrador", "definitiva" or "rechazado" (nothing stored)
    CString pdf;    // the file written, "" when none
    bool Limpio() const { return estado != "rechazado" && hallazgos.IsEmpty(); }
};

// The declaration printed as PDF bytes by the face's printing; false with the reason.
using ImpresorPdf = std::function<bool(CGuiaDoc& doc, std::string& pdf, CString& error)>;
// Told before each file (from 0, of `total`) and once more at the end (`indice == total`);
// false stops the run before the file, with the clients done so far kept.
using AvisoLote = std::function<bool(size_t indice, size_t total, const CString& fichero)>;

// The period of a run as the store keeps it; refused (ErrorUsuario) when it is not one.
void NormalizarPeriodo(OpcionesLote& opciones);
// The data files of the folder, by name: every regular file but hidden ones and PDFs (the
// output may go to the same folder). Refused when the folder cannot be read or holds none.
std::vector<CString> FicherosLote(const CString& carpeta);
// One client's month: all or nothing for that client.
ResultadoCliente ProcesarFichero(CHost& host, const OpcionesLote& opciones, const CString& ruta,
                                 const ImpresorPdf& imprimir);
// Every file of the folder, one after another; one refused file stops none of the others.
std::vector<ResultadoCliente> EjecutarLote(CHost& host, OpcionesLote opciones,
                                           const ImpresorPdf& imprimir, const AvisoLote& aviso);

// A client's month that was already filed: the final declaration of the period.
class ErrorYaPresentada : public ErrorUsuario {
public:
    explicit ErrorYaPresentada(const CString& codigo)
        : ErrorUsuario("La declaración " + codigo + " del periodo ya es definitiva"),
          codigo(codigo) {}
    CString codigo;
};

// The client's draft of the form and period, created as NuevaDeCliente does when it has none;
// refused (ErrorYaPresentada) when the client already filed it (a final declaration of the period
// is corrected, not filed again). Runs in the caller's transaction. `creado` tells whether it was
// made here.
std::unique_ptr<CGuiaDoc> BorradorDelCliente(CHost& host, const CString& formulario,
                                             const CString& mes, const CString& anio,
                                             const CString& nif, bool* creado = nullptr);

} // namespace casos
