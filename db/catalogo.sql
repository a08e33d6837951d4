-- The error catalogue: program text, rewritten when a database stamped by another version is
-- opened, so that a database created by an earlier version gets the texts of this one. "%1"
-- stands for the row number of the data file.
-- MODELO_SQL_FORMULARIOS, between at signs, is written in by the build: one row per form it
-- builds, columns codigo ('863') and modelo ('863A1'), so every form gets every row.
-- A row already there is rewritten. Written as both engines read it: "WHERE true" tells SQLite
-- that the ON that follows is the conflict clause, not the join's.
INSERT INTO CATALOGO_ERRORES (CODIGO, DESCRIPCION, DETALLE)
SELECT f.modelo || t.serie, t.descripcion, t.detalle
FROM @MODELO_SQL_FORMULARIOS@ f,
(SELECT '00001' AS serie, 'Falta el NIF del sujeto pasivo.' AS descripcion,
        'Seleccione el sujeto pasivo con el botón de intervinientes.' AS detalle
 UNION ALL SELECT '00002', 'Falta el NIF del presentador.',
        'Seleccione el presentador con el botón de intervinientes o fije uno por defecto.'
 UNION ALL SELECT '00004', 'La fecha de firma es posterior a la fecha actual.',
        'Una autoliquidación no puede firmarse con fecha futura.'
 UNION ALL SELECT '00005', 'Fila 1: el periodo de devengo del fichero no es admisible para este modelo.',
        'El mes y el año de devengo de la primera fila deben ser un periodo pasado para el que exista tarifa.'
 UNION ALL SELECT '00006', 'El fichero no contiene ninguna fila de datos.',
        'Cada línea no vacía del fichero es un documento declarado.'
 UNION ALL SELECT '00007', 'Fila %1: el NIF del declarante no coincide con el NIF del sujeto pasivo.',
        'El fichero debe ser del mismo sujeto pasivo que figura en la declaración.'
 UNION ALL SELECT '00008', 'Falta el total a ingresar.',
        'Consigne el número de documentos, la base y la cuota de al menos una clase de documento.'
 UNION ALL SELECT '00009', 'El año de la declaración anterior no es válido.',
        'Debe ser un año de cuatro cifras.'
 UNION ALL SELECT '00010', 'Faltan datos de la declaración anterior.',
        'Una declaración complementaria o sustitutiva debe indicar el año y el número de presentación de la anterior.'
 UNION ALL SELECT '00011', 'La fecha de presentación de la declaración anterior es posterior a la fecha de firma.',
        'La declaración anterior tuvo que presentarse antes de firmar esta.'
 UNION ALL SELECT '00012', 'La fecha de presentación de la declaración anterior es anterior al periodo de devengo.',
        'La declaración anterior no pudo presentarse antes del mes de devengo.'
 UNION ALL SELECT '00013', 'El número de justificante de la declaración anterior no es válido.',
        'Son trece cifras que empiezan por el código del modelo.'
 UNION ALL SELECT '00014', 'El año de la declaración anterior es posterior al año de devengo.',
        'La declaración anterior no puede ser de un año posterior.'
 UNION ALL SELECT '00015', 'Falta el número de justificante de la declaración anterior.',
        'Una declaración complementaria o sustitutiva debe indicar el justificante de la anterior.'
 UNION ALL SELECT '00016', 'Falta la base imponible de los recibos.', 'Hay recibos declarados sin base imponible.'
 UNION ALL SELECT '00017', 'Falta la base imponible de los pagarés.', 'Hay pagarés declarados sin base imponible.'
 UNION ALL SELECT '00018', 'Falta la base imponible de los cheques.', 'Hay cheques declarados sin base imponible.'
 UNION ALL SELECT '00019', 'Falta la base imponible de los otros documentos.', 'Hay otros documentos declarados sin base imponible.'
 UNION ALL SELECT '00020', 'Falta la cuota de los recibos.', 'Hay recibos declarados sin cuota.'
 UNION ALL SELECT '00021', 'Falta la cuota de los pagarés.', 'Hay pagarés declarados sin cuota.'
 UNION ALL SELECT '00022', 'Falta la cuota de los cheques.', 'Hay cheques declarados sin cuota.'
 UNION ALL SELECT '00023', 'Falta la cuota de los otros documentos.', 'Hay otros documentos declarados sin cuota.'
 UNION ALL SELECT '00024', 'La base imponible de los recibos es cero.', 'Unos recibos declarados no pueden tener base cero.'
 UNION ALL SELECT '00025', 'La base imponible de los pagarés es cero.', 'Unos pagarés declarados no pueden tener base cero.'
 UNION ALL SELECT '00026', 'La base imponible de los cheques es cero.', 'Unos cheques declarados no pueden tener base cero.'
 UNION ALL SELECT '00027', 'La base imponible de los otros documentos es cero.', 'Otros documentos declarados no pueden tener base cero.'
 UNION ALL SELECT '00028', 'La cuota de los recibos es cero.', 'Unos recibos declarados no pueden tener cuota cero.'
 UNION ALL SELECT '00029', 'La cuota de los pagarés es cero.', 'Unos pagarés declarados no pueden tener cuota cero.'
 UNION ALL SELECT '00030', 'La cuota de los cheques es cero.', 'Unos cheques declarados no pueden tener cuota cero.'
 UNION ALL SELECT '00031', 'La cuota de los otros documentos es cero.', 'Otros documentos declarados no pueden tener cuota cero.'
 UNION ALL SELECT '00032', 'Fila %1: el código de modelo no corresponde a este formulario.', 'Columnas 1 a 3.'
 UNION ALL SELECT '00033', 'Fila %1: el año de devengo no es válido.', 'Columnas 4 a 7: un año entre 1800 y el actual.'
 UNION ALL SELECT '00034', 'Fila %1: el año de devengo no coincide con el de la primera fila.', 'Columnas 4 a 7.'
 UNION ALL SELECT '00035', 'Fila %1: el mes de devengo no es válido.', 'Columnas 8 y 9: de 01 a 12.'
 UNION ALL SELECT '00036', 'Fila %1: el mes de devengo no coincide con el de la primera fila.', 'Columnas 8 y 9.'
 UNION ALL SELECT '00037', 'Fila %1: el NIF del declarante no es válido.', 'Columnas 10 a 18.'
 UNION ALL SELECT '00038', 'Fila %1: el NIF del declarante no coincide con el de la primera fila.', 'Columnas 10 a 18.'
 UNION ALL SELECT '00039', 'Fila %1: el NIF del tercero no es válido.', 'Columnas 19 a 27.'
 UNION ALL SELECT '00040', 'Fila %1: falta el nombre o razón social del tercero.', 'Columnas 28 a 76.'
 UNION ALL SELECT '00041', 'Fila %1: el tipo de documento no es válido.', 'Columna 77: 1 recibo, 2 pagaré, 3 cheque, 4 otros.'
 UNION ALL SELECT '00042', 'Fila %1: falta la descripción de un documento de tipo otros.', 'Columnas 78 a 97.'
 UNION ALL SELECT '00043', 'Fila %1: hay datos después de la columna 132.', 'Cada línea tiene 132 columnas.'
 UNION ALL SELECT '00044', 'Fila %1: el importe no es válido.', 'Columnas 118 a 132: quince cifras, las dos últimas céntimos, mayor que cero.'
 UNION ALL SELECT '00045', 'Fila %1: el NIF del tercero es el del declarante.', 'Columnas 19 a 27.'
 UNION ALL SELECT '00046', 'Fila %1: la descripción sólo se admite en documentos de tipo otros.', 'Columnas 78 a 97 en blanco para los tipos 1, 2 y 3.'
 UNION ALL SELECT '00047', 'Fila %1: falta la referencia del documento.', 'Columnas 98 a 117.'
) t
WHERE true
ON CONFLICT (CODIGO) DO UPDATE SET DESCRIPCION = excluded.DESCRIPCION, DETALLE = excluded.DETALLE;

INSERT INTO CATALOGO_ERRORES (CODIGO, DESCRIPCION, DETALLE) VALUES
    ('MODELO0001', 'El mes de devengo no es válido.', 'Un mes de 01 a 12.'),
    ('MODELO0002', 'El año de devengo no es válido.', 'Un año de cuatro cifras.'),
    ('MODELO0003', 'El periodo de devengo es posterior al mes actual.', 'No se puede declarar un periodo que aún no ha llegado.'),
    ('MODELO0004', 'No hay tarifa para el periodo de devengo.', 'El periodo es anterior al primero para el que el modelo tiene tarifa.'),
    ('MODELO0005', 'El tipo de periodo no es válido.', 'Este programa trata periodos mensuales.'),
    ('MODELO0006', 'La fecha no es válida.', 'Día, mes y año deben formar una fecha.'),
    ('MODELO0007', 'La fecha de firma es anterior al periodo de devengo.', 'No se puede firmar antes del comienzo del periodo declarado.'),
    ('MODELO0010', 'El NIF del sujeto pasivo no es válido.', 'Compruebe el NIF y su carácter de control.'),
    ('MODELO0011', 'El NIF del representante no es válido.', 'Compruebe el NIF y su carácter de control.'),
    ('MODELO0012', 'El NIF del presentador no es válido.', 'Compruebe el NIF y su carácter de control.'),
    ('MODELO0013', 'Falta el nombre o razón social del sujeto pasivo.', 'Un interviniente con NIF necesita nombre.'),
    ('MODELO0014', 'Falta el nombre o razón social del representante.', 'Un interviniente con NIF necesita nombre.'),
    ('MODELO0015', 'Falta el nombre o razón social del presentador.', 'Un interviniente con NIF necesita nombre.'),
    ('MODELO0016', 'El número de documentos no es válido.', 'Sólo cifras, sin signo, sin puntos ni decimales.'),
    ('MODELO0017', 'El importe no es válido.', 'Un importe con dos decimales tras la coma, sin signo: 1.244,50 o 1244,50.'),
    ('MODELO0018', 'El total no es la suma de las cuotas.', 'El total a ingresar debe ser la suma de las cuotas de recibos, pagarés, cheques y otros documentos.'),
    ('MODELO0019', 'El mes no es válido.', 'Dos cifras, de 01 a 12.'),
    ('MODELO0020', 'El mes no es válido.', 'El nombre del mes en mayúsculas, de ENERO a DICIEMBRE.'),
    ('MODELO0021', 'El día no es válido.', 'Dos cifras, de 01 a 31.'),
    ('MODELO0022', 'El año no es válido.', 'Cuatro cifras.'),
    ('MODELO0023', 'La casilla sólo admite cifras.', 'Sin espacios, signos ni letras.'),
    ('MODELO0024', 'El código postal no es válido.', 'Cinco cifras.'),
    ('MODELO0025', 'El código postal no es de la provincia.', 'Las dos primeras cifras del código postal son el código de la provincia.'),
    ('MODELO0026', 'El NIF no es válido.', 'Compruebe el NIF y su carácter de control.'),
    ('MODELO0027', 'El tipo de vía no es válido.', 'Un código de la tabla de tipos de vía (CL, AV, PZ...).'),
    ('MODELO0028', 'La provincia no es válida.', 'El código de dos cifras de una provincia.'),
    ('MODELO0029', 'El municipio no es válido.', 'El código de un municipio de la provincia indicada; db/README.md explica cómo cargar la lista completa.'),
    ('MODELO0030', 'La casilla de marcar no es válida.', 'Marcada vale S; sin marcar, vacía.'),
    ('MODELO0031', 'La fecha no es válida.', 'Una fecha del calendario, día/mes/año: 15/04/2024.')
ON CONFLICT (CODIGO) DO UPDATE SET DESCRIPCION = excluded.DESCRIPCION, DETALLE = excluded.DETALLE;

-- Help of the boxes a person types, shown as a tip over each of them. Both forms share them.
INSERT INTO AYUDAS_CASILLA (MODELO, CASILLA, TEXTO)
SELECT f.modelo, t.casilla, t.texto
FROM @MODELO_SQL_FORMULARIOS@ f,
(SELECT 1 AS casilla, 'Mes de devengo: el mes en que se negociaron los documentos, de 01 a 12. Puede escribir el número o el nombre del mes.' AS texto
 UNION ALL SELECT 2, 'Año de devengo, con cuatro cifras.'
 UNION ALL SELECT 50, 'Marque esta casilla si la declaración completa otra presentada antes por el mismo periodo.'
 UNION ALL SELECT 51, 'Marque esta casilla si la declaración sustituye por completo a otra presentada antes por el mismo periodo.'
 UNION ALL SELECT 52, 'Número de justificante de la declaración anterior: trece cifras que empiezan por el código del modelo.'
 UNION ALL SELECT 53, 'Fecha en que se presentó la declaración anterior.'
 UNION ALL SELECT 54, 'Año de la declaración anterior, con cuatro cifras.'
 UNION ALL SELECT 55, 'Número de presentación de la declaración anterior, hasta seis cifras.'
 UNION ALL SELECT 60, 'Número de recibos negociados en el periodo. Un cero deja vacías su base y su cuota.'
 UNION ALL SELECT 61, 'Número de pagarés negociados en el periodo. Un cero deja vacías su base y su cuota.'
 UNION ALL SELECT 62, 'Número de cheques negociados en el periodo. Un cero deja vacías su base y su cuota.'
 UNION ALL SELECT 63, 'Número de otros documentos negociados en el periodo. Un cero deja vacías su base y su cuota.'
 UNION ALL SELECT 64, 'Suma de los importes de los recibos declarados, en euros con dos decimales.'
 UNION ALL SELECT 65, 'Suma de los importes de los pagarés declarados, en euros con dos decimales.'
 UNION ALL SELECT 66, 'Suma de los importes de los cheques declarados, en euros con dos decimales.'
 UNION ALL SELECT 67, 'Suma de los importes de los otros documentos declarados, en euros con dos decimales.'
 UNION ALL SELECT 68, 'Cuota de los recibos: la suma de las cuotas de cada recibo según la tarifa.'
 UNION ALL SELECT 69, 'Cuota de los pagarés: la suma de las cuotas de cada pagaré según la tarifa.'
 UNION ALL SELECT 70, 'Cuota de los cheques: la suma de las cuotas de cada cheque según la tarifa.'
 UNION ALL SELECT 71, 'Cuota de los otros documentos: la suma de sus cuotas según la tarifa.'
 UNION ALL SELECT 72, 'Total a ingresar: la suma de las cuatro cuotas. Se calcula solo.'
 UNION ALL SELECT 146, 'Fecha de firma de la declaración: elíjala en el calendario; el día, el mes y el año se escriben solos.') t
WHERE true
ON CONFLICT (MODELO, CASILLA) DO UPDATE SET TEXTO = excluded.TEXTO;

-- Help of the blocks of page 1, opened by their help buttons.
INSERT INTO AYUDAS_BLOQUE (MODELO, PAGINA, CLAVE, TEXTO)
SELECT f.modelo, '1', t.clave, t.texto
FROM @MODELO_SQL_FORMULARIOS@ f,
(SELECT 'SujPasivo' AS clave, 'Sujeto pasivo: la persona o entidad que negocia los documentos y debe el impuesto. Elíjala con el botón de intervinientes; su NIF, nombre y domicilio se copian de la lista de intervinientes. Una persona física figura con sus dos apellidos y su nombre; una entidad, con su razón social.' AS texto
 UNION ALL SELECT 'Representante', 'Representante: quien actúa en nombre del sujeto pasivo, si lo hay. Se elige como el sujeto pasivo, con el botón de intervinientes.'
 UNION ALL SELECT 'Presentador', 'Presentador: quien presenta la declaración. Una declaración nueva lleva el presentador por defecto del programa; puede cambiarlo con el botón de intervinientes.'
 UNION ALL SELECT 'Tipo_Liquidacion', 'Tipo de declaración: marque complementaria si añade algo a una declaración ya presentada por el mismo periodo, o sustitutiva si la reemplaza por completo. En ambos casos indique el justificante, la fecha, el año y el número de presentación de la declaración anterior. Solo puede marcar una de las dos.'
 UNION ALL SELECT 'Autoliquidacion', 'Autoliquidación: para cada clase de documento indique cuántos se negociaron, la suma de sus importes y la cuota según la tarifa. Un número de documentos en cero deja vacías su base y su cuota. El total a ingresar es la suma de las cuatro cuotas y se calcula solo.') t
WHERE true
ON CONFLICT (MODELO, PAGINA, CLAVE) DO UPDATE SET TEXTO = excluded.TEXTO;
