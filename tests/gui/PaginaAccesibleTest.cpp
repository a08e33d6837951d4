// The page by keyboard alone and through a screen reader: help on F1, Tab in the order of the
// paper, the month list and the date picker as keys reach them, names from the box catalogue,
// and Qt's own texts in Spanish.
#include "ConVentana.h"
#include "Host.h"
#include "Modelo/document/GuiaDoc.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "PestanaDeclaracion.h"
#include "TraduccionesQt.h"
#include "VentanaPrincipal.h"
#include "render/Pagina.h"
#include "support/Apoyo.h"

#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace {

// The recorded services, except that the month list is the window's own.
class ServiciosConLista : public CServiciosGrabados {
public:
    PestanaDeclaracion* pestana = nullptr;
    void ListaMeses(CWnd& control) override {
        CServiciosGrabados::ListaMeses(control);
        if (pestana)
            pestana->Pagina(0)->ListaMeses(control.GetDlgCtrlID());
    }
};

class Teclado : public ConVentana<ServiciosConLista> {
protected:
    PestanaDeclaracion* Abrir(const char* forma = "863", const char* mes = "03",
                              const char* anio = "2024") {
        const CString codigo = host->Nueva(forma, mes, anio)->GetCodDeclar();
        ventana->RecargarLista();
        PestanaDeclaracion* p = ventana->Abrir(codigo);
        EXPECT_NE(p, nullptr);
        ui.pestana = p;
        return p;
    }
    static QWidget* De(PestanaDeclaracion* p, int casilla, int pagina = 0) {
        PaginaWidget* w = p->Pagina(pagina);
        const ControlPlantilla* c = w->Vista().Plantilla()->ControlDeCasilla(casilla);
        return c ? w->WidgetDe(c->id) : nullptr;
    }
    static QLineEdit* Edit(PestanaDeclaracion* p, int casilla) {
        return qobject_cast<QLineEdit*>(De(p, casilla));
    }
    static int CasillaDe(PestanaDeclaracion* p, QWidget* w, int pagina = 0) {
        PaginaWidget* pw = p->Pagina(pagina);
        const ControlPlantilla* c = pw->Vista().Plantilla()->Control(pw->IdDe(w));
        return c ? c->casilla : -1;
    }
    static QString Nombre(QWidget* w) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
        return i ? i->text(QAccessible::Name) : QString();
    }
    static void Tecla(int tecla, Qt::KeyboardModifiers mod = Qt::NoModifier) {
        QWidget* foco = QApplication::focusWidget();
        ASSERT_NE(foco, nullptr);
        QTest::keyClick(foco, Qt::Key(tecla), mod);
    }
};

// The controls of a page that show a box, enabled, in the order a person reads the paper:
// row by row (a row is the boxes whose tops lie within a few pixels), left to right.
std::vector<QWidget*> OrdenDelPapel(PaginaWidget* pagina) {
    std::vector<QWidget*> cajas;
    for (CWnd* w : pagina->Vista().Controles())
        if (QWidget* q = pagina->WidgetDe(w->GetDlgCtrlID());
            q->isEnabled() && q->isVisible() && q->focusPolicy() != Qt::NoFocus &&
            pagina->Vista().Plantilla()->Control(w->GetDlgCtrlID())->casilla >= 0)
            cajas.push_back(q);
    std::sort(cajas.begin(), cajas.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    std::vector<std::pair<int, QWidget*>> filas;
    int fila = 0, arriba = -100;
    for (QWidget* q : cajas) {
        if (q->y() > arriba + 8)
            arriba = q->y(), ++fila;
        filas.push_back({fila, q});
    }
    std::stable_sort(filas.begin(), filas.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second->x() < b.second->x();
    });
    std::vector<QWidget*> orden;
    for (const auto& [f, q] : filas)
        orden.push_back(q);
    return orden;
}

} // namespace

TEST_F(Teclado, F1OnABoxShowsThatBoxsHelpAndElsewhereTheGeneralHelp) {
    if (!activa)
        GTEST_SKIP() << "the window could not be made active";
    PestanaDeclaracion* p = Abrir();
    QTest::mouseClick(De(p, 2), Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), De(p, 2));
    Tecla(Qt::Key_F1);
    ASSERT_EQ(ui.mensajes.size(), 1u);
    EXPECT_EQ(ui.mensajes[0].titulo, "Ayuda de la casilla");
    EXPECT_EQ(ui.mensajes[0].texto, p->Documento().GetAyuda(2));
    EXPECT_FALSE(ui.mensajes[0].texto.IsEmpty());

    // A picture button maps no box: F1 there is the Help menu's.
    PaginaWidget* pagina = p->Pagina(0);
    const ControlPlantilla* ayuda =
        pagina->Vista().Plantilla()->BotonDeFila(AccionBoton::Ayuda, 60);
    ASSERT_NE(ayuda, nullptr);
    pagina->WidgetDe(ayuda->id)->setFocus(Qt::TabFocusReason);
    Tecla(Qt::Key_F1);
    ASSERT_EQ(ui.mensajes.size(), 2u);
    EXPECT_NE(ui.mensajes[1].titulo, "Ayuda de la casilla");
}

// After a message of the page closes, the window may not be active again at once (no window
// manager, a slow one): the keys that follow must still land where the cursor is.
TEST_F(Teclado, KeysGoWhereTheCursorIsAlsoWhileTheWindowIsNotTheActiveOne) {
    if (!activa)
        GTEST_SKIP() << "the window could not be made active";
    PestanaDeclaracion* p = Abrir();
    QLineEdit* base = Edit(p, 61);
    ASSERT_NE(base, nullptr);
    QTest::mouseClick(base, Qt::LeftButton);
    QTest::keyClicks(base, "1234");
    base->setCursorPosition(2);
    QTest::keyClicks(base, "9");
    EXPECT_EQ(base->text(), "12934");

    QWidget otra;
    otra.show();
    QApplication::setActiveWindow(&otra);
    ASSERT_FALSE(base->hasFocus());
    base->setCursorPosition(base->text().size());
    QTest::keyClicks(base, "56");
    EXPECT_EQ(base->text(), "1293456");
}

// Ctrl+S and the toolbar take no focus: the box being typed in is settled by the save itself,
// as leaving it would, and what its rule refuses is never stored.
TEST_F(Teclado, ASaveWhileTypingSettlesTheBoxAsLeavingItWould) {
    PestanaDeclaracion* p = Abrir();
    QLineEdit* cuenta = Edit(p, 60);
    QLineEdit* base = Edit(p, 64);
    ASSERT_TRUE(cuenta && base);
    QTest::mouseClick(cuenta, Qt::LeftButton);
    QTest::keyClicks(cuenta, "2");
    QTest::mouseClick(base, Qt::LeftButton); // a count opens its amounts
    ASSERT_TRUE(base->isEnabled());
    QTest::keyClicks(base, "15");
    ASSERT_TRUE(p->Guardar());
    EXPECT_EQ(base->text(), "15,00");
    EXPECT_EQ(host->Abrir(p->Codigo())->GetCasilla(64, 0), "15,00");

    QTest::keyClick(base, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(base, "12.34");
    ui.mensajes.clear();
    p->Guardar();
    ASSERT_EQ(ui.mensajes.size(), 1u);
    EXPECT_EQ(base->text(), "15,00");
    EXPECT_EQ(host->Abrir(p->Codigo())->GetCasilla(64, 0), "15,00");
}

TEST_F(Teclado, TabAloneWalksEveryEnabledBoxOnceInTheOrderOfThePaper) {
    for (const char* forma : {"863", "871"}) {
        SCOPED_TRACE(forma);
        PestanaDeclaracion* p = Abrir(forma);
        // A count opens its row, so the walk crosses amounts too.
        Edit(p, 60)->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(Edit(p, 60), "3");
        PaginaWidget* pagina = p->Pagina(0);
        const std::vector<QWidget*> esperado = OrdenDelPapel(pagina);
        ASSERT_GT(esperado.size(), 10u);
        esperado.front()->setFocus(Qt::TabFocusReason);
        // Every Tab lands on a control not reached before, until the page is left.
        std::vector<QWidget*> visto{esperado.front()};
        std::set<QWidget*> alcanzados{esperado.front()};
        for (int i = 0; i < 200 && pagina->IdDe(QApplication::focusWidget()); ++i) {
            Tecla(Qt::Key_Tab);
            QWidget* w = QApplication::focusWidget();
            ASSERT_EQ(pagina->ListaAbierta(), nullptr) << "a list opened on Tab";
            if (!pagina->IdDe(w))
                break;
            ASSERT_TRUE(alcanzados.insert(w).second)
                << "Tab stayed on or came back to box " << CasillaDe(p, w);
            if (CasillaDe(p, w) >= 0)
                visto.push_back(w);
        }
        std::vector<int> casillasEsperadas, casillasVistas;
        for (QWidget* w : esperado)
            casillasEsperadas.push_back(CasillaDe(p, w));
        for (QWidget* w : visto)
            casillasVistas.push_back(CasillaDe(p, w));
        EXPECT_EQ(casillasVistas, casillasEsperadas);
        EXPECT_EQ(Edit(p, 1)->text(), "03"); // the month went by untouched
        EXPECT_EQ(Edit(p, 2)->text(), "2024");
    }
}

TEST_F(Teclado, TheMonthListDropsOnAClickNotOnTabAndTabLeavesIt) {
    PestanaDeclaracion* p = Abrir();
    PaginaWidget* pagina = p->Pagina(0);
    QTest::mouseClick(Edit(p, 2), Qt::LeftButton);
    Tecla(Qt::Key_Tab); // from the year onto the month
    ASSERT_EQ(QApplication::focusWidget(), De(p, 1));
    EXPECT_EQ(pagina->ListaAbierta(), nullptr);
    // The keys of a drop list open it.
    Tecla(Qt::Key_Down, Qt::AltModifier);
    QWidget* lista = pagina->ListaAbierta();
    ASSERT_NE(lista, nullptr);
    // Tab closes it and goes on, leaving the month as it was.
    QTest::keyClick(lista, Qt::Key_Tab);
    EXPECT_EQ(pagina->ListaAbierta(), nullptr);
    EXPECT_NE(QApplication::focusWidget(), De(p, 1));
    EXPECT_EQ(Edit(p, 1)->text(), "03");

    // A click drops it down; a month chosen is typed into the box.
    Edit(p, 2)->setFocus(Qt::TabFocusReason);
    QTest::mouseClick(Edit(p, 1), Qt::LeftButton);
    lista = pagina->ListaAbierta();
    ASSERT_NE(lista, nullptr);
    QTest::keyClick(lista, Qt::Key_Down);
    QTest::keyClick(lista, Qt::Key_Down);
    QTest::keyClick(lista, Qt::Key_Return);
    EXPECT_EQ(pagina->ListaAbierta(), nullptr);
    EXPECT_EQ(Edit(p, 1)->text(), "02");
}

TEST_F(Teclado, EveryControlIsNamedFromTheBoxCatalogueAndEveryNameIsItsOwn) {
    PestanaDeclaracion* p = Abrir();
    for (int indice = 0; indice < 2; ++indice) {
        SCOPED_TRACE(indice);
        PaginaWidget* pagina = p->Pagina(indice);
        std::set<QString> nombres;
        int cajas = 0, botones = 0, codigos = 0;
        for (CWnd* w : pagina->Vista().Controles()) {
            QWidget* q = pagina->WidgetDe(w->GetDlgCtrlID());
            auto* etiqueta = qobject_cast<QLabel*>(q);
            // A label that shows nothing says nothing.
            if (etiqueta && etiqueta->text().isEmpty() && etiqueta->pixmap().isNull())
                continue;
            const QString nombre = Nombre(q);
            EXPECT_FALSE(nombre.isEmpty()) << q->metaObject()->className();
            EXPECT_TRUE(nombres.insert(nombre).second) << nombre.toStdString();
            QAccessibleInterface* i = QAccessible::queryAccessibleInterface(q);
            const int casilla = CasillaDe(p, q, indice);
            if (casilla >= 0) {
                ++cajas;
                const stCasillaCatalogo* e = p->Documento().EntradaCatalogo(casilla);
                ASSERT_NE(e, nullptr) << casilla;
                EXPECT_EQ(nombre.toStdString(), std::string("Casilla ") + std::to_string(casilla) +
                                                    ". " + e->Significado);
                EXPECT_FALSE(i->text(QAccessible::Description).isEmpty()) << casilla;
            } else if (qobject_cast<QToolButton*>(q)) {
                ++botones;
                EXPECT_FALSE(i->text(QAccessible::Description).isEmpty());
            } else if (etiqueta && !etiqueta->pixmap().isNull()) {
                ++codigos;
                EXPECT_TRUE(nombre.startsWith("Código")) << nombre.toStdString();
            }
        }
        EXPECT_GT(cajas, 20);
        EXPECT_EQ(botones, indice == 0 ? 8 : 0);
        EXPECT_EQ(codigos, indice == 0 ? 2 : 1);
    }
    EXPECT_EQ(Nombre(De(p, 64)).toStdString(), "Casilla 64. Base imponible de los recibos");
}

TEST_F(Teclado, APictureButtonWithTheFocusIsRingedOnThePage) {
    PestanaDeclaracion* p = Abrir();
    PaginaWidget* pagina = p->Pagina(0);
    QWidget* boton =
        pagina->WidgetDe(pagina->Vista().Plantilla()->BotonDeFila(AccionBoton::Ayuda, 60)->id);
    const QPoint junto(boton->x() - 2, boton->y() + boton->height() / 2);
    Edit(p, 2)->setFocus(Qt::TabFocusReason);
    const QRgb sinFoco = pagina->grab().toImage().pixel(junto);
    boton->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(boton->hasFocus());
    const QRgb conFoco = pagina->grab().toImage().pixel(junto);
    EXPECT_NE(conFoco, sinFoco);
    EXPECT_LT(qRed(conFoco) + qGreen(conFoco), 2 * 160); // a dark ring, not the paper
    Edit(p, 2)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(pagina->grab().toImage().pixel(junto), sinFoco);
}

TEST(Castellano, QtsOwnTextsAndTheCalendarSpeakSpanish) {
    const QLocale antes;
    {
        QString motivo;
        const std::unique_ptr<QTranslator> t = InstalarCastellanoQt(&motivo);
        ASSERT_NE(t, nullptr) << motivo.toStdString();
        QDialogButtonBox botones(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                 QDialogButtonBox::Save | QDialogButtonBox::Discard);
        EXPECT_EQ(botones.button(QDialogButtonBox::Cancel)->text(), "Cancelar");
        EXPECT_EQ(botones.button(QDialogButtonBox::Save)->text(), "Guardar");
        QCalendarWidget calendario;
        EXPECT_EQ(calendario.locale().monthName(1), "enero");
        EXPECT_EQ(calendario.locale().firstDayOfWeek(), Qt::Monday);
    }
    QLocale::setDefault(antes);
    QDialogButtonBox botones(QDialogButtonBox::Cancel);
    EXPECT_EQ(botones.button(QDialogButtonBox::Cancel)->text(), "Cancel"); // removed again
}

TEST_F(Teclado, TheOptionalDatePickerTakesATypedDateOpensAtTodayAndShowsItWhole) {
    PestanaDeclaracion* p = Abrir();
    QTest::mouseClick(De(p, 50), Qt::LeftButton, {}, QPoint(4, 4)); // complementary
    auto* selector = qobject_cast<QDateEdit*>(De(p, 53));
    ASSERT_NE(selector, nullptr);
    ASSERT_TRUE(selector->isEnabled());
    auto* linea = selector->findChild<QLineEdit*>();
    ASSERT_NE(linea, nullptr);
    EXPECT_EQ(linea->text().trimmed(), "");

    // Empty, its calendar opens on this month, not on the earliest date it could hold.
    selector->setFocus(Qt::TabFocusReason);
    QTest::keyClick(selector, Qt::Key_Down, Qt::AltModifier);
    QCalendarWidget* calendario = selector->calendarWidget();
    ASSERT_TRUE(calendario->isVisible());
    EXPECT_EQ(calendario->yearShown(), QDate::currentDate().year());
    EXPECT_EQ(calendario->monthShown(), QDate::currentDate().month());
    QTest::keyClick(calendario, Qt::Key_Escape);
    EXPECT_FALSE(calendario->isVisible());
    EXPECT_EQ(linea->text().trimmed(), ""); // looking is not choosing

    // Typed, it shows as typed; Tab leaves and the box holds it.
    selector->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(selector, "15/04/2024");
    EXPECT_EQ(linea->text(), "15/04/2024");
    Tecla(Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), selector);
    EXPECT_EQ(linea->text(), "15/04/2024");
    auto* ctrl =
        static_cast<CDateTimeCtrl*>(p->Pagina(0)->Vista().GetDlgItem(p->Pagina(0)->IdDe(selector)));
    EXPECT_EQ(ctrl->TextoFecha(), "15/04/2024");

    // The date fits the field beside its arrow, at the size it is shown.
    const int ancho = QFontMetrics(linea->font()).horizontalAdvance(linea->text());
    EXPECT_LE(ancho, linea->width() - 2) << linea->font().pointSizeF();
    EXPECT_LE(linea->geometry().right(), selector->width());

    // Figures without their zeros, and a date typed over another.
    selector->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(selector, "1/3/2025");
    Tecla(Qt::Key_Tab);
    EXPECT_EQ(ctrl->TextoFecha(), "01/03/2025");

    // Deleting the whole date leaves the box without one.
    selector->setFocus(Qt::TabFocusReason);
    linea->selectAll();
    QTest::keyClick(selector, Qt::Key_Delete);
    EXPECT_EQ(linea->text().trimmed(), "");
    EXPECT_EQ(ctrl->TextoFecha(), "");
}
