# Fails unless every file of FICHEROS names every form of FORMULARIOS and keeps no marker of its
# template: a misspelt marker is written as nothing, which no reader of the text would notice.
# Both lists come separated by commas.
string(REPLACE "," ";" FICHEROS "${FICHEROS}")
string(REPLACE "," ";" FORMULARIOS "${FORMULARIOS}")
foreach(fichero IN LISTS FICHEROS)
  file(READ ${fichero} texto)
  foreach(form IN LISTS FORMULARIOS)
    string(FIND "${texto}" "${form}" donde)
    if(donde EQUAL -1)
      message(FATAL_ERROR "${fichero} does not name form ${form}")
    endif()
  endforeach()
  if(texto MATCHES "@MODELO_[A-Z_]*@")
    message(FATAL_ERROR "${fichero} keeps ${CMAKE_MATCH_0}")
  endif()
endforeach()
