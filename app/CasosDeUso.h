// What a person does with the stored declarations, one way for every face of the host: the
// command line and the window both call these, so the two cannot come to behave differently.
// A refusal throws ErrorUsuario with the one line a person reads, and nothing is changed.
#pragma once

#include "Host.h"
#include "Modelo/Intervinientes.h"

#include <functional>

namespace casos {

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

// Adds a party to the store, or, given a declaration and a role, as that draft's party in the
// role. Its order number.
CString AnadirInterviniente(CHost& host, const stInterviniente& p, const CString& codigo = "",
                            const CString& rol = "");

} // namespace casos
