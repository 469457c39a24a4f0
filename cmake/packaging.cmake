# `cpack -G DEB` in the build folder makes vesk_<version>_<arch>.deb from
# the install rules. Its dependencies are found by dpkg-shlibdeps from the
# programs' shared libraries, so they follow whatever the build links.
set(CPACK_PACKAGE_NAME "vesk")
set(CPACK_PACKAGE_VENDOR "Vesk Trelvanique developers")
set(CPACK_PACKAGE_CONTACT "Vesk Trelvanique developers <vesk@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "image morphing and image effects with a triangle mesh")
set(CPACK_PACKAGE_DESCRIPTION
    "Vesk Trelvanique opens two images, lays a triangle mesh over them with the mouse and\
 computes the in-between frames of a morph, a distortion, a cross-fade, a waving flag or a\
 glass-block picture. Frames are written as numbered BMP files listed in a frame-list file,\
 played in an animation viewer and turned into AVI videos. vesk-batch renders the same\
 engines without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the library scan cannot see them: Qt's platform
# plugins (without them no window opens) and the font of the windows.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The face model of Auto Mesh's faces method, read at run time.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, libdlib-data")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")
include(CPack)
