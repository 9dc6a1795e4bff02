# The Debian package, made by CPack from what `cmake --install` installs: `cpack -G DEB` in a build folder, or
# scripts/package.sh from a clean Release build.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillora)
set(CPACK_PACKAGE_VENDOR "The Quillora contributors")
set(CPACK_PACKAGE_CONTACT "The Quillora contributors <maintainers@quillora.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "copy text from anywhere on the screen")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quillora copies text that is shown on the screen but cannot be selected. Press
Ctrl+Shift+7, drag a rectangle around the text, correct what was recognised in
a small editor, and the text is on the clipboard and in a history of captures.
.
Text is recognised on the computer with Tesseract; nothing leaves it. The
command quillora --recognize reads the text of image files, and a local HTTP
API (off by default) lets scripts start captures and read the history.
.
Quillora needs an X11 session.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUILLORA_HOMEPAGE})
# Libraries as dpkg-shlibdeps finds them in the executable, and what it loads at run time: Qt's SVG plugins, which
# draw the icons (no symbol of the SVG library itself is linked), and the recognition data. German and English are
# always recognised, other languages when their data is installed; Qt's extra image formats (WebP, TIFF) are
# read by --recognize when they are there.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, tesseract-ocr-eng, tesseract-ocr-deu")
# In a Wayland session Qt needs its Wayland plugin (without it Quillora runs through XWayland, where it cannot see
# the desktop), and the screen comes through the desktop portal.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-desktop-portal")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "tesseract-ocr-all, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/strip.cmake)

# Debian wants the copyright and a changelog beside every package's documentation, compressed without a time stamp.
# The copyright names Swagger UI, when it is built in, with the notices of what its bundle carries.
file(READ packaging/copyright copyright)
if(QUILLORA_SWAGGER_UI_DIR)
    file(READ ${QUILLORA_SWAGGER_UI_DIR}/NOTICE notice)
    file(READ ${QUILLORA_SWAGGER_UI_DIR}/swagger-ui-bundle.js.LICENSE.txt bundled)
    string(STRIP "${notice}" notice)
    string(STRIP "${bundled}" bundled)
    string(REGEX REPLACE "\n([ \t]*\n)+" "\n.\n" bundled "${bundled}")
    string(REPLACE "\n" "\n " bundled "${bundled}")
    string(REPLACE "\n" "\n " notice "${notice}")
    string(APPEND copyright "
Files: swagger-ui/*
Copyright: 2020-2021 SmartBear Software Inc.
License: Apache-2.0
Comment: Swagger UI ${QUILLORA_SWAGGER_UI_VERSION} (the swagger-ui-dist package), built into /usr/bin/quillora
 and served at /docs of its HTTP API. Its NOTICE:
 .
 ${notice}
 .
 The notices of the components its bundle carries:
 .
 ${bundled}

License: Apache-2.0
 On Debian systems, the complete text of the Apache License, Version 2.0, can
 be found in /usr/share/common-licenses/Apache-2.0.
")
endif()
file(CONFIGURE OUTPUT packaging/copyright CONTENT "${copyright}")
execute_process(COMMAND date -u -R -d "${QUILLORA_RELEASE_DATE} 12:00" OUTPUT_VARIABLE QUILLORA_RELEASE_TIME
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(packaging/changelog.in packaging/changelog @ONLY)
add_custom_command(OUTPUT packaging/changelog.gz
    COMMAND sh -c "gzip -9nc changelog > changelog.gz"
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/packaging
    DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(quillora_package_docs ALL DEPENDS packaging/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillora)

include(CPack)
