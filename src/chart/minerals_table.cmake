# Turns the minerals' data file into the rows of the program's table, one
# C++ initialiser a mineral, the birefringence in whole thousandths.  Run by
# the build (cmake -P), so that the program carries the table and reads no
# file.  A line the table cannot take stops the build, naming the line.
#
# Usage: cmake -DDATA=data/minerals.tsv -DTABLE=minerals_table.inc -P minerals_table.cmake
cmake_minimum_required(VERSION 3.18)

file(STRINGS "${DATA}" lines ENCODING UTF-8)
get_filename_component(data_name "${DATA}" NAME)
set(rows "// Made from ${data_name} by minerals_table.cmake: edit that file instead.\n")
set(count 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^#")
    continue()
  endif()
  # A name in lower case, as the reading shows it, and two values to three
  # decimals: the table holds thousandths, exactly.
  set(value "([0-9]+)\\.([0-9][0-9][0-9])")
  if(NOT line MATCHES "^([a-z][a-z -]*[a-z])\t${value}\t${value}\t([A-Z])$")
    message(FATAL_ERROR "${DATA}: not a mineral's line (name, least, greatest, source, "
                        "tab-separated, values to three decimals): '${line}'")
  endif()
  set(name "${CMAKE_MATCH_1}")
  set(least_units "${CMAKE_MATCH_2}")
  set(least_fraction "${CMAKE_MATCH_3}")
  set(greatest_units "${CMAKE_MATCH_4}")
  set(greatest_fraction "${CMAKE_MATCH_5}")
  # "0.028" is 0 * 1000 + 28: without its leading zeros, lest 028 be read
  # as octal.
  string(REGEX REPLACE "^0+([0-9])" "\\1" least_fraction "${least_fraction}")
  string(REGEX REPLACE "^0+([0-9])" "\\1" greatest_fraction "${greatest_fraction}")
  math(EXPR least "${least_units} * 1000 + ${least_fraction}")
  math(EXPR greatest "${greatest_units} * 1000 + ${greatest_fraction}")
  if(least GREATER greatest)
    message(FATAL_ERROR "${DATA}: ${name}'s least birefringence is above its greatest")
  endif()
  if(name IN_LIST names)
    message(FATAL_ERROR "${DATA}: ${name} is listed twice")
  endif()
  list(APPEND names "${name}")
  string(APPEND rows "{\"${name}\", ${least}, ${greatest}},\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${DATA}: no minerals")
endif()
file(WRITE "${TABLE}" "${rows}")
