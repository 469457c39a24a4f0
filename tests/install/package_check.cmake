# Makes the Debian package of the build and runs `lintian -I` on it: no
# hardening tag and no `binary-has-unneeded-section` at any level, and no
# error or warning. A tag the package overrides (shown as "O:") must be named
# in the README's list of lintian exceptions (a line "- `tag`: reason"), and
# so must an error or warning that is let pass.
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${CPACK}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${OUT}"
                RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB package "${OUT}/vesk_*.deb")
if(failed OR NOT package)
  message(FATAL_ERROR "cpack made no package:\n${log}")
endif()
execute_process(COMMAND "${LINTIAN}" -I --show-overrides "${package}" OUTPUT_VARIABLE found
                ERROR_VARIABLE found)
file(READ "${README}" readme)
string(REGEX MATCHALL "(^|\n)[EWIO]: [^\n]*" complaints "${found}")
foreach(complaint ${complaints})
  string(STRIP "${complaint}" complaint)
  string(REGEX REPLACE "^[EWIO]: [^ ]+ ([^ ]+).*" "\\1" tag "${complaint}")
  string(FIND "${readme}" "- `${tag}`: " explained)
  if(complaint MATCHES "^O:")
    if(explained EQUAL -1)
      message(SEND_ERROR "lintian override not explained in the README: ${complaint}")
    endif()
  elseif(tag MATCHES "^hardening-" OR tag STREQUAL "binary-has-unneeded-section")
    message(SEND_ERROR "lintian: ${complaint}")
  elseif(complaint MATCHES "^[EW]:" AND explained EQUAL -1)
    message(SEND_ERROR "lintian, not explained in the README: ${complaint}")
  endif()
endforeach()
file(REMOVE_RECURSE "${OUT}")
