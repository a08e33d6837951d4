// The import of the liquidation data file: reading, cutting, classifying and totalling.
#include "Formulario.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/base/Recursos.h"
#include "Modelo/services/Servicios.h"
#include "core/Casillas.h"
#include "core/Errores.h"
#include "core/IdsRecursos.h"
#include "core/ModDoc.h"
#include "datafile/Campos.h"
#include "datafile/Lectura.h"
#include "tariff/EscalaCuotas.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr const char* kTextoBarra = "Leyendo datos del fichero...";
constexpr int kFilasPorAvance = 50;

// Per type: the three bracket counts, then the three amount sums, then the three quota sums.
constexpr int Indice(int tipo, int grupo, int tramo) {
    return (tipo - 1) * 9 + grupo * 3 + tramo;
}
constexpr int kCuenta = 0, kImporte = 1, kCuota = 2;

// The first bracket bound is not used; a bound the tariff lacks leaves every amount below it.
double Limite(const CStringArray& limites, int i) {
    return i < limites.GetSize() ? NumeroC(limites[i].view()) : 1e300;
}

// Cuts the row at the table's columns; `byte` tells at which byte of a text a column starts.
template <class Byte>
void Cortar(std::string_view l, stRegistroDeclarado& fila, int numero, Byte byte) {
    for (const stColumnaFichero& c : kColumnasFichero) {
        const std::string_view resto = l.substr(byte(l, c.desde));
        CString campo(resto.substr(0, byte(resto, c.largo)));
        if (c.recorte == Recorte::Ambos)
            campo.Trim();
        else if (c.recorte == Recorte::Izquierda)
            campo.TrimLeft();
        fila.*c.campo = std::move(campo);
    }
    fila.NumFila = numero;
}

// Columns are characters: each field is cut at the bytes its columns start on. Kept out of
// line, so the cut of the usual byte-per-column line stays as lean as it was.
[[gnu::noinline]] void CortarPorCaracteres(std::string_view l, stRegistroDeclarado& fila,
                                           int numero) {
    Cortar(l, fila, numero, ByteDeColumna);
}

} // namespace

void MOD_DOC::LimpiarDatosAutoliquidacion() {
    SetCasilla(casilla::MesDevengo, pagina::P1, "");
    SetCasilla(casilla::AnioDevengo, pagina::P1, "");
    SetCasilla(casilla::NifDeclaranteFichero, pagina::P1, "");
    for (int c = casilla::NumeroDocumentos; c <= casilla::TotalIngresar; ++c)
        SetCasilla(c, pagina::P1, "");
    for (double& t : TotalesLiquidacion)
        t = 0;
}

void MOD_DOC::ObtenerDatosFila(CString linea, stRegistroDeclarado& fila, int numero) {
    if (filasUtf8_ && TieneNoAscii(linea.view())) {
        CortarPorCaracteres(linea.view(), fila, numero);
        return;
    }
    Cortar(linea.view(), fila, numero,
           [](std::string_view l, size_t columna) { return std::min(columna, l.size()); });
}

void MOD_DOC::RellenarDatosGenerales(stRegistroDeclarado fila) {
    SetCasilla(casilla::MesDevengo, pagina::P1, fila.MesDevengo);
    SetCasilla(casilla::AnioDevengo, pagina::P1, fila.AnioDevengo);
    SetCasilla(casilla::NifDeclaranteFichero, pagina::P1, fila.NifDeclarante);
}

void MOD_DOC::RellenarDatosCasillasLiquidacion() {}

// The boxes get the texts typing would give them, so the rules that read them afterwards
// (validation, replication, the barcode, the remittance records) see ordinary values.
void MOD_DOC::VolcarTotalesEnCasillas() {
    long long total = 0; // cents: the sum of the quotas as written, exact as the validation's
    for (int tipo = 1; tipo <= kTiposDocumento; ++tipo) {
        double cuenta = 0, importe = 0, cuota = 0;
        for (int tramo = 0; tramo < kTramos; ++tramo) {
            cuenta += TotalesLiquidacion[Indice(tipo, kCuenta, tramo)];
            importe += TotalesLiquidacion[Indice(tipo, kImporte, tramo)];
            cuota += TotalesLiquidacion[Indice(tipo, kCuota, tramo)];
        }
        const int fila = tipo - 1;
        if (cuenta == 0) {
            for (int c : {casilla::NumeroDocumentos, casilla::Base, casilla::Cuota})
                SetCasilla(c + fila, pagina::P1, "");
            continue;
        }
        SetCasilla(casilla::NumeroDocumentos + fila, pagina::P1,
                   Double2Currency(cuenta, 0, false, false));
        SetCasilla(casilla::Base + fila, pagina::P1, Double2Currency(importe, 2, true, false));
        const CString textoCuota = Double2Currency(cuota, 2, true, false);
        SetCasilla(casilla::Cuota + fila, pagina::P1, textoCuota);
        long long centimos = 0;
        if (Currency2Centimos(textoCuota, centimos))
            total += centimos;
    }
    SetCasilla(casilla::TotalIngresar, pagina::P1, Centimos2Currency(total));
}

void MOD_DOC::MostrarBarraProgresoFichero(bool mostrar) {
    MostrarBarra(mostrar);
    if (mostrar)
        SetTexto(kTextoBarra);
}

void MOD_DOC::ActualizarBarraProgresoFichero() {
    AnimarBarra();
}

bool MOD_DOC::AnalizarFicheroAutoliquidacion(CString ruta) {
    std::string contenido;
    if (!LeerFichero(ruta, contenido))
        return false;
    const CString texto(std::move(contenido));
    std::string_view todo = texto.view();
    filasUtf8_ = DetectarCodificacion(todo) == Codificacion::Utf8;

    LimpiarDatosAutoliquidacion();
    MostrarBarraProgresoFichero(true);
    // A database error may end the import early; neither the bar nor the state of this import
    // may outlive it.
    struct Barra {
        MOD_DOC& doc;
        bool visible = true;
        ~Barra() {
            if (visible)
                doc.MostrarBarraProgresoFichero(false);
            doc.filasUtf8_ = false;
            doc.lineaEnCurso_ = 0;
        }
    } barra{*this};

    CListaErrores errores;
    int n = 0;
    bool primeraFallida = false;
    stRegistroDeclarado referencia, fila;
    CString fecha;
    CStringArray limites;
    std::optional<CEscalaCuotas> escala;

    size_t inicio = 0;
    int numeroLinea = 0;
    while (inicio <= todo.size()) {
        size_t fin = todo.find('\n', inicio);
        if (fin == std::string_view::npos)
            fin = todo.size();
        std::string_view linea = todo.substr(inicio, fin - inicio);
        inicio = fin + 1;
        ++numeroLinea;
        while (!linea.empty() && texto::EsBlanco(linea.back()))
            linea.remove_suffix(1);
        if (linea.empty())
            continue;
        lineaEnCurso_ = numeroLinea;

        bool aceptada;
        CString importeTexto, tipoTexto; // what the totals need of the row
        if (n == 0) {
            ObtenerDatosFila(CString(linea), fila, 1);
            importeTexto = fila.Importe;
            tipoTexto = fila.TipoDocumento;
            referencia = fila;
            primeraFallida = ValidarDatosFila1(referencia, errores);
            if (!primeraFallida) {
                fecha = "01/" + referencia.MesDevengo + "/" + referencia.AnioDevengo;
                GetInformacionTramos(fecha, limites);
                escala.emplace(*this, fecha);
            }
            aceptada = !primeraFallida;
        } else {
            ObtenerDatosFila(CString(linea), fila, n + 1);
            importeTexto = fila.Importe;
            tipoTexto = fila.TipoDocumento;
            // The row is handed to its check whole, not copied: it is read again only when
            // the next line is cut into it.
            aceptada = !ValidarDatosFilaN(referencia, std::move(fila), errores) && !primeraFallida;
        }

        if (aceptada) {
            const double importe =
                Currency2Double(importeTexto.Left(13) + "," + importeTexto.Right(2));
            const double cuota = escala->Cuota(importe);
            const int tipo = EnteroInicial(tipoTexto);
            const int tramo = importe < Limite(limites, 1)   ? 0
                              : importe < Limite(limites, 2) ? 1
                                                             : 2;
            TotalesLiquidacion[Indice(tipo, kCuenta, tramo)] += 1;
            TotalesLiquidacion[Indice(tipo, kImporte, tramo)] += importe;
            TotalesLiquidacion[Indice(tipo, kCuota, tramo)] += cuota;
            if (n % kFilasPorAvance == 0)
                ActualizarBarraProgresoFichero();
        }
        ++n;
    }
    barra.visible = false;
    MostrarBarraProgresoFichero(false);

    if (n == 0) {
        CString descripcion, detalle;
        const CString codigo = CodigoError(*this, error::FicheroVacio);
        ObtenerDetallesError(codigo, descripcion, detalle);
        errores.Add(stError(casilla::ImportacionFichero, pagina::P1, codigo, descripcion, detalle));
    }
    if (!errores.IsEmpty()) {
        LimpiarDatosAutoliquidacion();
        // A refused file is explained: every faulty row, with its number and why.
        AfxServicios().MostrarErrores(errores);
        return false;
    }

    CString mensaje = AfxCadena(cadena_host::FicheroLeido);
    mensaje.Replace("%1", ruta);
    AfxServicios().MessageBox(mensaje, AfxCadena(recurso::CadenaCodigo),
                              MB_OK | MB_ICONINFORMATION);
    RellenarDatosGenerales(referencia);
    if constexpr (formulario::kPasoCasillasLiquidacion)
        RellenarDatosCasillasLiquidacion();
    VolcarTotalesEnCasillas();
    return true;
}
