# vesk_install_gzipped(FILE DESTINATION): installs FILE compressed as
# DESTINATION/<name>.gz, the way Debian wants manual pages and changelogs.
# gzip -9n: best compression and no name or time stamp, so the same file
# always gives the same bytes.
find_program(VESK_GZIP gzip REQUIRED)
function(vesk_install_gzipped file destination)
  get_filename_component(name "${file}" NAME)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/gzipped/${name}.gz")
  add_custom_command(OUTPUT "${out}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/gzipped"
    COMMAND sh -c "\"$0\" -9n -c \"$1\" > \"$2\"" "${VESK_GZIP}" "${file}" "${out}"
    DEPENDS "${file}"
    VERBATIM)
  string(MAKE_C_IDENTIFIER "gzip_${name}" target)
  add_custom_target(${target} ALL DEPENDS "${out}")
  install(FILES "${out}" DESTINATION "${destination}")
endfunction()
