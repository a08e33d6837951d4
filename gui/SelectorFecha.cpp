#include "SelectorFecha.h"

#include "render/Pagina.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

SelectorFecha::SelectorFecha(bool opcional, QWidget* parent)
    : QDateEdit(parent), opcional_(opcional) {
    setCalendarPopup(true);
    setDisplayFormat("dd/MM/yyyy");
    setMinimumDate(SinFecha());
    if (opcional_)
        setSpecialValueText(" ");
    calendarWidget()->installEventFilter(this);
}

// The earliest date a picker may hold stands for "no date".
QDate SelectorFecha::SinFecha() {
    return QDate(1900, 1, 1);
}

// Qt opens the calendar only for a press on the arrow; the keys give the same press.
void SelectorFecha::AbrirCalendario() {
    if (!isEnabled() || isReadOnly())
        return;
    QStyleOptionComboBox opcion;
    opcion.initFrom(this);
    opcion.editable = true;
    opcion.subControls = QStyle::SC_All;
    const QRect flecha =
        style()->subControlRect(QStyle::CC_ComboBox, &opcion, QStyle::SC_ComboBoxArrow, this);
    const QPointF centro = flecha.isValid() ? QPointF(flecha.center()) : QPointF(width() - 2, 2);
    QMouseEvent pulsacion(QEvent::MouseButtonPress, centro, mapToGlobal(centro), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
    mousePressEvent(&pulsacion);
}

// Measured on the field the style gives the text beside the arrow, as Qt lays the edit out,
// less the edit's own margins and its cursor.
void SelectorFecha::AjustarFuente(const QFont& fuente, int minimo) {
    QStyleOptionComboBox opcion;
    opcion.initFrom(this);
    opcion.editable = true;
    opcion.subControls = QStyle::SC_ComboBoxEditField;
    const QRect campo =
        style()->subControlRect(QStyle::CC_ComboBox, &opcion, QStyle::SC_ComboBoxEditField, this);
    setFont(FuenteQueCabe(fuente, "00/00/0000", campo.width() - 2 * 2 - 1, minimo));
}

bool SelectorFecha::focusNextPrevChild(bool siguiente) {
    return QWidget::focusNextPrevChild(siguiente);
}

void SelectorFecha::keyPressEvent(QKeyEvent* e) {
    const bool alt = e->modifiers() == Qt::AltModifier;
    if ((alt && e->key() == Qt::Key_Down) || (e->modifiers() == 0 && e->key() == Qt::Key_F4)) {
        AbrirCalendario();
        return;
    }
    if (opcional_ && (e->key() == Qt::Key_Delete || e->key() == Qt::Key_Backspace) &&
        lineEdit()->selectedText() == lineEdit()->text() && !Vacio()) {
        setDate(SinFecha());
        return;
    }
    // An empty picker has no day, month and year to type into: the first figure starts from
    // today's date, its day section taking the figure.
    if (Vacio() && !e->text().isEmpty() && e->text().at(0).isDigit()) {
        {
            const QSignalBlocker callado(this);
            setDate(QDate::currentDate());
        }
        setCurrentSection(QDateTimeEdit::DaySection);
        setSelectedSection(QDateTimeEdit::DaySection);
    }
    // The separator ends the day or the month: "1/3/2024" is the first of March. After two
    // figures the next part is selected already, and the separator typed then keeps it.
    if (e->text() == "/") {
        const bool yaSeleccionada = !lineEdit()->selectedText().isEmpty() &&
                                    lineEdit()->selectedText() == sectionText(currentSection());
        const Section siguiente = currentSection() == DaySection     ? MonthSection
                                  : currentSection() == MonthSection ? YearSection
                                                                     : NoSection;
        if (!yaSeleccionada && siguiente != NoSection) {
            setCurrentSection(siguiente);
            setSelectedSection(siguiente);
        }
        return;
    }
    QDateEdit::keyPressEvent(e);
}

// Empty, the calendar opens on this month rather than on the earliest date it could hold.
bool SelectorFecha::eventFilter(QObject* objeto, QEvent* e) {
    if (objeto == calendarWidget() && e->type() == QEvent::Show && Vacio())
        calendarWidget()->setCurrentPage(QDate::currentDate().year(), QDate::currentDate().month());
    return QDateEdit::eventFilter(objeto, e);
}
