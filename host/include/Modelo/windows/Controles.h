// The host controls a page template is made of, and the tooltip control of a view. Each class
// is a handle (CWnd) with the operations of its kind; what a control holds lives in its window,
// so the host's handle and the one a form binds always agree.
#pragma once

#include "Modelo/base/COleDateTime.h"
#include "Modelo/codes/Codigos.h"
#include "Modelo/windows/Ventanas.h"

#include <vector>

// ----- statics -------------------------------------------------------------------------------

// A static: a text, or the picture of a printed code.
class MODELO_API CStatic : public CWnd {
public:
    DECLARE_DYNAMIC(CStatic)
    // The picture a picture static shows; an empty image clears it.
    void SetImagen(stImagenCodigo imagen);
    const stImagenCodigo* GetImagen() const; // null when it shows none
};

// Bold text drawn straight over the page image.
class MODELO_API CStaticTransBold : public CStatic {
public:
    DECLARE_DYNAMIC(CStaticTransBold)
};

// ----- buttons -------------------------------------------------------------------------------

enum : int { BST_UNCHECKED = 0, BST_CHECKED = 1 };

// A push button or a check box. A check box ticks and unticks itself when clicked; SetCheck
// changes the tick without any notification, as code does.
class MODELO_API CButton : public CWnd {
public:
    DECLARE_DYNAMIC(CButton)
    int GetCheck() const;
    void SetCheck(int marca);
};

// A push button drawn with four bitmaps of the resource chain.
class MODELO_API CScrollBitmapButton : public CButton {
public:
    DECLARE_DYNAMIC(CScrollBitmapButton)
    enum Imagen { Normal = 0, Pulsada = 1, Enfocada = 2, Inhabilitada = 3 };
    // False when one of the bitmaps is not in the chain; the button keeps what it had.
    bool LoadBitmaps(UINT normal, UINT pulsada, UINT enfocada, UINT inhabilitada);
    UINT GetIdBitmap(Imagen cual) const; // 0 when not loaded
    // Resizes the button to its normal bitmap, keeping its top left corner.
    bool SizeToContent();
};

// ----- edits ---------------------------------------------------------------------------------

// A one-line text edit. What a person types passes the control's rules (its kind, upper case,
// the limit); text set by code is taken as it is.
class MODELO_API CEdit : public CWnd {
public:
    DECLARE_DYNAMIC(CEdit)
    // The most characters a person may type; 0 means no limit.
    void LimitText(int maximo);
    int GetLimitText() const;
    // What a person's keys turn into in this edit (capitals for an upper-case edit), and
    // whether the edit may hold the text they leave (its kind, its digits, its limit).
    CString Tecleado(const CString& teclas) const;
    bool Admite(const CString& texto) const;
};

// A text edit drawn over the page image.
class MODELO_API CEditTrans : public CEdit {
public:
    DECLARE_DYNAMIC(CEditTrans)
};

// Digits only.
class MODELO_API CEditNumber : public CEdit {
public:
    DECLARE_DYNAMIC(CEditNumber)
};

// A number in the currency text: digits, dots grouping thousands, a comma before the decimals,
// at most so many digits on each side of the comma (14 and 2 unless told).
class MODELO_API CEditDecNumber : public CEdit {
public:
    DECLARE_DYNAMIC(CEditDecNumber)
    void SetDigitos(int enteros, int decimales);
    int GetDigitosEnteros() const;
    int GetDigitosDecimales() const;
};

// ----- date pickers --------------------------------------------------------------------------

enum : int { GDT_VALID = 0, GDT_NONE = 1 };

class MODELO_API CDateTimeCtrl : public CWnd {
public:
    DECLARE_DYNAMIC(CDateTimeCtrl)
    // A picker that cannot show "no date" ignores a null or invalid date.
    bool SetTime(const COleDateTime& fecha);
    int GetTime(COleDateTime& fecha) const; // GDT_NONE, with a null date, when it shows none
    bool TieneFecha() const;
    // The date as the picker shows it, "" when it shows none.
    CString TextoFecha() const;
};

// A picker that can also show no date.
class MODELO_API CDateTimeOptCtrl : public CDateTimeCtrl {
public:
    DECLARE_DYNAMIC(CDateTimeOptCtrl)
    void OcultarFecha();
};

// A picker that always shows a date, in one fixed format.
class MODELO_API CDateTimeFixFormatCtrl : public CDateTimeCtrl {
public:
    DECLARE_DYNAMIC(CDateTimeFixFormatCtrl)
};

// ----- tooltips ------------------------------------------------------------------------------

// The tips a view shows over its controls. A control has at most one tip; adding another
// replaces it.
class MODELO_API CToolTipCtrl : public CObject {
public:
    DECLARE_DYNAMIC(CToolTipCtrl)
    bool AddTool(CWnd* control, const CString& texto);
    void Activate(bool activar);
    bool IsActive() const { return activo_; }
    int GetToolCount() const { return int(tips_.size()); }
    CString GetText(int idControl) const; // "" when the control has no tip
    void Vaciar();

private:
    struct Tip {
        int id;
        CString texto;
    };
    std::vector<Tip> tips_;
    bool activo_ = false;
};

// The runtime class of the handle the host makes for a control of that kind.
MODELO_API const CRuntimeClass* ClaseDeControl(ClaseControl clase);
