# The layer rules, checked over the source tree:
#   cmake -DSOURCE_DIR=<tree> -DQT_INCLUDE_ROOT=<qt6 include folder> -P CheckLayers.cmake
# A folder may include headers of its own layer and of the layers below it,
# and only the Qt modules its layer may use. Every broken rule is listed; the
# script fails when there is any. With -DEXPECT_VIOLATIONS=n it succeeds only
# when exactly n rules are broken (used to check the checker on a sample tree).

cmake_minimum_required(VERSION 3.25)

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

# Folders from the lowest layer up; folders joined by commas are one layer.
set(layer_order
  "platform"
  "model"
  "engine"
  "render/gfx"
  "render/view"
  "render/markup"
  "render/plot"
  "render/scene"
  "session"
  "script"
  "dialogs"
  "notes"
  "windows"
  "app"
  "tools")
# Qt modules each layer may use; the widget layers and the program use any.
set(qt_platform_headers QtCore)
set(qt_platform QtCore QtGui QtMultimedia)
set(qt_model QtCore)
set(qt_engine QtCore)
set(qt_render QtCore QtGui)
set(qt_session QtCore QtGui)
set(qt_script QtCore QtGui)
# The test tools run headless: no widgets.
set(qt_tools QtCore QtGui)

# The layer number of every folder.
set(rank 0)
set(folders "")
foreach(layer IN LISTS layer_order)
  string(REPLACE "," ";" members "${layer}")
  foreach(folder IN LISTS members)
    set(rank_${folder} ${rank})
    list(APPEND folders ${folder})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

# Which Qt module each Qt header belongs to ("QColor" -> QtGui), QtCore first
# so that it wins where a name appears twice.
file(GLOB qt_modules RELATIVE "${QT_INCLUDE_ROOT}" "${QT_INCLUDE_ROOT}/Qt*")
list(REMOVE_ITEM qt_modules QtCore)
list(PREPEND qt_modules QtCore)
foreach(module IN LISTS qt_modules)
  if(NOT IS_DIRECTORY "${QT_INCLUDE_ROOT}/${module}")
    continue()
  endif()
  set(module_of_${module} ${module})
  file(GLOB names RELATIVE "${QT_INCLUDE_ROOT}/${module}" "${QT_INCLUDE_ROOT}/${module}/*")
  foreach(name IN LISTS names)
    if(NOT DEFINED module_of_${name})
      set(module_of_${name} ${module})
    endif()
  endforeach()
endforeach()

# The folder of the layer a file belongs to ("render/view/Scale.cpp" -> render/view).
function(layer_folder path out)
  set(found "")
  foreach(folder IN LISTS folders)
    string(LENGTH "${folder}/" n)
    string(SUBSTRING "${path}" 0 ${n} head)
    if(head STREQUAL "${folder}/")
      set(found ${folder})
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(violations 0)
set(report "")
set(patterns "")
foreach(folder IN LISTS folders)
  list(APPEND patterns "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
endforeach()
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" ${patterns})
foreach(source IN LISTS sources)
  layer_folder("${source}" folder)
  if(folder STREQUAL "")
    continue()
  endif()
  # The Qt modules this file may use.
  string(REGEX REPLACE "/.*" "" top "${folder}")
  if(folder STREQUAL "platform" AND source MATCHES "\\.h$")
    set(allowed ${qt_platform_headers})
  elseif(DEFINED qt_${top})
    set(allowed ${qt_${top}})
  else()
    set(allowed ANY)
  endif()

  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
    set(broken "")
    layer_folder("${header}" target)
    if(NOT target STREQUAL "")
      if(rank_${target} GREATER rank_${folder})
        set(broken "${folder} may not include ${target}")
      endif()
    elseif(header MATCHES "^(tests|bench)/")
      set(broken "library code may not include ${CMAKE_MATCH_1}/")
    elseif(NOT allowed STREQUAL "ANY")
      string(REGEX REPLACE "/.*" "" first "${header}")
      if(DEFINED module_of_${first})
        set(module ${module_of_${first}})
        if(NOT module IN_LIST allowed)
          set(broken "${folder} may not use ${module}")
        endif()
      endif()
    endif()
    if(NOT broken STREQUAL "")
      math(EXPR violations "${violations} + 1")
      string(APPEND report "  ${source} includes ${header}: ${broken}\n")
    endif()
  endforeach()
endforeach()

if(DEFINED EXPECT_VIOLATIONS)
  if(NOT violations EQUAL EXPECT_VIOLATIONS)
    message(FATAL_ERROR "Expected ${EXPECT_VIOLATIONS} broken layer rules, found ${violations}:\n${report}")
  endif()
  message(STATUS "Found the ${violations} broken layer rules expected:\n${report}")
elseif(violations GREATER 0)
  message(FATAL_ERROR "${violations} layer rules broken:\n${report}")
endif()
