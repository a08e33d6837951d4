# Everything that names the forms of the build follows from one list, MODELO_FORMULARIOS (set
# by the top CMakeLists.txt): each word NNN is a plug-in compiled from forms/NNN/Formulario.h.
# This file turns the list into
#   MODELO_PLUGINS          the plug-in targets, Mod<NNN> per form, built here;
#   MODELO_SQL_FORMULARIOS  a subquery with one row per form, columns `codigo` ('863') and
#                           `modelo` ('863A1'), which db/*.sql write as @MODELO_SQL_FORMULARIOS@
#                           so that a database holds the rows of every form built;
#   modelo_formularios      an interface library whose header Formularios.h holds the list for
#                           the texts of the program and for the tests;
#   MODELO_PAGINA_MANUAL, MODELO_ENTRADA_ESCRITORIO  the manual page and the desktop entry,
#                           written from data/*.in with the forms in their text.
# docs/anadir-formulario.md tells how to add a form.

include(${CMAKE_CURRENT_LIST_DIR}/Plugin.cmake)

if(NOT MODELO_FORMULARIOS)
  message(FATAL_ERROR "MODELO_FORMULARIOS names no form")
endif()

# The value of a constant of a form's header, read the way the compiler will see it, so the
# build never keeps a second copy of it.
function(_modelo_valor_formulario TEXTO NOMBRE PATRON OUTVAR)
  if(NOT TEXTO MATCHES "${NOMBRE} = ${PATRON}")
    message(FATAL_ERROR "forms/${FORM}/Formulario.h has no ${NOMBRE}")
  endif()
  set(${OUTVAR} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

set(MODELO_PLUGINS)
set(_filas)
set(_codigos_cpp)
set(_modelos_cpp)
set(_bibliotecas_man)
set(_palabras_clave)
set(_bases)
set(_vistos)
foreach(FORM IN LISTS MODELO_FORMULARIOS)
  set(_cabecera ${CMAKE_SOURCE_DIR}/forms/${FORM}/Formulario.h)
  if(NOT EXISTS ${_cabecera})
    message(FATAL_ERROR "form ${FORM} of MODELO_FORMULARIOS has no forms/${FORM}/Formulario.h")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_cabecera})
  file(READ ${_cabecera} _texto)
  _modelo_valor_formulario("${_texto}" kCodigo "\"([^\"]*)\"" _codigo)
  _modelo_valor_formulario("${_texto}" kVersion "\"([^\"]*)\"" _version)
  _modelo_valor_formulario("${_texto}" kIdBase "([0-9]+)" _base)

  # A declaration code is the form code and ten digits, and the plug-in is found by its code:
  # a folder whose header says another code would build a plug-in nobody could ask for.
  if(NOT _codigo STREQUAL FORM)
    message(FATAL_ERROR "forms/${FORM}/Formulario.h says kCodigo \"${_codigo}\"")
  endif()
  if(NOT FORM MATCHES "^[0-9][0-9][0-9]$")
    message(FATAL_ERROR "form code ${FORM} is not three digits")
  endif()
  if(FORM IN_LIST _vistos)
    message(FATAL_ERROR "form ${FORM} is twice in MODELO_FORMULARIOS")
  endif()
  list(APPEND _vistos ${FORM})
  # Loaded plug-ins share one chain of resources and one id space, so each form owns the
  # thousand ids from its base; an overlap would show one form's page in another's window.
  foreach(_otra IN LISTS _bases)
    string(REPLACE ":" ";" _otra "${_otra}")
    list(GET _otra 0 _otro_form)
    list(GET _otra 1 _otra_base)
    math(EXPR _distancia "${_base} - ${_otra_base}")
    if(_distancia GREATER -1000 AND _distancia LESS 1000)
      message(FATAL_ERROR "forms ${_otro_form} and ${FORM}: kIdBase ${_otra_base} and ${_base} "
                          "are less than 1000 apart")
    endif()
  endforeach()
  list(APPEND _bases "${FORM}:${_base}")

  add_form_plugin(${FORM})
  list(APPEND MODELO_PLUGINS Mod${FORM})
  # Only the first row names the columns; the others follow them.
  if(_filas)
    list(APPEND _filas "SELECT '${FORM}', '${FORM}${_version}'")
  else()
    list(APPEND _filas "SELECT '${FORM}' AS codigo, '${FORM}${_version}' AS modelo")
  endif()
  list(APPEND _codigos_cpp "\"${FORM}\"")
  list(APPEND _modelos_cpp "\"${FORM}${_version}\"")
  list(APPEND _bibliotecas_man "\\fIlibMod${FORM}.so\\fR")
  string(APPEND _palabras_clave "${FORM};")
endforeach()

list(JOIN _filas " UNION ALL " MODELO_SQL_FORMULARIOS)
set(MODELO_SQL_FORMULARIOS "(${MODELO_SQL_FORMULARIOS})")

# "863 y 871", "863, 871 y 875": the forms as a sentence names them.
set(MODELO_FORMULARIOS_PROSA "${MODELO_FORMULARIOS}")
list(POP_BACK MODELO_FORMULARIOS_PROSA _ultimo)
if(MODELO_FORMULARIOS_PROSA)
  list(JOIN MODELO_FORMULARIOS_PROSA ", " MODELO_FORMULARIOS_PROSA)
  set(MODELO_FORMULARIOS_PROSA "${MODELO_FORMULARIOS_PROSA} y ${_ultimo}")
else()
  set(MODELO_FORMULARIOS_PROSA "${_ultimo}")
endif()
list(JOIN MODELO_FORMULARIOS ", " MODELO_FORMULARIOS_COMAS)
list(JOIN _codigos_cpp ", " MODELO_FORMULARIOS_CPP)
list(JOIN _modelos_cpp ", " MODELO_MODELOS_CPP)
list(JOIN _bibliotecas_man ", " MODELO_BIBLIOTECAS_MANUAL)
set(MODELO_PALABRAS_CLAVE "${_palabras_clave}")

set(_generado ${CMAKE_BINARY_DIR}/generated/formularios)
configure_file(${CMAKE_CURRENT_LIST_DIR}/Formularios.h.in ${_generado}/Formularios.h @ONLY)
add_library(modelo_formularios INTERFACE)
target_include_directories(modelo_formularios INTERFACE ${_generado})

set(MODELO_PAGINA_MANUAL ${CMAKE_BINARY_DIR}/data/modelo.1)
set(MODELO_ENTRADA_ESCRITORIO ${CMAKE_BINARY_DIR}/data/modelo.desktop)
configure_file(${CMAKE_SOURCE_DIR}/data/modelo.1.in ${MODELO_PAGINA_MANUAL} @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/data/modelo.desktop.in ${MODELO_ENTRADA_ESCRITORIO} @ONLY)
