// The month's batch from the window: the dialog runs a folder and shows each client's outcome;
// Detener stops between clients.
#include "DialogoLote.h"
#include "CasosDeUso.h"
#include "Host.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "PestanaDeclaracion.h"
#include "VentanaPrincipal.h"
#include "support/Apoyo.h"
#include "support/Motor.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::string FilaDe(const std::string& nif) {
    std::string nombre = "TERCERO";
    nombre.resize(49, ' ');
    return "863202403" + nif + "12345678Z" + nombre + "1" + std::string(20, ' ') + "REF-1" +
           std::string(15, ' ') + "000000000150000";
}

class Lote : public ::testing::Test {
protected:
    apoyo::CarpetaTemporal tmp;
    std::unique_ptr<CHost> host;
    CServiciosGrabados ui;
    std::string carpeta = tmp / "mes";

    void SetUp() override {
        host = std::make_unique<CHost>(CString(apoyo::BaseNueva(tmp.Ruta(), "modelo.db")),
                                       MODELO_BIN_DIR);
        AfxFijarServicios(&ui);
        casos::FijarPresentador(*host, "12345678Z", "GARCIA LOPEZ MARIA");
        std::filesystem::create_directories(carpeta);
        apoyo::Escribir(carpeta + "/1.txt", FilaDe("B12345674"));
        apoyo::Escribir(carpeta + "/2.txt", FilaDe("Q2826000H")); // no such client
    }
    void TearDown() override { AfxFijarServicios(nullptr); }
    void Preparar(DialogoLote& d) {
        d.Carpeta()->setText(QString::fromStdString(carpeta));
        d.Mes()->setValue(3);
        d.Anio()->setValue(2024);
    }
};

} // namespace

TEST_F(Lote, TheDialogRunsTheFolderAndADoubleClickOpensTheClientsDeclaration) {
    DialogoLote d(*host);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    Preparar(d);
    QTest::mouseClick(d.BotonEjecutar(), Qt::LeftButton);
    QTableWidget* t = d.Tabla();
    ASSERT_EQ(t->rowCount(), 2);
    EXPECT_EQ(t->item(0, 1)->text(), "B12345674");
    EXPECT_EQ(t->item(0, 4)->text(), "1");
    EXPECT_EQ(t->item(0, 5)->text(), "15,00");
    EXPECT_EQ(t->item(0, 7)->text(), "borrador");
    EXPECT_EQ(t->item(1, 7)->text(), "rechazado");
    EXPECT_TRUE(t->item(1, 6)->toolTip().contains("LOTE0004"));
    t->setCurrentCell(1, 0);
    EXPECT_TRUE(d.Detalle()->text().contains("LOTE0004"));
    EXPECT_EQ(d.Barra()->value(), 2);
    EXPECT_TRUE(ui.mensajes.empty()); // nothing of the page's import reached the window
    const QString codigo = t->item(0, 3)->text();
    EXPECT_EQ(casos::Declaraciones(*host, "863", "2024", "B12345674").size(), 1u);
    // MODELO_CAPTURA_LOTE=FILE.png keeps a picture of the dialog to look at.
    if (const char* png = std::getenv("MODELO_CAPTURA_LOTE"))
        d.grab().save(png);

    QSignalSpy abrir(&d, &DialogoLote::abrir);
    // A person's double click: a click, then the second press.
    const auto dobleClic = [t](int fila) {
        const QPoint p = t->visualItemRect(t->item(fila, 0)).center();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, p);
    };
    dobleClic(1); // the refused client's row has no declaration to open
    EXPECT_EQ(abrir.size(), 0);
    dobleClic(0);
    ASSERT_EQ(abrir.size(), 1);
    EXPECT_EQ(abrir[0][0].toString(), codigo);
}

TEST_F(Lote, DetenerStopsBetweenClientsKeepingThoseDone) {
    DialogoLote d(*host);
    d.show();
    Preparar(d);
    // Pressed while the first client is done and the second not begun.
    QObject::connect(d.Barra(), &QProgressBar::valueChanged, &d, [&d](int v) {
        if (v == 1)
            QTest::mouseClick(d.BotonCancelar(), Qt::LeftButton);
    });
    QTest::mouseClick(d.BotonEjecutar(), Qt::LeftButton);
    ASSERT_EQ(d.Tabla()->rowCount(), 1);
    EXPECT_EQ(d.Tabla()->item(0, 0)->text(), "1.txt");
    EXPECT_TRUE(d.BotonEjecutar()->isEnabled());
    EXPECT_FALSE(d.BotonCancelar()->isEnabled());
}

TEST_F(Lote, AFolderWithoutFilesIsSaidAndNothingRuns) {
    DialogoLote d(*host);
    Preparar(d);
    d.Carpeta()->setText(QString::fromStdString(tmp / "vacia"));
    d.Ejecutar();
    EXPECT_EQ(d.Tabla()->rowCount(), 0);
    ASSERT_EQ(ui.mensajes.size(), 1u);
    EXPECT_NE(ui.mensajes[0].texto.Find("No es una carpeta"), -1);
}

TEST_F(Lote, TheWindowsMenuRunsTheMonthAndOpensTheChosenDeclaration) {
    VentanaPrincipal ventana(*host);
    ventana.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
    auto* accion = ventana.findChild<QAction*>("loteDelMes");
    ASSERT_NE(accion, nullptr);
    bool visto = false;
    // The dialog is modal: it is driven once it shows.
    QTimer::singleShot(0, &ventana, [this, &visto] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* d = qobject_cast<DialogoLote*>(modal);
        if (!d) { // another dialog would keep the test waiting
            if (modal)
                modal->close();
            return;
        }
        visto = true;
        Preparar(*d);
        d->Ejecutar();
        QTableWidget* t = d->Tabla();
        const QPoint p = t->visualItemRect(t->item(0, 0)).center();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, p);
    });
    accion->trigger();
    EXPECT_TRUE(visto);
    // The new declaration is in the list, and open in its tab.
    EXPECT_EQ(ventana.Lista()->rowCount(), 1);
    ASSERT_NE(ventana.Actual(), nullptr);
    EXPECT_EQ(ventana.Actual()->Codigo(), casos::Declaraciones(*host)[0].resumen.codigo);
}
