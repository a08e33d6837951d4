// Data exchange between a view's values and its controls: UpdateData(FALSE) shows the values,
// UpdateData(TRUE) reads them back and checks them. A check that fails tells the person why,
// and the whole exchange reports failure.
#pragma once

#include "Modelo/base/COleDateTime.h"
#include "Modelo/windows/Ventanas.h"

class CGuiaView;

class MODELO_API CDataExchange {
public:
    CDataExchange(CGuiaView* vista, bool guardar);

    bool m_bSaveAndValidate;
    CGuiaView* m_pDlgWnd;

    // The control an exchange works on; a missing control fails the exchange.
    CWnd* PrepareCtrl(int id);
    CWnd* PrepareEditCtrl(int id);
    // Ends the exchange as failed; UpdateData returns false.
    [[noreturn]] void Fail();

    int m_idLastControl = 0;
    bool m_bEditLastControl = false;
};

// What Fail throws; caught by UpdateData only.
struct MODELO_API CUserException {};

// Binds a handle to the control of that id. Fails when the view has no such control, or when
// the handle's class cannot name a control of that kind.
MODELO_API void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
MODELO_API void DDX_Text(CDataExchange* pDX, int id, CString& valor);
MODELO_API void DDX_Check(CDataExchange* pDX, int id, int& valor);
// A picker that shows no date gives a null date, and a null date makes an optional picker
// show none.
MODELO_API void DDX_DateTimeCtrl(CDataExchange* pDX, int id, COleDateTime& valor);
// After the DDX_Text of an edit: showing the value limits what a person may type; reading it
// refuses a longer value with the host's message.
MODELO_API void DDV_MaxChars(CDataExchange* pDX, const CString& valor, int maximo);
