// Printing on a printer of the system, through the same device context as the PDF.
#pragma once

#include "Modelo/GuiaDoc.h"

#include <QStringList>

// The printers the system offers, by name.
QStringList ImpresorasDisponibles();

// Sends the declaration to that printer, A4, at the printer's own resolution. False, with the
// reason in info.m_strError, for an unknown printer or a job that failed.
bool ImprimirEnImpresora(CGuiaDoc& doc, const CString& impresora, CPrintInfo& info);
// The same on a printer already chosen (the window's print dialog).
class QPrinter;
bool ImprimirEnQPrinter(CGuiaDoc& doc, QPrinter& printer, CPrintInfo& info);
