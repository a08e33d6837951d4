// Printing on a printer of the system: the window's print dialog draws on a Qt printer; the
// command line hands the print service the same PDF it writes to a file and follows the job.
#pragma once

#include "Modelo/document/GuiaDoc.h"

#include <QByteArray>
#include <QStringList>
#include <memory>

// The printers the system offers, by name.
QStringList ImpresorasDisponibles();

// What the print service did with a job it took.
struct TrabajoImpresion {
    CString nombre; // as the print service names it, "PRINTER-12"
    // Non-empty when the job waits in the queue instead of printing (held, a stopped
    // printer): why, one Spanish sentence.
    CString espera;
};

// A printer of the system's print service, for jobs sent as PDF and followed. The printer is
// checked before the document is composed, so a refusal costs nothing and holds nothing.
class ColaImpresion {
public:
    ColaImpresion();
    ~ColaImpresion();
    ColaImpresion(const ColaImpresion&) = delete;
    ColaImpresion& operator=(const ColaImpresion&) = delete;

    // False, with the reason in `error`, for a print service that cannot be reached, an
    // unknown printer or one that refuses jobs.
    bool Abrir(const CString& impresora, CString& error);
    // Sends the PDF (A4, its copies already in it) as one job. False, with the reason, for a
    // job the service refused or gave up at once: then nothing prints.
    bool Enviar(const QByteArray& pdf, const CString& titulo, TrabajoImpresion& trabajo,
                CString& error);

private:
    struct Estado;
    std::unique_ptr<Estado> estado_;
};

// The name a printed declaration goes by in a print queue and in its PDF's properties.
CString TituloImpreso(const CGuiaDoc& doc);

// The declaration drawn on a printer already chosen (the window's print dialog).
class QPrinter;
bool ImprimirEnQPrinter(CGuiaDoc& doc, QPrinter& printer, CPrintInfo& info);
