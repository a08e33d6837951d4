// Every box number of the form, in one place. Box nn of page index 0 is written P1-nn, of
// page index 1 P2-nn.
#pragma once

#include "Modelo/document/CasillasHost.h"
#include "Modelo/document/CatalogoCasillas.h"

namespace pagina {
inline constexpr int P1 = 0;
inline constexpr int P2 = 1;
// Page type texts: the key by which views and printed copies are chosen.
inline constexpr const char* kTipo1 = "1";
inline constexpr const char* kTipo2 = "2";
} // namespace pagina

// Box texts the rules compare with.
namespace valor {
inline constexpr const char* kImporteCero = "0,00";
inline constexpr const char* kCuentaCero = "0";
inline constexpr const char* kMarcado = kCasillaMarcada; // a ticked check box
} // namespace valor

namespace casilla {
// Declaration header.
inline constexpr int CodigoP0 = 0; // three-digit code, "000" in a new declaration
inline constexpr int MesDevengo = 1;
inline constexpr int AnioDevengo = 2;
inline constexpr int NifDeclaranteFichero = 24; // declarant read from the data file
inline constexpr int MarcaT = 121;              // fixed "T" of a new declaration

// A party group starts at its first box; the offsets below are the same for both groups. The
// host finds the parties by the layout it knows, so the form takes that layout from it.
inline constexpr int SujetoPasivo = 10;
inline constexpr int Representante = SujetoPasivo + casilla_host::DesplazamientoRepresentante;
namespace grupo {
inline constexpr int Nif = 0;
// first surname, or the whole name of an entity
inline constexpr int Apellido1 = casilla_host::DesplazamientoNombre;
inline constexpr int Apellido2 = 2;
inline constexpr int Nombre = 3;
inline constexpr int TipoVia = 4;
inline constexpr int NombreVia = 5;
inline constexpr int Numero = 6;
inline constexpr int Escalera = 7;
inline constexpr int Piso = 8;
inline constexpr int Puerta = 9;
inline constexpr int Telefono = 10;
inline constexpr int Provincia = 11;
inline constexpr int Municipio = 12;
inline constexpr int CodigoPostal = 13;
inline constexpr int Tamano = 14;
} // namespace grupo

// Complementary or substitutive declaration and the earlier declaration it refers to.
inline constexpr int Complementaria = 50;
inline constexpr int Sustitutiva = 51;
inline constexpr int JustificanteAnterior = 52;
inline constexpr int FechaPresentacionAnterior = 53;
inline constexpr int AnioAnterior = 54;
inline constexpr int NumeroPresentacionAnterior = 55;
// The data-file import reports the findings that belong to no row at this box, and bringing
// the person to it on page 1 starts the import.
inline constexpr int ImportacionFichero = Complementaria;

// Liquidation table: row i = 0..3 is receipts, promissory notes, cheques, other documents.
inline constexpr int NumeroDocumentos = 60; // + i
inline constexpr int Base = 64;             // + i
inline constexpr int Cuota = 68;            // + i
inline constexpr int FilasLiquidacion = 4;
inline constexpr int TotalIngresar = 72;

// Presenter and signature.
inline constexpr int PresentadorNif = casilla_host::PresentadorNif;
inline constexpr int PresentadorNombre = casilla_host::PresentadorNombre;
inline constexpr int PresentadorTelefono = 142;
inline constexpr int FirmaDia = 143;
inline constexpr int FirmaMes = 144; // month in words
inline constexpr int FirmaAnio = 145;
inline constexpr int FirmaFecha = 146; // the date picker of the signature date
inline constexpr int LugarFirma = 147;
} // namespace casilla

// Lengths and digits of the boxes whose format limits what is typed.
namespace formato {
inline constexpr int LongitudAnio = 4; // P1-2 and P1-54
inline constexpr int LongitudJustificante = 13;
inline constexpr int LongitudNumeroPresentacion = 6;
inline constexpr int DigitosCuenta = 9; // counts: whole numbers
inline constexpr int DigitosImporte = 14;
inline constexpr int DecimalesImporte = 2;
} // namespace formato
