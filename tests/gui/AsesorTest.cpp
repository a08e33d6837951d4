// The adviser's month in the window: the Clientes tab, a declaration carried over to another
// period, a correction of a final one and the settings dialog.
#include "AccionesAsesor.h"
#include "Ajustes.h"
#include "CasosDeUso.h"
#include "ConVentana.h"
#include "DialogoAjustes.h"
#include "Host.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "PestanaDeclaracion.h"
#include "VentanaPrincipal.h"
#include "VistaClientes.h"
#include "support/Apoyo.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class VentanaAsesor : public ConVentana<> {
protected:
    // A declaration of the seed's client DISTRIBUCIONES (party 1) for the month.
    CString DeCliente(const char* mes, const char* anio, bool definitiva = false) {
        const CString c = host->Nueva("863", mes, anio)->GetCodDeclar();
        casos::CambiarIntervinientes(
            *host, c, [&] { casos::VincularInterviniente(*host, c, rol::SujetoPasivo, "1"); });
        if (definitiva)
            host->Almacen().CambiarEstado(c, estado::Definitiva);
        return c;
    }
    VistaClientes* Clientes() {
        auto* v = ventana->findChild<VistaClientes*>("vistaClientes");
        EXPECT_NE(v, nullptr);
        ventana->Pestanas()->setCurrentWidget(v);
        v->Anio()->setValue(2024);
        v->Recargar();
        return v;
    }
    int FilaDe(VistaClientes* v, const QString& nif) {
        for (int f = 0; f < v->Tabla()->rowCount(); ++f)
            if (v->Tabla()->item(f, 0)->text() == nif)
                return f;
        return -1;
    }
    CString CodigoEnFrente() {
        PestanaDeclaracion* p = ventana->Actual();
        return p ? p->Codigo() : CString();
    }
    // Answers the next modal dialog with OK once it is up.
    static void AceptarDialogo(const std::function<void(QDialog&)>& rellenar = {}) {
        QTimer::singleShot(0, [rellenar] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            if (rellenar)
                rellenar(*d);
            d->accept();
        });
    }
    static void Guardar(QWidget* w, const char* nombre) {
        if (const char* carpeta = std::getenv("MODELO_CAPTURAS"))
            w->grab().save(QString(carpeta) + "/" + nombre);
    }
};

} // namespace

TEST_F(VentanaAsesor, TheClientesTabOpensAMonthOrCreatesItForTheClientAfterAsking) {
    const CString ene = DeCliente("01", "2024", true);
    const CString feb = DeCliente("02", "2024");
    VistaClientes* v = Clientes();
    const int f = FilaDe(v, "B12345674");
    ASSERT_GE(f, 0);
    QTableWidget* t = v->Tabla();
    const int enero = VistaClientes::kPrimerMes, marzo = VistaClientes::kPrimerMes + 2;
    EXPECT_EQ(t->item(f, enero)->text(), "Definitiva");
    EXPECT_EQ(t->item(f, enero + 1)->text(), "Borrador");
    EXPECT_EQ(t->item(f, marzo)->text(), "—");
    Guardar(ventana.get(), "clientes.png");
    v->Busqueda()->setText("distribuciones");
    EXPECT_FALSE(t->isRowHidden(f));
    EXPECT_TRUE(t->isRowHidden(FilaDe(v, "12345678Z")));
    v->Busqueda()->clear();
    EXPECT_FALSE(t->isRowHidden(FilaDe(v, "12345678Z")));

    // A click opens the month's declaration in its tab.
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {},
                      t->visualItemRect(t->item(f, enero + 1)).center());
    EXPECT_EQ(CodigoEnFrente(), feb);

    // Enter on an empty month asks; no creates nothing.
    ventana->Pestanas()->setCurrentWidget(v);
    t->setFocus();
    t->setCurrentCell(f, marzo);
    ui.respuesta = IDNO;
    QTest::keyClick(t, Qt::Key_Return);
    ASSERT_EQ(ui.mensajes.size(), 1u);
    EXPECT_TRUE(ui.mensajes[0].texto.Find("03/2024") >= 0) << ui.mensajes[0].texto.str();
    EXPECT_EQ(casos::Declaraciones(*host).size(), 2u);

    // Yes creates the client's declaration of that month, the client bound as taxpayer.
    ui.respuesta = IDYES;
    QTest::keyClick(t, Qt::Key_Return);
    const CString nueva = CodigoEnFrente();
    ASSERT_FALSE(nueva.IsEmpty());
    EXPECT_NE(nueva, feb);
    auto doc = host->Abrir(nueva);
    EXPECT_EQ(doc->GetCasilla(10, 0), "B12345674");
    EXPECT_EQ(doc->GetCasilla(15, 0), "MAYOR");
    EXPECT_EQ(doc->GetCasilla(1, 0), "03");
    EXPECT_EQ(doc->GetCasilla(2, 0), "2024");
    EXPECT_TRUE(doc->GetCasilla(64, 0).IsEmpty());
    bool vinculado = false;
    for (const stInterviniente& p : casos::Intervinientes(*host))
        vinculado = vinculado || (p.CodDeclar == nueva && p.Rol == rol::SujetoPasivo);
    EXPECT_TRUE(vinculado);
    // Shown again, the tab is of now.
    ventana->Pestanas()->setCurrentWidget(v);
    EXPECT_EQ(t->item(FilaDe(v, "B12345674"), marzo)->text(), "Borrador");
    (void)ene;
}

TEST_F(VentanaAsesor, DuplicateAndCorrectTheChosenDeclarationFromTheWindow) {
    const CString dic = DeCliente("12", "2024", true);
    ventana->RecargarLista();
    ventana->Pestanas()->setCurrentIndex(0);
    ventana->Lista()->selectRow(0);
    ASSERT_EQ(DeclaracionElegida(*ventana), dic);

    // The period after December is proposed; the person keeps it.
    int mesPropuesto = 0, anioPropuesto = 0;
    AceptarDialogo([&](QDialog& d) {
        auto& p = static_cast<DialogoPeriodo&>(d);
        mesPropuesto = p.Mes()->value();
        anioPropuesto = p.Anio()->value();
        Guardar(&p, "duplicar.png");
    });
    DuplicarParaOtroPeriodo(*ventana, *host);
    EXPECT_EQ(mesPropuesto, 1);
    EXPECT_EQ(anioPropuesto, 2025);
    const CString ene = CodigoEnFrente();
    ASSERT_FALSE(ene.IsEmpty());
    auto doc = host->Abrir(ene);
    EXPECT_EQ(doc->GetCasilla(10, 0), "B12345674");
    EXPECT_EQ(doc->GetCasilla(1, 0), "01");
    EXPECT_EQ(doc->GetCasilla(2, 0), "2025");

    // A draft in front is no correction's: said, nothing created.
    const size_t antes = casos::Declaraciones(*host).size();
    NuevaCorreccion(*ventana, *host, true);
    EXPECT_EQ(casos::Declaraciones(*host).size(), antes);
    EXPECT_TRUE(ui.mensajes.back().texto.Find("borrador") >= 0);

    ventana->Pestanas()->setCurrentIndex(0);
    ventana->RecargarLista();
    for (int f = 0; f < ventana->Lista()->rowCount(); ++f)
        if (ventana->Lista()->item(f, 0)->text() == QString(dic.c_str()))
            ventana->Lista()->selectRow(f);
    ui.respuesta = IDYES;
    NuevaCorreccion(*ventana, *host, true);
    const CString comp = CodigoEnFrente();
    ASSERT_NE(comp, ene);
    doc = host->Abrir(comp);
    EXPECT_EQ(doc->GetCasilla(50, 0), "S");
    EXPECT_EQ(doc->GetCasilla(52, 0), dic);
    EXPECT_EQ(doc->GetCasilla(10, 0), "B12345674");
}

TEST_F(VentanaAsesor, TheSettingsDialogKeepsWhatConfigKeeps) {
    {
        DialogoAjustes d(*host);
        EXPECT_EQ(d.Presentador()->currentIndex(), 0); // none yet
        ASSERT_GE(d.Presentador()->count(), 3);        // none and the seed's two parties
        const int garcia = d.Presentador()->findText("12345678Z — GARCIA LOPEZ MARIA");
        ASSERT_GT(garcia, 0);
        d.Presentador()->setCurrentIndex(garcia);
        d.Formulario()->setCurrentIndex(d.Formulario()->findData("871"));
        d.Periodo()->setCurrentIndex(1);
        d.show();
        Guardar(&d, "ajustes.png");
        d.accept();
    }
    const casos::AjustesNueva a = casos::LeerAjustes(*host);
    EXPECT_EQ(a.presentadorNif, "12345678Z");
    EXPECT_EQ(a.presentadorNombre, "GARCIA|LOPEZ|MARIA"); // as the store keeps it
    EXPECT_EQ(a.formulario, "871");
    EXPECT_TRUE(a.mesEnCurso);
    // A new declaration gets the presenter.
    EXPECT_EQ(host->Nueva("863", "03", "2024")->GetCasilla(140, 0), "12345678Z");

    // Opened again, it shows what is kept; none clears the presenter.
    DialogoAjustes d(*host);
    EXPECT_EQ(d.Presentador()->currentText(), "12345678Z — GARCIA LOPEZ MARIA");
    EXPECT_EQ(d.Formulario()->currentData().toString(), "871");
    EXPECT_EQ(d.Periodo()->currentIndex(), 1);
    d.Presentador()->setCurrentIndex(0);
    d.accept();
    EXPECT_TRUE(casos::LeerAjustes(*host).presentadorNif.IsEmpty());
    EXPECT_TRUE(host->Nueva("863", "03", "2024")->GetCasilla(140, 0).IsEmpty());
}
