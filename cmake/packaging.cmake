# `cpack -G DEB` in the build folder makes vesk_<version>_<arch>.deb from
# the install rules. Its dependencies are found by dpkg-shlibdeps from the
# programs' shared libraries, so they follow whatever the build links.
set(VESK_PACKAGE_MAINTAINER "Vesk Trelvanique developers <vesk@trelvanique.example>"
    CACHE STRING "Maintainer of the Debian package, also named in its changelog")
set(CPACK_PACKAGE_NAME "vesk")
set(CPACK_PACKAGE_VENDOR "Vesk Trelvanique developers")
set(CPACK_PACKAGE_CONTACT "${VESK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "image morphing and image effects with a triangle mesh")
# One line of the package description each, at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Vesk Trelvanique opens two images, lays a triangle mesh over them with the\n\
mouse and computes the in-between frames of a morph, a distortion, a\n\
cross-fade, a waving flag or a glass-block picture. Frames are written as\n\
numbered BMP files listed in a frame-list file, played in an animation viewer\n\
and turned into AVI, MP4, WebM or GIF videos. vesk-batch renders the same\n\
engines without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the library scan cannot see them: Qt's platform
# plugins (without them no window opens) and its image plugins (WebP and
# TIFF pictures; libheif, for HEIF and AVIF, is linked and found by the scan).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins")
# The face model of Auto Mesh's faces method, read at run time.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, libdlib-data")
set(CPACK_STRIP_FILES ON)
# A stripped install (the package's, or `cmake --install build --strip`) also
# drops the compiler's .comment and .note sections, as Debian's packaging does.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program vesk vesk-batch)
      set(file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\")
      if(EXISTS \"\${file}\")
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                                --remove-section=.note \"\${file}\" RESULT_VARIABLE failed)
        if(failed)
          message(FATAL_ERROR \"objcopy could not strip \${file}\")
        endif()
      endif()
    endforeach()
  endif()")

# The documents every install carries in share/doc/vesk: the README, the
# licences of the files (Debian's machine-readable copyright format) and the
# changelog, whose newest entry must name the project's version.
set(doc_dir "${CMAKE_INSTALL_DATADIR}/doc/vesk")
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in" changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^vesk \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "cmake/debian/changelog.in needs an entry for version ${PROJECT_VERSION}")
endif()
configure_file("${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in"
               "${PROJECT_BINARY_DIR}/debian/changelog" @ONLY)
vesk_install_gzipped("${PROJECT_BINARY_DIR}/debian/changelog" "${doc_dir}")
install(FILES "${PROJECT_SOURCE_DIR}/README.md" DESTINATION "${doc_dir}")
install(FILES "${PROJECT_SOURCE_DIR}/COPYRIGHT" DESTINATION "${doc_dir}" RENAME copyright)
# lintian's answer to a tag it gives by mistake, with the reason in the file.
install(FILES "${CMAKE_CURRENT_LIST_DIR}/debian/lintian-overrides"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides" RENAME vesk)
set(CPACK_GENERATOR "DEB")
include(CPack)
