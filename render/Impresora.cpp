#include "render/Impresora.h"

#include "render/Impresion.h"
#include "render/Pagina.h"

#include <QPrinter>
#include <QPrinterInfo>

QStringList ImpresorasDisponibles() {
    AsegurarAplicacion();
    return QPrinterInfo::availablePrinterNames();
}

bool ImprimirEnImpresora(CGuiaDoc& doc, const CString& impresora, CPrintInfo& info) {
    AsegurarAplicacion();
    const QPrinterInfo destino = QPrinterInfo::printerInfo(TextoQt(impresora));
    if (destino.isNull()) {
        info.m_strError = "El sistema no tiene la impresora " + impresora;
        return false;
    }
    QPrinter printer(destino, QPrinter::HighResolution);
    return ImprimirEnQPrinter(doc, printer, info);
}

bool ImprimirEnQPrinter(CGuiaDoc& doc, QPrinter& printer, CPrintInfo& info) {
    // The device is the part of the sheet the printer reaches: the composer fits the page in
    // it, so nothing of the form falls in the margin a printer cannot print.
    printer.setFullPage(false);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(
        TextoQt("Modelo " + doc.GetCodModelo().Left(3) + " - declaración " + doc.GetCodDeclar()));
    CDCQt dc(printer, &printer);
    if (!doc.Imprimir(&dc, &info)) {
        printer.abort();
        return false;
    }
    return true;
}
