# A table of the program's own, compiled from a data file when the program
# is built: SCRIPT (run by cmake -P with DATA and TABLE) turns DATA into
# the C++ rows of TABLE, in the current binary folder, which TARGET's
# sources include.
function(yarx_data_table target script data table)
  add_custom_command(
    OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${table}
    COMMAND ${CMAKE_COMMAND} -DDATA=${data} -DTABLE=${CMAKE_CURRENT_BINARY_DIR}/${table}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/${script}
    DEPENDS ${data} ${CMAKE_CURRENT_SOURCE_DIR}/${script}
    COMMENT "Compiling ${table} from ${data}"
    VERBATIM)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${table})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
