# Keeps the layers honest: a source file may include headers of its own layer and of the layers
# below it only, no two folders may include each other, and core/ includes nothing but the
# standard library, so that it builds on any machine.
cmake_minimum_required(VERSION 3.25)

# Usage: cmake -DGLS_SOURCE_DIR=<the project's folder> -P cmake/check_layers.cmake
# Prints every breach and fails when there is one.

# Bottom to top; the generated core/version.h counts as core.
set(layers core platform payload install uninstall process ui snapshot entry)

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

function(layer_rank folder out)
  list(FIND layers "${folder}" rank)
  set(${out} ${rank} PARENT_SCOPE)
endfunction()

set(breaches "")
set(edges "")
foreach(layer IN LISTS layers)
  layer_rank(${layer} own_rank)
  file(GLOB sources RELATIVE ${GLS_SOURCE_DIR} ${GLS_SOURCE_DIR}/${layer}/*.h ${GLS_SOURCE_DIR}/${layer}/*.cpp
       ${GLS_SOURCE_DIR}/${layer}/*.h.in)
  foreach(source IN LISTS sources)
    file(STRINGS ${GLS_SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]+)[\">].*$" "\\1;\\2" parts "${line}")
      list(GET parts 0 kind)
      list(GET parts 1 name)
      if(kind STREQUAL "<")
        if(layer STREQUAL "core" AND NOT name IN_LIST standard_headers)
          list(APPEND breaches "${source} includes <${name}>: core/ takes nothing but the standard library")
        endif()
        continue()
      endif()
      # A name is looked for beside the including file first, then from the project's folder.
      if(EXISTS ${GLS_SOURCE_DIR}/${layer}/${name} OR EXISTS ${GLS_SOURCE_DIR}/${layer}/${name}.in)
        set(target ${layer}/${name})
      else()
        set(target ${name})
      endif()
      string(REGEX MATCH "^[^/]+" target_folder "${target}")
      if(NOT target STREQUAL target_folder)
        layer_rank(${target_folder} target_rank)
      else()
        set(target_rank -1)
      endif()
      if(target_rank GREATER own_rank)
        list(APPEND breaches "${source} includes ${target}: ${target_folder}/ is a layer above ${layer}/")
      endif()
      if(target_rank GREATER_EQUAL 0 AND NOT target_folder STREQUAL layer)
        list(APPEND edges "${layer}>${target_folder}")
      endif()
      if(layer STREQUAL "core" AND target_rank EQUAL -1)
        list(APPEND breaches "${source} includes ${target}, which is not in core/")
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
