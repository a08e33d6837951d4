// The form's operations that the host program reaches by name: the scriptable face of what the
// page views call directly (the quota of an amount, the brackets, the refill of the parties).
#include "Casillas.h"
#include "Formulario.h"
#include "ModDoc.h"
#include "Modelo/Funciones.h"
#include "datafile/Lectura.h"

namespace {

bool Cuota(MOD_DOC& doc, const CStringArray& args, CStringArray& out) {
    if (args.GetSize() != 2)
        return false;
    out.Add(Double2Currency(doc.GetCuota(Currency2Double(args[0]), args[1]), 2, true, false));
    return true;
}

bool Tramos(MOD_DOC& doc, const CStringArray& args, CStringArray& out) {
    if (args.GetSize() != 1)
        return false;
    return doc.GetInformacionTramos(args[0], out);
}

bool Intervinientes(MOD_DOC& doc, const CStringArray& args, CStringArray&) {
    if (!args.IsEmpty())
        return false;
    doc.InicializarDatosIntervinientes();
    return true;
}

// The accrual month and year the declaration holds, for the host's list of declarations.
bool Periodo(MOD_DOC& doc, const CStringArray& args, CStringArray& out) {
    if (!args.IsEmpty())
        return false;
    out.Add(doc.GetCasilla(casilla::MesDevengo, pagina::P1));
    out.Add(doc.GetCasilla(casilla::AnioDevengo, pagina::P1));
    return true;
}

// The boxes of the taxpayer's number and name parts, for the host's list of declarations.
bool Sujeto(MOD_DOC&, const CStringArray& args, CStringArray& out) {
    if (!args.IsEmpty())
        return false;
    using namespace casilla;
    for (int c : {SujetoPasivo + grupo::Nif, SujetoPasivo + grupo::Apellido1,
                  SujetoPasivo + grupo::Apellido2, SujetoPasivo + grupo::Nombre})
        out.Add(CString::Formatted("%d", c));
    return true;
}

// A complementary ("C") or substitutive ("S") declaration of an earlier one: the kind is
// ticked and the earlier declaration's receipt number, presentation date (day-first), year and
// presentation number are written, the number padded as the page pads it.
bool Corregir(MOD_DOC& doc, const CStringArray& args, CStringArray&) {
    if (args.GetSize() != 5 || (args[0] != "C" && args[0] != "S"))
        return false;
    using namespace casilla;
    const bool complementaria = args[0] == "C";
    doc.SetCasilla(Complementaria, pagina::P1, complementaria ? valor::kMarcado : "");
    doc.SetCasilla(Sustitutiva, pagina::P1, complementaria ? "" : valor::kMarcado);
    doc.SetCasilla(JustificanteAnterior, pagina::P1, args[1]);
    doc.SetCasilla(FechaPresentacionAnterior, pagina::P1, args[2]);
    doc.SetCasilla(AnioAnterior, pagina::P1, args[3]);
    doc.SetCasilla(NumeroPresentacionAnterior, pagina::P1,
                   Padding(args[4], formato::LongitudNumeroPresentacion));
    return true;
}

// The page-1 import: the liquidation boxes are cleared, then the file is read. "1" when the
// file was taken, "0" when it was refused, "2" when it cannot be read: then nothing is cleared,
// since a path that cannot be read must not cost the user the table they have. Without a path
// it gives the page-1 box through which the page starts the import.
bool Importar(MOD_DOC& doc, const CStringArray& args, CStringArray& out) {
    if (args.IsEmpty()) {
        out.Add(CString::Formatted("%d", casilla::ImportacionFichero));
        return true;
    }
    if (args.GetSize() != 1)
        return false;
    if (!FicheroLegible(args[0])) {
        out.Add("2");
        return true;
    }
    doc.LimpiarDatosAutoliquidacion();
    out.Add(doc.AnalizarFicheroAutoliquidacion(args[0]) ? "1" : "0");
    return true;
}

struct Operacion {
    const char* nombre;
    bool (*fn)(MOD_DOC&, const CStringArray&, CStringArray&);
};

constexpr Operacion kOperaciones[] = {
    {"cuota", Cuota},       {"tramos", Tramos},     {"intervinientes", Intervinientes},
    {"periodo", Periodo},   {"importar", Importar}, {"sujeto", Sujeto},
    {"corregir", Corregir},
};

} // namespace

// Forms whose page 1 offers no import do not offer it here either.
bool Ofrecida(const Operacion& op) {
    return formulario::kImportacionDesdePagina1 || op.fn != Importar;
}

// False when the document is not of this form, the operation is unknown or its arguments are
// not the ones it takes. Without arguments and result it only answers whether the form offers
// the operation.
MODELO_PLUGIN_EXPORT bool DllOperacion(CGuiaDoc* doc, const char* nombre, const CStringArray* args,
                                       CStringArray* resultado) {
    auto* mod = dynamic_cast<MOD_DOC*>(doc);
    if (!mod || !nombre)
        return false;
    for (const Operacion& op : kOperaciones) {
        if (CString(nombre) != op.nombre || !Ofrecida(op))
            continue;
        if (!args && !resultado)
            return true;
        return args && resultado && op.fn(*mod, *args, *resultado);
    }
    return false;
}
