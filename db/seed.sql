-- Sample data of a new database. SAMPLE DATA, not an official tariff: replace it with your own
-- through `modelo db load FILE.sql`.
INSERT INTO AJUSTES (CLAVE, VALOR) VALUES ('version_semilla', '1');

-- Brackets that classify documents: three, from 0, 3000.01 and 30000.01.
INSERT INTO PATARIFA (CDMODELO, CDTIPTAF, CDTARIFA, FECDESDE, FECHASTA, RANGOINI, RANGOFIN,
                      PORCENTJ, VIMPORTE, NUMORDEN)
SELECT m.modelo, 'ESCALA', 'TRA', '2000-01-01', '2030-12-31', t.ini, t.fin, 0, 0, t.orden
FROM (SELECT '863A1' AS modelo UNION ALL SELECT '871A1') m,
     (SELECT 1 AS orden, 0.00 AS ini, 3000.00 AS fin
      UNION ALL SELECT 2, 3000.01, 30000.00
      UNION ALL SELECT 3, 30000.01, 999999999999.99) t;

-- Quota scale: fixed amounts for small documents, then a fixed amount plus a percentage.
INSERT INTO PATARIFA (CDMODELO, CDTIPTAF, CDTARIFA, FECDESDE, FECHASTA, RANGOINI, RANGOFIN,
                      PORCENTJ, VIMPORTE, NUMORDEN)
SELECT m.modelo, 'ESCALA', 'CUO', '2000-01-01', '2030-12-31', t.ini, t.fin, t.pct, t.fijo,
       t.orden
FROM (SELECT '863A1' AS modelo UNION ALL SELECT '871A1') m,
     (SELECT 1 AS orden, 0.00 AS ini, 24.04 AS fin, 0 AS pct, 0.18 AS fijo
      UNION ALL SELECT 2, 24.05, 48.08, 0, 0.30
      UNION ALL SELECT 3, 48.09, 90.15, 0, 0.60
      UNION ALL SELECT 4, 90.16, 180.30, 0, 1.20
      UNION ALL SELECT 5, 180.31, 1000.00, 0, 2.40
      UNION ALL SELECT 6, 1000.01, 30000.00, 1, 10.00
      UNION ALL SELECT 7, 30000.01, 999999999999.99, 0.5, 300.00) t;

-- Bracket concepts: the set in force for a year is the greatest filter not above it.
INSERT INTO PACONCOD (CDCONCEP, CDFILTRO, CDCODIGO, DESCRIPCION, NUMORDEN) VALUES
    ('TRA', '2000', '1', 'Hasta 3.000,00 euros', 1),
    ('TRA', '2000', '2', 'De 3.000,01 a 30.000,00 euros', 2),
    ('TRA', '2000', '3', 'Más de 30.000,00 euros', 3),
    ('TRA', '2024', '1', 'Hasta 3.000,00 euros (2024)', 1),
    ('TRA', '2024', '2', 'De 3.000,01 a 30.000,00 euros (2024)', 2),
    ('TRA', '2024', '3', 'Más de 30.000,00 euros (2024)', 3);

-- Sample parties, bound to no declaration.
INSERT INTO PAINTERVIN (CDDECLAR, CDROL, DENIF, DENOMBRE, CDPROVIN, CDMUNICI, CDTIPVIA,
                        DENOMVIA, NUMVIA, ESCALERA, PISO, PUERTA, CODPOSTAL, TELEFONO) VALUES
    (NULL, NULL, 'B12345674', 'DISTRIBUCIONES EJEMPLO, S.L.', '28', '079', 'CL', 'MAYOR',
     '12', '', '3', 'B', '28013', '915550101'),
    (NULL, NULL, '12345678Z', 'GARCIA|LOPEZ|MARIA', '46', '250', 'AV', 'DEL PUERTO', '7', '',
     '1', 'A', '46021', '963330202');
