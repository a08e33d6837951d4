// One open declaration: its pages, each over its page image, and the list of its findings.
#pragma once

// The code generator of Qt cannot read the C++20 of the host's headers; it needs none of
// them.
#ifndef Q_MOC_RUN
#include "Host.h"
#include "PaginaWidget.h"
#endif

#include <QWidget>
#include <map>
#include <memory>
#include <vector>

class QLabel;
class QScrollArea;
class QTabWidget;
class QTreeWidget;

class PestanaDeclaracion : public QWidget {
    Q_OBJECT
public:
    // Opens the stored declaration; throws ErrorUsuario or CExcepcionBD when it cannot.
    PestanaDeclaracion(CHost& host, const CString& codigo, QWidget* parent = nullptr);
    ~PestanaDeclaracion() override;

    CString Codigo() const { return codigo_; }
    CGuiaDoc& Documento() { return *doc_; }
    bool SoloLectura() const { return !doc_->PermiteCambios(); }
    PaginaWidget* Pagina(int indice) const;
    QTreeWidget* ListaErrores() const { return errores_; }
    // The whole text of the finding chosen in the list.
    QLabel* DetalleError() const { return detalle_; }
    QTabWidget* Paginas() const { return paginas_; }

    // What the person sees differs from what is stored.
    bool TieneCambios();
    // Whether the tab shows unsaved changes. Unlike TieneCambios it leaves the page alone, so
    // it may be asked while a box is being typed (a rule that puts a value back needs the
    // document to keep the one before).
    bool Modificada() const { return modificada_; }
    // Saves into the store in one transaction; false, after telling the person why, when it
    // could not (another program saved the declaration meanwhile, the store refused it).
    bool Guardar();
    // Back to the stored declaration.
    void DeshacerCambios();
    // The findings of the form's validation, in the list; how many.
    int Validar();
    // Findings in the list (a refused data file's too), each a double click away from its box.
    void MostrarHallazgos(const CListaErrores& hallazgos);
    // Asks first, as it cannot be undone; then validates and, without findings, makes the
    // declaration final. True when it did.
    bool Finalizar();
    void ImportarFichero();
    // What the pages show, on paper: through the system's print dialog, or into a PDF file.
    void Imprimir();
    void ExportarPDF();
    void Intervinientes();
    // Brings the person to the box of the finding in that row of the list.
    void IrAError(int fila);
    void SetZoom(double zoom);
    double Zoom() const;

signals:
    void Cambiada();

private:
    void Cargar();
    // The declaration was saved: what is stored now, and page 2 as the save replicated it.
    void Guardado();
    // After an action that brought the page into the document: whether it differs from what
    // is stored.
    void Revisar();
    std::map<std::pair<int, int>, CString> Mostrado();
    void OcultarHallazgos();
    void MostrarDetalle();

    CHost& host_;
    CString codigo_;
    std::unique_ptr<CGuiaDoc> doc_;
    std::vector<std::unique_ptr<CGuiaView>> vistas_;
    std::vector<PaginaWidget*> paginasWidget_;
    std::vector<QScrollArea*> desplazables_;
    std::map<std::pair<int, int>, CString> guardado_; // the boxes as last loaded or saved
    QTabWidget* paginas_ = nullptr;
    QWidget* panelErrores_ = nullptr;
    QTreeWidget* errores_ = nullptr;
    QLabel* detalle_ = nullptr;
    CListaErrores hallazgos_;
    bool deValidacion_ = false; // the list holds the form's findings, not a data file's
    double zoom_ = 1.0;
    bool modificada_ = false;
};
