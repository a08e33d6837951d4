// What a person does with the stored declarations, one way for every face of the host: the
// command line and the window both call these, so the two cannot come to behave differently.
// A refusal throws ErrorUsuario with the one line a person reads, and nothing is changed.
#pragma once

#include "Host.h"
#include "Modelo/parties/Intervinientes.h"

#include <functional>
#include <memory>
#include <vector>

namespace casos {

// ----- declarations ----------------------------------------------------------------------------

// A stored declaration with its taxpayer, as the lists of both faces show it.
struct Declaracion {
    CAlmacenDeclaraciones::Resumen resumen;
    CHost::Sujeto sujeto;
};
// By code, in one read snapshot; only those of the form, the accrual year and the taxpayer's
// number when given.
std::vector<Declaracion> Declaraciones(CHost& host, const CString& formulario = "",
                                       const CString& anio = "", const CString& nif = "");

// A complementary or substitutive declaration of a final declaration of the same form, stored
// under a new code with the final one's parties; of its period when neither month nor year is
// given.
std::unique_ptr<CGuiaDoc> NuevaCorrectora(CHost& host, const CString& formulario,
                                          const CString& anterior, bool complementaria, CString mes,
                                          CString anio);

// The one way a stored draft is changed: read inside one write transaction (so another
// program's save is never undone), refused (ErrorUsuario) when unknown or final. Guardar saves
// it and commits; left without Guardar, the store stays as it was.
class CambioDeBorrador {
public:
    CambioDeBorrador(CHost& host, const CString& codigo);
    CGuiaDoc& Doc() { return *doc_; }
    void Guardar();

private:
    CHost& host_;
    CBaseDatos::Transaccion t_;
    std::unique_ptr<CGuiaDoc> doc_;
};

// The form's findings, each with the texts a person reads.
CListaErrores Validar(CGuiaDoc& doc);

// Saves what the document holds, in one write transaction. False, after telling the person
// (AfxMessageBox), when another program saved the declaration since the document read it: this
// save would undo that one.
bool Guardar(CHost& host, CGuiaDoc& doc);

// In one write transaction: the document, refused as Guardar refuses it, is saved when it
// holds changes, validated, and without findings the declaration becomes final, so nothing
// another program does can fall between what was validated and what became final. True when
// it is final; false with the findings (the save stands), or with none when it was refused.
bool Finalizar(CHost& host, CGuiaDoc& doc, CListaErrores& hallazgos);

// Deletes a draft with its boxes, records and bound parties, once `confirmar` says yes. It is
// asked before the write lock is taken, so nobody's pause blocks other programs; false when it
// says no. An unknown or final declaration is refused.
bool BorrarBorrador(CHost& host, const CString& codigo, const std::function<bool()>& confirmar);

// Binds a copy of the stored party to the draft in the role, or removes the role's party (false
// when it had none). The declaration's party boxes are not refilled here: that is the parties
// dialog's OK, which the page (in the window) or the command runs.
void VincularInterviniente(CHost& host, const CString& codigo, const CString& rol,
                           const CString& numOrden);
bool DesvincularInterviniente(CHost& host, const CString& codigo, const CString& rol);

// The parties dialog's OK on a stored draft: `cambio` (a binding, or nothing), then the
// declaration's party boxes filled again from the store and saved, all in one transaction.
void CambiarIntervinientes(CHost& host, const CString& codigo,
                           const std::function<void()>& cambio = {});

// Every party, free and bound, by order number.
std::vector<stInterviniente> Intervinientes(CHost& host);
// A free party of the store; refused when there is none with that number.
stInterviniente IntervinienteLibre(CHost& host, const CString& numOrden);
void CorregirInterviniente(CHost& host, const CString& numOrden, const stInterviniente& p);
void QuitarInterviniente(CHost& host, const CString& numOrden);

// The default presenter of new declarations. The lookup of a new declaration compares the
// stored name, which keeps a natural person's parts apart, so the name as a person types it is
// matched to a free party of that number first. False when the store has none: the setting is
// kept as given, and new declarations get no presenter until that party is added.
bool FijarPresentador(CHost& host, const CString& nif, const CString& nombre);

// Adds a party to the store, or, given a declaration and a role, as that draft's party in the
// role. Its order number.
CString AnadirInterviniente(CHost& host, const stInterviniente& p, const CString& codigo = "",
                            const CString& rol = "");

// ----- tariff ----------------------------------------------------------------------------------

// One bracket of a scale in force, as the store keeps it: numbers with a point, ISO dates.
struct FilaTarifa {
    CString tarifa, orden, desde, hasta, porcentaje, fijo, vigenteDesde, vigenteHasta;
};
// The form's tariff in force on a day-first date, scale by scale; empty when there is none.
std::vector<FilaTarifa> TarifaEnVigor(CHost& host, const CGuiaDoc& doc, const CString& fecha);

} // namespace casos
