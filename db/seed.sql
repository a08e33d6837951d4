-- Sample data of a new database. SAMPLE DATA, not an official tariff: replace it with your own
-- through `modelo db load FILE.sql` (the README shows the layout of PATARIFA and an example).
-- MODELO_SQL_FORMULARIOS, between at signs, is written in by the build: one row per form it
-- builds, columns codigo ('863') and modelo ('863A1').
INSERT INTO AJUSTES (CLAVE, VALOR) VALUES ('version_semilla', '1');

-- Brackets that classify documents: three, from 0, 3000.01 and 30000.01.
INSERT INTO PATARIFA (CDMODELO, CDTIPTAF, CDTARIFA, FECDESDE, FECHASTA, RANGOINI, RANGOFIN,
                      PORCENTJ, VIMPORTE, NUMORDEN)
SELECT m.modelo, 'ESCALA', 'TRA', '2000-01-01', '2030-12-31', t.ini, t.fin, 0, 0, t.orden
FROM @MODELO_SQL_FORMULARIOS@ m,
     (SELECT 1 AS orden, 0.00 AS ini, 3000.00 AS fin
      UNION ALL SELECT 2, 3000.01, 30000.00
      UNION ALL SELECT 3, 30000.01, 999999999999.99) t;

-- Quota scale: fixed amounts for small documents, then a fixed amount plus a percentage.
INSERT INTO PATARIFA (CDMODELO, CDTIPTAF, CDTARIFA, FECDESDE, FECHASTA, RANGOINI, RANGOFIN,
                      PORCENTJ, VIMPORTE, NUMORDEN)
SELECT m.modelo, 'ESCALA', 'CUO', '2000-01-01', '2030-12-31', t.ini, t.fin, t.pct, t.fijo,
       t.orden
FROM @MODELO_SQL_FORMULARIOS@ m,
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

-- Code tables. Street types and provinces are complete; the municipalities are a sample of a
-- few provinces: load the full list with `modelo db load FILE.sql` (layout in db/README.md).
INSERT INTO TIPOS_VIA (CODIGO, NOMBRE) VALUES
    ('AL', 'Alameda'), ('AU', 'Autovía'), ('AV', 'Avenida'), ('BJ', 'Bajada'), ('BO', 'Barrio'),
    ('BV', 'Bulevar'), ('CA', 'Cañada'), ('CJ', 'Callejón'), ('CL', 'Calle'), ('CM', 'Camino'),
    ('CN', 'Colonia'), ('CR', 'Carretera'), ('CS', 'Caserío'), ('CT', 'Cuesta'),
    ('GL', 'Glorieta'), ('GR', 'Grupo'), ('LG', 'Lugar'), ('ML', 'Muelle'), ('PA', 'Paraje'),
    ('PG', 'Polígono'), ('PJ', 'Pasaje'), ('PQ', 'Parque'), ('PR', 'Prolongación'),
    ('PS', 'Paseo'), ('PZ', 'Plaza'), ('RB', 'Rambla'), ('RD', 'Ronda'), ('SD', 'Senda'),
    ('TR', 'Travesía'), ('UR', 'Urbanización'), ('VI', 'Vía'), ('VR', 'Vereda');

INSERT INTO PROVINCIAS (CODIGO, NOMBRE) VALUES
    ('01', 'Araba/Álava'), ('02', 'Albacete'), ('03', 'Alicante/Alacant'), ('04', 'Almería'),
    ('05', 'Ávila'), ('06', 'Badajoz'), ('07', 'Illes Balears'), ('08', 'Barcelona'),
    ('09', 'Burgos'), ('10', 'Cáceres'), ('11', 'Cádiz'), ('12', 'Castellón/Castelló'),
    ('13', 'Ciudad Real'), ('14', 'Córdoba'), ('15', 'A Coruña'), ('16', 'Cuenca'),
    ('17', 'Girona'), ('18', 'Granada'), ('19', 'Guadalajara'), ('20', 'Gipuzkoa'),
    ('21', 'Huelva'), ('22', 'Huesca'), ('23', 'Jaén'), ('24', 'León'), ('25', 'Lleida'),
    ('26', 'La Rioja'), ('27', 'Lugo'), ('28', 'Madrid'), ('29', 'Málaga'), ('30', 'Murcia'),
    ('31', 'Navarra'), ('32', 'Ourense'), ('33', 'Asturias'), ('34', 'Palencia'),
    ('35', 'Las Palmas'), ('36', 'Pontevedra'), ('37', 'Salamanca'),
    ('38', 'Santa Cruz de Tenerife'), ('39', 'Cantabria'), ('40', 'Segovia'), ('41', 'Sevilla'),
    ('42', 'Soria'), ('43', 'Tarragona'), ('44', 'Teruel'), ('45', 'Toledo'),
    ('46', 'Valencia/València'), ('47', 'Valladolid'), ('48', 'Bizkaia'), ('49', 'Zamora'),
    ('50', 'Zaragoza'), ('51', 'Ceuta'), ('52', 'Melilla');

INSERT INTO MUNICIPIOS (PROVINCIA, CODIGO, NOMBRE) VALUES
    ('03', '014', 'Alicante/Alacant'), ('03', '031', 'Benidorm'), ('03', '065', 'Elche/Elx'),
    ('08', '015', 'Badalona'), ('08', '019', 'Barcelona'),
    ('08', '101', 'L''Hospitalet de Llobregat'), ('08', '121', 'Mataró'),
    ('08', '187', 'Sabadell'), ('08', '279', 'Terrassa'),
    ('28', '005', 'Alcalá de Henares'), ('28', '006', 'Alcobendas'), ('28', '007', 'Alcorcón'),
    ('28', '058', 'Fuenlabrada'), ('28', '065', 'Getafe'), ('28', '074', 'Leganés'),
    ('28', '079', 'Madrid'), ('28', '092', 'Móstoles'), ('28', '106', 'Parla'),
    ('28', '115', 'Pozuelo de Alarcón'), ('28', '148', 'Torrejón de Ardoz'),
    ('29', '067', 'Málaga'), ('29', '069', 'Marbella'), ('29', '901', 'Torremolinos'),
    ('41', '004', 'Alcalá de Guadaíra'), ('41', '038', 'Dos Hermanas'), ('41', '091', 'Sevilla'),
    ('46', '017', 'Alzira'), ('46', '131', 'Gandia'), ('46', '184', 'Ontinyent'),
    ('46', '190', 'Paterna'), ('46', '220', 'Sagunto/Sagunt'), ('46', '244', 'Torrent'),
    ('46', '250', 'València'),
    ('48', '013', 'Barakaldo'), ('48', '020', 'Bilbao'), ('48', '044', 'Getxo'),
    ('50', '297', 'Zaragoza');

-- Box 0 of a new declaration holds "000".
INSERT INTO CODIGOS_CASILLA0 (MODELO, CODIGO, DESCRIPCION)
SELECT f.modelo, '000', 'Autoliquidación ordinaria' FROM @MODELO_SQL_FORMULARIOS@ f;
