// The operations a form plug-in offers the program beyond the document's virtual slots: one
// table of typed entries that the plug-in hands over through a single export and the program
// checks once, when it loads the plug-in. A host and a plug-in built apart then either agree
// on every entry or the plug-in is turned down at load, never misread in the middle of a save.
#pragma once

#include "Modelo/base/CArray.h"
#include "Modelo/base/COleDateTime.h"
#include "Modelo/base/CString.h"

#include <cstdint>

class CGuiaDoc;
class CGuiaView;

// What an import of the data file from page 1 came to.
enum class ResultadoImportacion {
    Tomado,    // every row passed: the file's boxes are in the document
    Rechazado, // a row failed: its findings were shown and the liquidation boxes are empty
    Ilegible,  // the chosen file could not be read: the document is as it was
    Cancelado, // nothing was read: no file chosen, or the declaration may no longer change
};

enum class TipoCorreccion { Complementaria, Sustitutiva };

// The earlier, final declaration that a complementary or substitutive one corrects.
struct DeclaracionAnterior {
    TipoCorreccion tipo = TipoCorreccion::Complementaria;
    CString justificante;       // its receipt number
    COleDateTime presentacion;  // the day it was filed
    int anio = 0;               // its accrual year
    CString numeroPresentacion; // digits; the form pads them to its length
};

// The accrual period a declaration holds; 0 where its box holds no month or year.
struct PeriodoDevengo {
    int mes = 0;
    int anio = 0;
};

// The page-1 boxes of the taxpayer: the number, then the name parts in the order they are read.
struct CasillasSujeto {
    int nif = 0;
    int nombre[3] = {};
};

// Raised whenever the layout of OperacionesFormulario changes, entries added included.
inline constexpr std::uint32_t kVersionOperaciones = 1;

struct OperacionesFormulario {
    std::uint32_t version; // kVersionOperaciones of the plug-in's build
    std::uint32_t tamano;  // sizeof(OperacionesFormulario) of the plug-in's build

    CasillasSujeto sujeto;
    // The quota of an amount on a day, rounded to the cent; 0 where no bracket holds it.
    double (*cuota)(CGuiaDoc& doc, double importe, const COleDateTime& fecha);
    // The lower bounds of the brackets in force on the day, in bracket order, as stored.
    bool (*tramos)(CGuiaDoc& doc, const COleDateTime& fecha, CStringArray& limitesInferiores);
    // Fills the party boxes again from the parties bound to the declaration.
    void (*intervinientes)(CGuiaDoc& doc);
    PeriodoDevengo (*periodo)(CGuiaDoc& doc);
    // Ticks the kind of correction and writes the earlier declaration's boxes.
    void (*corregir)(CGuiaDoc& doc, const DeclaracionAnterior& anterior);
    // The import as the person starts it on page 1, file dialog included. Null where page 1
    // offers no import.
    ResultadoImportacion (*importar)(CGuiaView& pagina1);
};

// The export that hands the table over: `extern "C" const OperacionesFormulario* NAME()`.
inline constexpr const char* kExportOperaciones = "DllOperaciones";
using FnOperacionesFormulario = const OperacionesFormulario* (*)();
