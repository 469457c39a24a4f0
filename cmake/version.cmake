# vesk_version: the header that gives both programs their `--version` line.
# The version number comes from project(); the revision is refreshed at
# every build by write_revision.cmake.
set(version_dir "${PROJECT_BINARY_DIR}/generated")
configure_file("${CMAKE_CURRENT_LIST_DIR}/version.h.in" "${version_dir}/vesk_version.h" @ONLY)
add_custom_target(vesk_revision
  COMMAND "${CMAKE_COMMAND}" -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
          -DOUT=${version_dir}/vesk_revision.h -P "${CMAKE_CURRENT_LIST_DIR}/write_revision.cmake"
  BYPRODUCTS "${version_dir}/vesk_revision.h"
  COMMENT "Source revision for --version")
add_library(vesk_version INTERFACE)
target_include_directories(vesk_version INTERFACE "${version_dir}")
add_dependencies(vesk_version vesk_revision)
