// Every box of page 1's table travels both ways through the page's view: what the document
// holds is shown by the box's control, and what the control holds is what the save writes. A
// row the exchange cannot carry fails here, whatever kind of box it is.
#include "Formulario.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/windows/GuiaView.h"
#include "core/ModDoc.h"
#include "core/TablaCasillas.h"
#include "support/BaseTemporal.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>

namespace {

struct Valores {
    const char* cargado;  // in the document before the view opens
    const char* mostrado; // what the control then shows
    const char* escrito;  // put into the control
    const char* salvado;  // what the save then writes
};

// Two valid values of each kind, the second one put in by hand; the code lists show names.
// The total is what the page sums from the quotas above it.
constexpr std::pair<FormatoCasilla, Valores> kPorFormato[] = {
    {FormatoCasilla::Cuenta, {"7", "7", "8", "8"}},
    {FormatoCasilla::Importe, {"1,00", "1,00", "2,00", "2,00"}},
    {FormatoCasilla::Total, {"4,00", "4,00", "8,00", "8,00"}},
    {FormatoCasilla::Mes, {"03", "03", "04", "04"}},
    {FormatoCasilla::MesLetra, {"MARZO", "MARZO", "ABRIL", "ABRIL"}},
    {FormatoCasilla::Dia, {"05", "05", "06", "06"}},
    {FormatoCasilla::Anio, {"2023", "2023", "2022", "2022"}},
    {FormatoCasilla::Digitos, {"123456", "123456", "654321", "654321"}},
    {FormatoCasilla::CodigoPostal, {"28013", "28013", "08001", "08001"}},
    {FormatoCasilla::NifInterviniente, {"12345678Z", "12345678Z", "X1234567L", "X1234567L"}},
    {FormatoCasilla::TipoVia, {"CL", "CL", "AV", "AV"}},
    {FormatoCasilla::Provincia, {"28", "Madrid", "Barcelona", "08"}},
    {FormatoCasilla::Municipio, {"079", "Madrid", "Barcelona", "019"}},
    {FormatoCasilla::Marca, {"S", "S", "", ""}},
    {FormatoCasilla::Fecha, {"15/02/2024", "15/02/2024", "01/03/2024", "01/03/2024"}},
};

Valores DeFormato(FormatoCasilla f) {
    for (const auto& [formato, valores] : kPorFormato)
        if (formato == f)
            return valores;
    return {"ABC", "ABC", "XYZ", "XYZ"};
}

CString Muestra(CWnd& w, tabla::Intercambio i) {
    switch (i) {
    case tabla::Intercambio::Marca:
        return static_cast<CButton&>(w).GetCheck() == BST_CHECKED ? "S" : "";
    case tabla::Intercambio::Fecha:
    case tabla::Intercambio::FechaOpcional:
        return static_cast<CDateTimeCtrl&>(w).TextoFecha();
    default:
        return w.GetWindowText();
    }
}

void Escribe(CWnd& w, tabla::Intercambio i, const char* valor) {
    switch (i) {
    case tabla::Intercambio::Marca:
        static_cast<CButton&>(w).SetCheck(*valor ? BST_CHECKED : BST_UNCHECKED);
        break;
    case tabla::Intercambio::Fecha:
    case tabla::Intercambio::FechaOpcional:
        static_cast<CDateTimeCtrl&>(w).SetTime(Str2Time(valor));
        break;
    default:
        w.SetWindowText(valor);
    }
}

} // namespace

TEST(Intercambio, EveryBoxOfTheTableIsShownByItsControlAndSavedFromIt) {
    BaseTemporal base;
    Reloj::Fijar([] { return COleDateTime(2024, 6, 10, 9, 0, 0); });
    MOD_DOC doc;
    doc.SetCodDeclar(CString(formulario::kCodigo) + "0000000001");
    doc.CrearEstructPaginas();
    ASSERT_TRUE(doc.CargarTablasAuxiliares());
    for (const tabla::Fila& f : tabla::kPagina1)
        if (f.EsCasilla() && f.TieneControl())
            doc.SetCasilla(f.Casilla(), pagina::P1, DeFormato(f.formato).cargado);

    CString error;
    std::unique_ptr<CGuiaView> vista = AbrirVistaPagina(doc, pagina::P1, error);
    ASSERT_TRUE(vista) << error.c_str();
    for (const tabla::Fila& f : tabla::kPagina1) {
        if (!f.EsCasilla() || !f.TieneControl())
            continue;
        CWnd* w = vista->GetDlgItem(f.control.id);
        ASSERT_NE(w, nullptr) << f.Casilla();
        EXPECT_EQ(Muestra(*w, tabla::IntercambioDe(f)), CString(DeFormato(f.formato).mostrado))
            << f.Casilla();
    }

    // In table order, as a person would go through the page; the rules the changes wake keep
    // these values as they are.
    for (const tabla::Fila& f : tabla::kPagina1)
        if (f.EsCasilla() && f.TieneControl())
            Escribe(*vista->GetDlgItem(f.control.id), tabla::IntercambioDe(f),
                    DeFormato(f.formato).escrito);
    ASSERT_TRUE(vista->SalvarDatos());
    for (const tabla::Fila& f : tabla::kPagina1)
        if (f.EsCasilla() && f.TieneControl()) {
            EXPECT_EQ(doc.GetCasilla(f.Casilla(), pagina::P1),
                      CString(DeFormato(f.formato).salvado))
                << f.Casilla();
        }
}
