-- Schema of the host's local database. Every statement is idempotent: it runs whenever a
-- database stamped by another version (or none) is opened.

-- Host settings (key/value): default presenter, seed version, ...
CREATE TABLE IF NOT EXISTS AJUSTES (
    CLAVE TEXT PRIMARY KEY,
    VALOR TEXT NOT NULL
);

-- Stored declarations. CODIGO is the declaration code: the form code followed by a ten-digit
-- serial of that form (13 digits). ESTADO "0" is a draft, "1" a final declaration.
CREATE TABLE IF NOT EXISTS DECLARACIONES (
    CODIGO     TEXT PRIMARY KEY,
    MODELO     TEXT NOT NULL,
    ESTADO     TEXT NOT NULL DEFAULT '0',
    MES        TEXT NOT NULL DEFAULT '',
    ANIO       TEXT NOT NULL DEFAULT '',
    CREADA     TEXT NOT NULL,
    MODIFICADA TEXT NOT NULL
);

-- Last serial handed out per form; serials are never reused, even after a deletion.
CREATE TABLE IF NOT EXISTS CONTADORES (
    FORMULARIO TEXT PRIMARY KEY,
    ULTIMO     INTEGER NOT NULL
);

-- Boxes that hold a value; a box without a row reads as "".
CREATE TABLE IF NOT EXISTS CASILLAS (
    CODIGO  TEXT NOT NULL REFERENCES DECLARACIONES (CODIGO) ON DELETE CASCADE,
    PAGINA  INTEGER NOT NULL,
    CASILLA INTEGER NOT NULL,
    VALOR   TEXT NOT NULL,
    PRIMARY KEY (CODIGO, PAGINA, CASILLA)
) WITHOUT ROWID;

-- Additional key/value records that travel with a declaration.
CREATE TABLE IF NOT EXISTS REGISTROS_ADICIONALES (
    CODIGO TEXT NOT NULL REFERENCES DECLARACIONES (CODIGO) ON DELETE CASCADE,
    ORDEN  INTEGER NOT NULL,
    CLAVE  TEXT NOT NULL,
    VALOR  TEXT NOT NULL,
    PRIMARY KEY (CODIGO, ORDEN)
) WITHOUT ROWID;

-- Error catalogue: a description (which may hold "%1") and a detail per code.
CREATE TABLE IF NOT EXISTS CATALOGO_ERRORES (
    CODIGO      TEXT PRIMARY KEY,
    DESCRIPCION TEXT NOT NULL,
    DETALLE     TEXT NOT NULL DEFAULT ''
);

-- Help texts of the boxes, per model code: program text, rewritten with the error catalogue.
CREATE TABLE IF NOT EXISTS AYUDAS_CASILLA (
    MODELO  TEXT NOT NULL,
    CASILLA INTEGER NOT NULL,
    TEXTO   TEXT NOT NULL,
    PRIMARY KEY (MODELO, CASILLA)
) WITHOUT ROWID;

-- Help texts of the blocks of a page, per model code and page, by the key its help button
-- names: program text, rewritten with the error catalogue.
CREATE TABLE IF NOT EXISTS AYUDAS_BLOQUE (
    MODELO TEXT NOT NULL,
    PAGINA TEXT NOT NULL,
    CLAVE  TEXT NOT NULL,
    TEXTO  TEXT NOT NULL,
    PRIMARY KEY (MODELO, PAGINA, CLAVE)
) WITHOUT ROWID;

-- Tariff: per model code and validity period, the brackets of each scale. "TRA" classifies
-- documents into brackets; "CUO" gives the quota (VIMPORTE plus PORCENTJ per cent of the part
-- of the amount above RANGOINI - 0.01). Dates are ISO text, amounts numbers.
CREATE TABLE IF NOT EXISTS PATARIFA (
    CDMODELO TEXT NOT NULL,
    CDTIPTAF TEXT NOT NULL,
    CDTARIFA TEXT NOT NULL,
    FECDESDE TEXT NOT NULL,
    FECHASTA TEXT NOT NULL,
    RANGOINI REAL NOT NULL,
    RANGOFIN REAL NOT NULL,
    PORCENTJ REAL NOT NULL DEFAULT 0,
    VIMPORTE REAL NOT NULL DEFAULT 0,
    NUMORDEN INTEGER NOT NULL
);
-- Covers the quota query, which runs once per imported document.
DROP INDEX IF EXISTS PATARIFA_BUSQUEDA;
DROP INDEX IF EXISTS PATARIFA_ESCALA;
CREATE INDEX IF NOT EXISTS PATARIFA_IMPORTE ON PATARIFA (CDMODELO, CDTIPTAF, CDTARIFA, RANGOFIN,
    RANGOINI, FECDESDE, FECHASTA, PORCENTJ, VIMPORTE, NUMORDEN);

-- Concepts: codes and texts of a concept (CDCONCEP), in sets selected by a filter key
-- (CDFILTRO, compared as text with a year).
CREATE TABLE IF NOT EXISTS PACONCOD (
    CDCONCEP    TEXT NOT NULL,
    CDFILTRO    TEXT NOT NULL,
    CDCODIGO    TEXT NOT NULL,
    DESCRIPCION TEXT NOT NULL DEFAULT '',
    NUMORDEN    INTEGER NOT NULL DEFAULT 0
);

-- Parties. A party bound to no declaration has CDDECLAR NULL; one bound to a declaration has
-- its role in CDROL ('Sujeto Pasivo', 'Representante', 'Presentador'). A natural person's name
-- is first surname|second surname|first name.
CREATE TABLE IF NOT EXISTS PAINTERVIN (
    NUMORDEN  INTEGER PRIMARY KEY,
    CDDECLAR  TEXT,
    CDROL     TEXT,
    DENIF     TEXT NOT NULL,
    DENOMBRE  TEXT NOT NULL,
    CDPROVIN  TEXT NOT NULL DEFAULT '',
    CDMUNICI  TEXT NOT NULL DEFAULT '',
    CDTIPVIA  TEXT NOT NULL DEFAULT '',
    DENOMVIA  TEXT NOT NULL DEFAULT '',
    NUMVIA    TEXT NOT NULL DEFAULT '',
    ESCALERA  TEXT NOT NULL DEFAULT '',
    PISO      TEXT NOT NULL DEFAULT '',
    PUERTA    TEXT NOT NULL DEFAULT '',
    CODPOSTAL TEXT NOT NULL DEFAULT '',
    TELEFONO  TEXT NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS PAINTERVIN_DECLARANTE ON PAINTERVIN (CDDECLAR, CDROL);

-- Code tables read by the documents (see db/README.md for loading the full lists). Codes are
-- text and compared exactly: province "08", municipality "019", street type "CL".
CREATE TABLE IF NOT EXISTS TIPOS_VIA (
    CODIGO TEXT PRIMARY KEY,
    NOMBRE TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS PROVINCIAS (
    CODIGO TEXT PRIMARY KEY,
    NOMBRE TEXT NOT NULL
);
-- A municipality is named by its province's code and its own three-digit code within it.
CREATE TABLE IF NOT EXISTS MUNICIPIOS (
    PROVINCIA TEXT NOT NULL,
    CODIGO    TEXT NOT NULL,
    NOMBRE    TEXT NOT NULL,
    PRIMARY KEY (PROVINCIA, CODIGO)
) WITHOUT ROWID;
-- The codes box 0 of a model's principal page can take, with their descriptions.
CREATE TABLE IF NOT EXISTS CODIGOS_CASILLA0 (
    MODELO      TEXT NOT NULL,
    CODIGO      TEXT NOT NULL,
    DESCRIPCION TEXT NOT NULL,
    PRIMARY KEY (MODELO, CODIGO)
) WITHOUT ROWID;
