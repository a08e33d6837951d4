// The quota scale of one day, read once for an import.
#pragma once

#include "Modelo/base/CString.h"

#include <vector>

class MOD_DOC;

// The quota of an amount in bracket `desde` (its lower bound), with the bracket's per cent and
// fixed amount; rounded to the cent.
double CuotaDeTramo(double importe, double desde, double porcentaje, double fijo);

// A data file holds thousands of documents of one period, and that period's scale is a handful
// of brackets: they are read once and each amount is placed among them, where asking the store
// once an amount would cost more than reading and checking the row. Every answer is the one
// MOD_DOC::GetCuota gives for the same amount and day; a scale the in-memory placing could
// answer differently (brackets that overlap, a bound that is not a number) is asked of the store
// amount by amount, as is an amount that is not a whole number of cents.
class MODELO_PLUGIN_API CEscalaCuotas {
public:
    // The scale of the document's form in force on a day-first date.
    CEscalaCuotas(MOD_DOC& doc, const CString& fecha);

    double Cuota(double importe) const;
    // Whether the amounts are placed here rather than asked of the store.
    bool EnMemoria() const { return enMemoria_; }

private:
    struct Tramo {
        double desde, hasta, porcentaje, fijo;
    };
    MOD_DOC& doc_;
    CString fecha_;
    std::vector<Tramo> tramos_; // by lower bound, none overlapping the next
    bool enMemoria_ = false;
};
