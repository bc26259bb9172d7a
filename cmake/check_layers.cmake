# Keeps the layers honest: a source file may include headers of its own layer and of the layers
# cmake/layers.cmake lets it use only, in whatever form the line takes ("x.h", "../ui/x.h",
# <ui/x.h>), no two folders may include each other, and core/ includes nothing but the standard
# library, so that it builds on any machine.
cmake_minimum_required(VERSION 3.25)

# Usage: cmake -DGLS_SOURCE_DIR=<the project's folder> -P cmake/check_layers.cmake
# Prints every breach and fails when there is one.

include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)

set(standard_headers
  algorithm any array atomic bit bitset cassert cctype cerrno cfloat chrono cinttypes climits cmath
  compare concepts condition_variable cstddef cstdint cstdio cstdlib cstring ctime cwchar cwctype
  deque exception filesystem format functional initializer_list iomanip ios iosfwd iostream istream
  iterator limits list map memory mutex new numbers numeric optional ostream queue random ranges
  ratio regex set shared_mutex span sstream stack stdexcept string string_view system_error thread
  tuple type_traits typeinfo unordered_map unordered_set utility variant vector)

if(NOT GLS_SOURCE_DIR)
  message(FATAL_ERROR "Pass -DGLS_SOURCE_DIR=<the project's folder>.")
endif()

# The project path an include names, relative to the project's folder: looked for beside the
# including file first, then from the project's folder, with "." and ".." resolved; empty when it
# names no project file (a system or a generated header outside the layers).
function(included_path layer kind name out)
  set(found "")
  if(kind STREQUAL "\"")
    cmake_path(SET beside NORMALIZE "${layer}/${name}")
    if(EXISTS ${GLS_SOURCE_DIR}/${beside} OR EXISTS ${GLS_SOURCE_DIR}/${beside}.in)
      set(found ${beside})
    endif()
  endif()
  if(NOT found)
    cmake_path(SET from_root NORMALIZE "${name}")
    string(REGEX MATCH "^[^/]+" first "${from_root}")
    # Angle brackets reach the project's folders as well, through its include path.
    if(first IN_LIST GLS_LAYERS AND NOT first STREQUAL from_root)
      set(found ${from_root})
    elseif(kind STREQUAL "\"")
      set(found ${from_root})
    endif()
  endif()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

set(breaches "")
set(edges "")
foreach(layer IN LISTS GLS_LAYERS)
  gls_layer_reach(${layer} reach)
  file(GLOB sources RELATIVE ${GLS_SOURCE_DIR} ${GLS_SOURCE_DIR}/${layer}/*.h ${GLS_SOURCE_DIR}/${layer}/*.cpp
       ${GLS_SOURCE_DIR}/${layer}/*.h.in)
  foreach(source IN LISTS sources)
    file(STRINGS ${GLS_SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]+)[\">].*$" "\\1;\\2" parts "${line}")
      list(GET parts 0 kind)
      list(GET parts 1 name)
      included_path(${layer} "${kind}" "${name}" target)
      if(NOT target)
        if(layer STREQUAL "core" AND NOT name IN_LIST standard_headers)
          list(APPEND breaches "${source} includes <${name}>: core/ takes nothing but the standard library")
        endif()
        continue()
      endif()
      string(REGEX MATCH "^[^/]+" target_folder "${target}")
      if(target STREQUAL target_folder OR NOT target_folder IN_LIST GLS_LAYERS)
        if(layer STREQUAL "core")
          list(APPEND breaches "${source} includes ${target}, which is not in core/")
        endif()
        continue()
      endif()
      if(target_folder STREQUAL layer)
        continue()
      endif()
      list(APPEND edges "${layer}>${target_folder}")
      if(NOT target_folder IN_LIST reach)
        list(APPEND breaches "${source} includes ${target}: ${layer}/ may not use ${target_folder}/")
      endif()
    endforeach()
  endforeach()
endforeach()

list(REMOVE_DUPLICATES edges)
foreach(edge IN LISTS edges)
  string(REPLACE ">" ";" pair "${edge}")
  list(GET pair 0 from)
  list(GET pair 1 to)
  if("${to}>${from}" IN_LIST edges AND from STRLESS to)
    list(APPEND breaches "${from}/ and ${to}/ include each other")
  endif()
endforeach()

if(breaches)
  list(LENGTH breaches count)
  foreach(breach IN LISTS breaches)
    message("layers: ${breach}")
  endforeach()
  message(FATAL_ERROR "layers: ${count} breach(es) of the layering")
endif()
