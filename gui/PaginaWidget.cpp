#include "PaginaWidget.h"

#include "Accesibilidad.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/windows/Controles.h"
#include "SelectorFecha.h"
#include "render/Pagina.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

namespace {

Qt::Alignment Alineacion(unsigned estilos) {
    const Qt::Alignment h = (estilos & ES_CENTRADO)  ? Qt::AlignHCenter
                            : (estilos & ES_DERECHA) ? Qt::AlignRight
                                                     : Qt::AlignLeft;
    return h | Qt::AlignVCenter;
}

// What a line edit keeps of its width for itself: its one-pixel padding and Qt's own margin of
// two on each side, and the cursor.
constexpr int kHolguraLinea = 2 * (1 + 2) + 1;

// The ring around a picture button with the focus, on the page just outside the button.
QRect MarcoFoco(const QRect& boton) {
    return boton.adjusted(-2, -2, 1, 1);
}

// Keeps a counter raised for as long as it lives.
struct Aplicando {
    int& n;
    explicit Aplicando(int& contador) : n(contador) { ++n; }
    ~Aplicando() { --n; }
};

} // namespace

QString NombreControl(const CGuiaView& vista, int id) {
    return QString("control-%1-%2").arg(quintptr(&vista)).arg(id);
}

PaginaWidget::PaginaWidget(CGuiaView& vista, QWidget* parent)
    : QWidget(parent), vista_(vista), fondo_(FondoDeVista(vista)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The page is paper whatever surrounds it: dark ink on it, not the colours of the frame.
    setBackgroundRole(QPalette::Base);
    setForegroundRole(QPalette::Text);
    for (CWnd* w : vista_.Controles())
        Crear(*w);
    // The tab order is the template's.
    QWidget* anterior = nullptr;
    for (CWnd* w : vista_.Controles()) {
        QWidget* q = widgets_[w->GetDlgCtrlID()];
        if (q->focusPolicy() == Qt::NoFocus)
            continue;
        if (anterior)
            setTabOrder(anterior, q);
        anterior = q;
    }
    for (const auto& [id, w] : widgets_) {
        Actualizar(id);
        Nombrar(id);
    }
    vista_.SetObservador(this);
    connect(qApp, &QApplication::focusChanged, this, &PaginaWidget::FocoCambiado);
    SetZoom(1.0);
}

PaginaWidget::~PaginaWidget() {
    vista_.SetObservador(nullptr);
}

QWidget* PaginaWidget::WidgetDe(int idControl) const {
    auto it = widgets_.find(idControl);
    return it == widgets_.end() ? nullptr : it->second;
}

int PaginaWidget::IdDe(const QWidget* w) const {
    auto it = ids_.find(w);
    return it == ids_.end() ? 0 : it->second;
}

QSize PaginaWidget::sizeHint() const {
    return QSize(int(kAnchoPaginaPx * zoom_), int(kAltoPaginaPx * zoom_));
}

void PaginaWidget::SetZoom(double zoom) {
    zoom_ = std::clamp(zoom, 0.5, 3.0);
    setFixedSize(sizeHint());
    for (const auto& [id, w] : widgets_) {
        Colocar(id);
        Actualizar(id);
    }
    update();
}

void PaginaWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (fondo_.isNull())
        p.fillRect(rect(), Qt::white);
    else
        p.drawImage(rect(), fondo_);
    // A picture button shows no focus of its own: the page rings the one that has it.
    if (auto* b = qobject_cast<QToolButton*>(QApplication::focusWidget());
        b && b->parentWidget() == this) {
        p.setPen(QPen(QColor(0x1a, 0x5f, 0xb4), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(MarcoFoco(b->geometry()));
    }
}

// ----- widgets ----------------------------------------------------------------------------------

void PaginaWidget::Crear(CWnd& w) {
    const int id = w.GetDlgCtrlID();
    QWidget* q = nullptr;
    switch (w.GetClase()) {
    case ClaseControl::EditTrans:
    case ClaseControl::EditNumber:
    case ClaseControl::EditDecNumber: {
        auto* e = new QLineEdit(this);
        e->setFrame(false);
        e->setAlignment(Alineacion(w.GetStyle()));
        e->setStyleSheet("QLineEdit { background: white; padding: 0 1px; }"
                         "QLineEdit:disabled { background: #eeeeee; color: #777777; }"
                         "QLineEdit:focus { background: #fffbe0; }");
        connect(e, &QLineEdit::textEdited, this,
                [this, id](const QString& t) { TextoEditado(id, t); });
        q = e;
        break;
    }
    case ClaseControl::CheckBox: {
        auto* c = new QCheckBox(this);
        connect(c, &QCheckBox::clicked, this, [this, id](bool marcada) {
            if (aplicando_)
                return;
            static_cast<CButton*>(vista_.GetDlgItem(id))
                ->SetCheck(marcada ? BST_CHECKED : BST_UNCHECKED);
            vista_.EnviarNotificacion(id, BN_CLICKED);
            Actualizar(id);
            emit Editada();
        });
        q = c;
        break;
    }
    case ClaseControl::DateTimeOpt:
    case ClaseControl::DateTimeFixFormat: {
        auto* d = new SelectorFecha(w.GetClase() == ClaseControl::DateTimeOpt, this);
        connect(d, &QDateEdit::dateChanged, this, [this, id](QDate fecha) {
            if (aplicando_)
                return;
            auto* selector = static_cast<CDateTimeCtrl*>(vista_.GetDlgItem(id));
            COleDateTime f;
            if (fecha.isValid() && fecha != SelectorFecha::SinFecha())
                f.SetDate(fecha.year(), fecha.month(), fecha.day());
            if (selector->SetTime(f))
                vista_.EnviarNotificacion(id, DTN_DATETIMECHANGE);
            Actualizar(id);
            emit Editada();
        });
        d->calendarWidget()->installEventFilter(this);
        q = d;
        break;
    }
    case ClaseControl::ScrollBitmapButton: {
        auto* b = new QToolButton(this);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [this, id] {
            vista_.GetDlgItem(id)->SetFocus();
            vista_.EnviarNotificacion(id, BN_CLICKED);
            emit Pulsado();
        });
        q = b;
        break;
    }
    case ClaseControl::StaticTransBold:
    case ClaseControl::Picture: {
        auto* l = new QLabel(this);
        l->setWordWrap(true);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->setFocusPolicy(Qt::NoFocus);
        q = l;
        break;
    }
    }
    q->setObjectName(NombreControl(vista_, id));
    q->installEventFilter(this);
    widgets_[id] = q;
    ids_[q] = id;
}

void PaginaWidget::Colocar(int id) {
    CRect r;
    vista_.GetDlgItem(id)->GetWindowRect(&r);
    widgets_[id]->setGeometry(int(r.left * zoom_), int(r.top * zoom_),
                              std::max(1, int(r.Width() * zoom_)),
                              std::max(1, int(r.Height() * zoom_)));
}

// What a screen reader says of the control. A text says itself: a label's name follows it.
void PaginaWidget::Nombrar(int id) {
    QWidget* q = WidgetDe(id);
    CWnd* w = vista_.GetDlgItem(id);
    if (!q || !w || w->GetClase() == ClaseControl::StaticTransBold)
        return;
    const stNombreAccesible n = NombreAccesible(vista_, id);
    q->setAccessibleName(TextoQt(n.nombre));
    q->setAccessibleDescription(TextoQt(n.descripcion));
}

// Copies what the window holds onto its widget.
void PaginaWidget::Actualizar(int id) {
    CWnd* w = vista_.GetDlgItem(id);
    QWidget* q = WidgetDe(id);
    if (!w || !q)
        return;
    Aplicando guarda(aplicando_);
    q->setVisible(w->IsWindowVisible());
    q->setEnabled(w->IsWindowEnabled());
    q->setToolTip(TextoQt(vista_.GetToolTip().GetText(id)));
    LOGFONT lf;
    QFont fuente = q->font();
    if (CFont* f = w->GetFont(); f && f->GetLogFont(&lf))
        q->setFont(fuente = FuenteQt(lf, zoom_));
    const int minimo = int(kAltoMinimoLegible * zoom_ + 0.5);
    switch (w->GetClase()) {
    case ClaseControl::EditTrans:
    case ClaseControl::EditNumber:
    case ClaseControl::EditDecNumber: {
        auto* e = static_cast<QLineEdit*>(q);
        const QString t = TextoQt(w->GetWindowText());
        // A value longer than its box is shown smaller; past the legible size the edit scrolls,
        // showing its start while the person is elsewhere.
        e->setFont(FuenteQueCabe(fuente, t, e->width() - kHolguraLinea, minimo));
        if (e->text() != t)
            e->setText(t);
        const int limite = static_cast<CEdit*>(w)->GetLimitText();
        if (const int maximo = limite > 0 ? limite : 32767; e->maxLength() != maximo) {
            e->setMaxLength(maximo); // which puts the cursor at the end
        }
        // The box being typed in keeps its cursor even while its window is not the active one
        // (a message just closed): hasFocus() is false then, and a cursor put back at the start
        // would write the next keys backwards.
        if (e != e->window()->focusWidget())
            e->setCursorPosition(0);
        break;
    }
    case ClaseControl::CheckBox:
        static_cast<QCheckBox*>(q)->setChecked(static_cast<CButton*>(w)->GetCheck() == BST_CHECKED);
        break;
    case ClaseControl::DateTimeOpt:
    case ClaseControl::DateTimeFixFormat: {
        COleDateTime f;
        const bool hay = static_cast<CDateTimeCtrl*>(w)->GetTime(f) == GDT_VALID;
        auto* d = static_cast<SelectorFecha*>(q);
        d->AjustarFuente(fuente, minimo);
        d->setDate(hay ? QDate(f.GetYear(), f.GetMonth(), f.GetDay()) : SelectorFecha::SinFecha());
        break;
    }
    case ClaseControl::ScrollBitmapButton: {
        // The button's four images: at rest, pressed, with the focus (or the pointer) on it,
        // and disabled.
        auto* b = static_cast<CScrollBitmapButton*>(w);
        QIcon icono;
        const std::pair<CScrollBitmapButton::Imagen, QIcon::Mode> imagenes[] = {
            {CScrollBitmapButton::Normal, QIcon::Normal},
            {CScrollBitmapButton::Pulsada, QIcon::Selected},
            {CScrollBitmapButton::Enfocada, QIcon::Active},
            {CScrollBitmapButton::Inhabilitada, QIcon::Disabled}};
        for (auto [imagen, modo] : imagenes)
            icono.addPixmap(QPixmap::fromImage(BitmapRecurso(b->GetIdBitmap(imagen))), modo);
        static_cast<QToolButton*>(q)->setIcon(icono);
        static_cast<QToolButton*>(q)->setIconSize(q->size());
        break;
    }
    case ClaseControl::StaticTransBold:
    case ClaseControl::Picture: {
        auto* l = static_cast<QLabel*>(q);
        l->setAlignment((Alineacion(w->GetStyle()) & Qt::AlignHorizontal_Mask) | Qt::AlignTop);
        if (const stImagenCodigo* img = static_cast<CStatic*>(w)->GetImagen()) {
            l->setPixmap(QPixmap::fromImage(
                ImagenQt(*img).scaled(q->size(), Qt::KeepAspectRatio, Qt::FastTransformation)));
            if (l->accessibleName().isEmpty()) // a code drawn after the page opened
                Nombrar(id);
        } else {
            const QString t = TextoQt(w->GetWindowText());
            l->setFont(FuenteQueCabeEnvuelta(fuente, t, l->size(), minimo));
            l->setText(t);
        }
        break;
    }
    }
}

void PaginaWidget::VentanaCambiada(int id, CambioVentana cambio) {
    QWidget* q = WidgetDe(id);
    if (!q)
        return;
    switch (cambio) {
    case CambioVentana::Posicion:
        Colocar(id);
        break;
    case CambioVentana::Foco:
        if (CWnd* foco = vista_.GetFocus(); foco && foco->GetDlgCtrlID() == id && !q->hasFocus()) {
            Aplicando guarda(aplicando_);
            q->setFocus(Qt::OtherFocusReason);
        }
        return;
    case CambioVentana::Mostrar:
        emit MostrarWidget(q);
        return;
    default:
        break;
    }
    Actualizar(id);
}

// ----- a person's actions -----------------------------------------------------------------------

// The text the person left in the edit becomes the window's text, which notifies the view as
// typing does; what the edit may not hold (its kind, its limit) is put back as it was.
void PaginaWidget::TextoEditado(int id, const QString& texto) {
    if (aplicando_)
        return;
    auto* edicion = static_cast<CEdit*>(vista_.GetDlgItem(id));
    const CString nuevo = edicion->Tecleado(TextoModelo(texto));
    if (edicion->Admite(nuevo))
        edicion->SetWindowText(nuevo);
    Actualizar(id);
    emit Editada();
}

void PaginaWidget::TerminarEdicion() {
    CWnd* w = vista_.GetFocus();
    if (!w)
        return;
    vista_.QuitarFoco();
    // A rule that refused the value may have sent the person elsewhere; if not, they stay.
    if (!vista_.GetFocus())
        w->SetFocus();
}

void PaginaWidget::FocoCambiado(QWidget* antes, QWidget* ahora) {
    for (QWidget* w : {antes, ahora})
        if (qobject_cast<QToolButton*>(w) && w->parentWidget() == this)
            update(MarcoFoco(w->geometry()).adjusted(-2, -2, 2, 2));
    // A popup (the month list, a calendar) keeps the focus where it was.
    if (aplicando_ || (ahora && ahora->window()->windowType() == Qt::Popup))
        return;
    if (const int id = IdDe(ahora)) {
        CWnd* w = vista_.GetDlgItem(id);
        if (vista_.GetFocus() != w)
            w->SetFocus();
    } else if (IdDe(antes) && ahora) {
        vista_.QuitarFoco();
    }
}

// ----- the month list ---------------------------------------------------------------------------

void PaginaWidget::ListaMeses(int id) {
    listaOfrecida_ = id;
    QWidget* q = WidgetDe(id);
    if (q && q->hasFocus() && razonFoco_ == Qt::MouseFocusReason)
        DesplegarLista(id);
}

QWidget* PaginaWidget::ListaAbierta() const {
    return lista_ && lista_->isVisible() ? lista_.data() : nullptr;
}

// Choosing a month types its name into the edit, as the page expects.
void PaginaWidget::DesplegarLista(int id) {
    QWidget* q = WidgetDe(id);
    if (!q || !q->isVisible() || !q->isEnabled() || ListaAbierta())
        return;
    auto* menu = new QMenu(q);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setAccessibleName(q->accessibleName());
    for (int m = 1; m <= 12; ++m) {
        const CString nombre = GetMesLetra(m);
        menu->addAction(TextoQt(nombre), this, [this, id, nombre] {
            if (CWnd* c = vista_.GetDlgItem(id)) {
                c->SetWindowText(nombre);
                emit Editada();
            }
        });
    }
    menu->installEventFilter(this);
    lista_ = menu;
    menu->popup(q->mapToGlobal(QPoint(0, q->height())));
}

// Keys the page gives a meaning of its own; true when one was used.
bool PaginaWidget::TeclaDeWidget(QWidget* w, QKeyEvent* e) {
    const int id = IdDe(w);
    const bool alt = e->modifiers() == Qt::AltModifier;
    if (id && id == listaOfrecida_ &&
        ((alt && e->key() == Qt::Key_Down) || (e->modifiers() == 0 && e->key() == Qt::Key_F4))) {
        DesplegarLista(id);
        return true;
    }
    if (e->key() == Qt::Key_F1 && e->modifiers() == 0) {
        const int casilla = vista_.CasillaAyuda(id);
        if (casilla >= 0) {
            emit AyudaCasilla(casilla);
            return true;
        }
    }
    return false;
}

bool PaginaWidget::eventFilter(QObject* objeto, QEvent* e) {
    // Tab leaves the month list as it leaves the box: the list closes and the focus goes on,
    // where a menu's own Tab would walk through the months.
    if (objeto == lista_ && e->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(e)->key();
        if (tecla == Qt::Key_Tab || tecla == Qt::Key_Backtab) {
            lista_->close();
            if (QWidget* q = WidgetDe(listaOfrecida_); q && q->hasFocus()) {
                QKeyEvent paso(QEvent::KeyPress, tecla, static_cast<QKeyEvent*>(e)->modifiers());
                QApplication::sendEvent(q, &paso);
            }
            return true;
        }
        return false;
    }
    // The calendar of a picker: opening and closing it are notified.
    for (const auto& [id, q] : widgets_) {
        auto* d = qobject_cast<QDateEdit*>(q);
        if (!d || d->calendarWidget() != objeto)
            continue;
        if (e->type() == QEvent::Show)
            vista_.EnviarNotificacion(id, DTN_DROPDOWN);
        else if (e->type() == QEvent::Hide)
            vista_.EnviarNotificacion(id, DTN_CLOSEUP);
        return false;
    }
    auto* w = qobject_cast<QWidget*>(objeto);
    if (e->type() == QEvent::FocusIn && IdDe(w))
        razonFoco_ = static_cast<QFocusEvent*>(e)->reason();
    // The window's shortcuts (the Help menu's F1) come first unless the control claims the key.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        const int id = IdDe(w);
        if (k->modifiers() == 0 && k->key() == Qt::Key_F1 && vista_.CasillaAyuda(id) >= 0) {
            e->accept();
            return true;
        }
    }
    if (e->type() == QEvent::KeyPress && TeclaDeWidget(w, static_cast<QKeyEvent*>(e)))
        return true;
    return QWidget::eventFilter(objeto, e);
}
