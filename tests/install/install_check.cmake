# Installs the build into an empty prefix and checks that every file a
# desktop needs is there and that nothing else beside them was written.
cmake_policy(VERSION 3.25)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()
set(expected
  bin/vesk bin/vesk-batch share/vesk/Zelph.hlp share/applications/vesk.desktop
  share/mime/packages/vesk.xml share/man/man1/vesk.1.gz share/man/man1/vesk-batch.1.gz
  share/doc/vesk/README.md share/doc/vesk/copyright share/doc/vesk/changelog.gz
  share/lintian/overrides/vesk
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
# The documents: the README as written, the licences in Debian's copyright
# format, the manual pages and the changelog compressed without a time stamp
# (bytes 4-7 of a gzip header), the pages unchanged, the changelog's newest
# entry for this version.
file(READ "${PREFIX}/share/doc/vesk/README.md" readme)
file(READ "${SOURCE_DIR}/README.md" source_readme)
file(STRINGS "${PREFIX}/share/doc/vesk/copyright" copyright_head LIMIT_COUNT 1)
if(NOT readme STREQUAL source_readme OR NOT copyright_head MATCHES
   "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$")
  message(FATAL_ERROR "share/doc/vesk holds another README or copyright file")
endif()
foreach(row "man/man1/vesk.1|app/vesk.1" "man/man1/vesk-batch.1|batch/vesk-batch.1"
            "doc/vesk/changelog|")
  string(REPLACE "|" ";" row "${row}")
  list(GET row 0 page)
  list(GET row 1 source)
  file(READ "${PREFIX}/share/${page}.gz" header LIMIT 8 HEX)
  execute_process(COMMAND gzip -dc "${PREFIX}/share/${page}.gz" OUTPUT_VARIABLE text)
  if(source)
    file(READ "${SOURCE_DIR}/${source}" wanted)
  else()
    set(wanted "${text}")
  endif()
  if(NOT header MATCHES "^1f8b08..00000000$" OR NOT text STREQUAL wanted)
    message(FATAL_ERROR "${page}.gz is not ${source} compressed without time stamp")
  endif()
endforeach()
if(NOT text MATCHES "^vesk \\(${VERSION}\\) unstable; ")
  message(FATAL_ERROR "the changelog does not begin with version ${VERSION}:\n${text}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
