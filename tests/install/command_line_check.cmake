# `vesk --help` and wrong usage are answered without a window: run with no
# display on the X11 platform, where opening a window would abort the
# program, each must end with its own exit status and streams.
foreach(row "--help|0" "--nonsense|2")
  string(REPLACE "|" ";" row "${row}")
  list(GET row 0 argument)
  list(GET row 1 expected_status)
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
            QT_QPA_PLATFORM=xcb "${VESK}" "${argument}"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status STREQUAL expected_status)
    message(FATAL_ERROR "vesk ${argument} ended with ${status}:\n${out}${err}")
  endif()
  if(argument STREQUAL "--help")
    if(NOT err STREQUAL "" OR NOT out MATCHES "^usage: vesk .*--help.*--version")
      message(FATAL_ERROR "vesk --help printed:\n${out}\nand on standard error:\n${err}")
    endif()
  elseif(NOT out STREQUAL "" OR NOT err MATCHES "^vesk: [^\n]*--nonsense[^\n]*\n$")
    message(FATAL_ERROR "vesk --nonsense printed:\n${out}\nand on standard error:\n${err}")
  endif()
endforeach()
