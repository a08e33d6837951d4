# One plug-in per form, compiled from the same sources; the form is chosen only by which
# forms/NNN folder is on the include path.
file(GLOB PLUGIN_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/core/*.cpp
     ${CMAKE_SOURCE_DIR}/tariff/*.cpp
     ${CMAKE_SOURCE_DIR}/validation/*.cpp
     ${CMAKE_SOURCE_DIR}/datafile/*.cpp
     ${CMAKE_SOURCE_DIR}/codes/*.cpp
     ${CMAKE_SOURCE_DIR}/views/*.cpp)

include(${CMAKE_CURRENT_LIST_DIR}/Images.cmake OPTIONAL RESULT_VARIABLE MODELO_HAVE_IMAGES)

function(add_form_plugin FORM)
  set(target Mod${FORM})
  set(image_sources)
  if(MODELO_HAVE_IMAGES)
    form_images(${FORM} image_sources)
  endif()
  add_library(${target} SHARED ${PLUGIN_SOURCES} ${image_sources})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}
                                               ${CMAKE_SOURCE_DIR}/forms/${FORM})
  target_link_libraries(${target} PUBLIC Modelo)
  # The plug-in's classes and entry points are its public face; tests link it directly.
  target_compile_definitions(${target} PRIVATE MODELO_BUILDING_PLUGIN)
endfunction()
