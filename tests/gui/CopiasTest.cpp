// Archivo > Copia de seguridad… and Restaurar copia…, driven through the window's own dialogs.
#include "ConVentana.h"
#include "Host.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "PestanaDeclaracion.h"
#include "VentanaPrincipal.h"
#include "render/Pagina.h"
#include "support/Apoyo.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class Copias : public ConVentana<> {
protected:
    // Triggers the menu entry and answers its file dialog with `fichero`.
    bool Elegir(const QString& entrada, const std::string& fichero, const char* captura = "") {
        QAction* accion = nullptr;
        for (QAction* a : ventana->findChildren<QAction*>())
            if (a->text() == entrada)
                accion = a;
        if (!accion || !accion->isEnabled())
            return false;
        bool mostrado = false;
        QTimer::singleShot(0, [&] {
            auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialogo)
                return;
            mostrado = true;
            if (const char* carpeta = std::getenv("MODELO_CAPTURAS"); carpeta && *captura)
                dialogo->grab().save(QString(carpeta) + "/" + captura);
            dialogo->selectFile(QString::fromStdString(fichero));
            static_cast<QDialog*>(dialogo)->accept(); // the file dialog checks the name
        });
        accion->trigger();
        return mostrado;
    }
    int Filas() {
        ventana->RecargarLista();
        return ventana->Lista()->rowCount();
    }
};

} // namespace

TEST_F(Copias, TheFileMenuBacksUpAndRestoresClosingWhatIsOpen) {
    SOLO_EN_FICHERO("a backup is a copy of the database file");
    const CString primera = host->Nueva("863", "03", "2024")->GetCodDeclar();
    const std::string copia = tmp / "copia.db";
    ASSERT_TRUE(Elegir("C&opia de seguridad…", copia, "copia-seguridad.png"));
    ASSERT_TRUE(std::filesystem::exists(copia));
    ASSERT_FALSE(ui.mensajes.empty());
    EXPECT_NE(ui.mensajes.back().texto.Find("Copia de seguridad escrita"), -1);

    const CString segunda = host->Nueva("871", "04", "2024")->GetCodDeclar();
    ASSERT_EQ(Filas(), 2);
    const int fijas = ventana->Pestanas()->count(); // the list's and the clients' tabs
    ASSERT_NE(ventana->Abrir(segunda), nullptr);
    // Opened, the page fills what a new declaration starts with; saved, the restore needs no
    // answer about unsaved changes.
    ASSERT_TRUE(ventana->Actual()->Guardar());

    // Said no: nothing changes, the declaration stays open.
    ui.respuesta = IDNO;
    ASSERT_TRUE(Elegir("&Restaurar copia…", copia, "restaurar-copia.png"));
    EXPECT_EQ(Filas(), 2);
    EXPECT_EQ(ventana->Pestanas()->count(), fijas + 1);

    ui.respuesta = IDYES;
    ASSERT_TRUE(Elegir("&Restaurar copia…", copia));
    EXPECT_EQ(ventana->Pestanas()->count(), fijas); // a tab of a declaration the copy lacks is gone
    ASSERT_EQ(Filas(), 1);
    EXPECT_EQ(TextoModelo(ventana->Lista()->item(0, 0)->text()), primera);
    if (const char* carpeta = std::getenv("MODELO_CAPTURAS")) {
        QMenu* archivo = ventana->menuBar()->findChildren<QMenu*>().constFirst();
        archivo->popup(ventana->mapToGlobal(QPoint(0, 0)));
        QTest::qWait(100);
        archivo->grab().save(QString(carpeta) + "/menu-archivo.png");
        archivo->hide();
    }

    // A file that is not a database of this program is refused and nothing is closed.
    ASSERT_NE(ventana->Abrir(primera), nullptr);
    ASSERT_TRUE(ventana->Actual()->Guardar());
    apoyo::Escribir(tmp / "notas.db", "no es una base de datos");
    ui.mensajes.clear();
    ASSERT_TRUE(Elegir("&Restaurar copia…", tmp / "notas.db"));
    ASSERT_FALSE(ui.mensajes.empty());
    EXPECT_NE(ui.mensajes.back().texto.Find("no es una base de datos de Modelo"), -1);
    EXPECT_EQ(ventana->Pestanas()->count(), fijas + 1);
    EXPECT_EQ(Filas(), 1);
}
