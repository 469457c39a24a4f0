# Installs the build into an empty prefix and checks that every file a
# desktop needs is there and that nothing else beside them was written.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()
set(expected
  bin/vesk bin/vesk-batch share/vesk/Zelph.hlp share/applications/vesk.desktop
  share/mime/packages/vesk.xml share/man/man1/vesk.1 share/man/man1/vesk-batch.1
  share/icons/hicolor/48x48/apps/vesk.png share/icons/hicolor/64x64/apps/vesk.png
  share/icons/hicolor/128x128/apps/vesk.png share/icons/hicolor/256x256/apps/vesk.png)
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed:\n${installed}\nexpected:\n${expected}")
endif()
execute_process(COMMAND "${PREFIX}/bin/vesk-batch" --version OUTPUT_VARIABLE version)
if(NOT version MATCHES "^Vesk Trelvanique 1.1")
  message(FATAL_ERROR "vesk-batch --version printed: ${version}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
