// What both page views are: the boxes of page 1's table that the page shows, each exchanged,
// loaded, saved, printed, tipped and mapped by its row, so that a box needs no code of its own
// here. The page's own rules are its view's part.
#pragma once

#include "Modelo/windows/GuiaView.h"
#include "core/TablaCasillas.h"

#include <map>
#include <utility>
#include <vector>

// The face of the declaration code, on screen and on paper.
inline constexpr const char* kFuenteCodigo = "Courier New";

class VistaCasillas : public CGuiaView {
public:
    // `pagina`: whose rows of the table the view shows (pagina::P1 or pagina::P2).
    VistaCasillas(int pagina, UINT idPlantilla, UINT idFondo, UINT idDibujo);
    ~VistaCasillas() override;

    void DoDataExchange(CDataExchange* pDX) override;
    bool InicializarControles() override;
    bool InicializarTooltips() override;
    bool InicializarControlesAyuda() override;
    bool InicializarControlesValidacion() override;
    bool InicializarControlesImpresora() override;
    bool CargarDatos() override;
    bool SalvarDatos() override;
    void ImprimirVista(CDC* dc, double escalaX, double escalaY) override;

protected:
    // The values the exchange keeps for a box, by its kind.
    CString& Texto(int casilla);
    int& Marca(int casilla);
    COleDateTime& Fecha(int casilla);

    // The control of a box, or of an id, of the view's page (the host's handle, of the class the
    // template gives it).
    template <class T = CWnd> T& DeCasilla(int casilla) {
        return static_cast<T&>(*GetDlgItem(fila(casilla).control.id));
    }
    template <class T = CWnd> T& DeId(int id) { return static_cast<T&>(*GetDlgItem(id)); }
    // The box a control of the page shows, -1 for none; and a shown box's kind of value.
    int CasillaDeControl(int id) const;
    FormatoCasilla Formato(int casilla) const { return fila(casilla).formato; }

private:
    struct Valor {
        CString texto;
        int marca = BST_UNCHECKED;
        COleDateTime fecha;
    };

    // Help, tips and validation reach the boxes on the page a person works on, page 1.
    bool Principal() const { return pagina_ == pagina::P1; }
    const tabla::Fila& fila(int casilla) const;
    Valor& valor(int casilla);
    // Loads the box into its value, or saves the value into the box.
    void Intercambiar(const tabla::Fila& f, bool salvar);
    // A natural person's name is shown in three fields, an entity's in one wide field.
    void DisponerNombre(int primeraCasilla);

    const int pagina_;
    std::vector<const tabla::Fila*> filas_; // the boxes the page shows, in tab order
    std::map<int, Valor> valores_;          // by box
    // The statics whose text the exchange keeps, by control id.
    std::vector<std::pair<int, CString>> estaticos_;
    CFont fuenteCodigo_; // the code label's Courier New
};
