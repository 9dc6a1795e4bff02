# Swagger UI for GET /docs, served by the program itself so that the page also works on a computer without
# internet. The files come from the swagger-ui-dist npm package, pinned by version and checksum, which npm fetches
# into the build tree when the project is configured; they are never committed. Without npm or the registry the
# program is built without them, and /docs loads Swagger UI from a public CDN instead.
#
# Sets QUILLORA_SWAGGER_UI_DIR to the folder holding the files, or to "" when they are not there.
option(QUILLORA_OFFLINE_API_DOCS "Serve Swagger UI from the program (fetched with npm when configuring)" ON)
set(QUILLORA_SWAGGER_UI_VERSION 5.36.0)
set(QUILLORA_SWAGGER_UI_SHA256 685a2b38b5d6eab2dbc096a8596db11cc7409cdb671d2e3bec8f9b017d0d566b)
# What the page loads, and the license texts that go with them.
set(QUILLORA_SWAGGER_UI_FILES swagger-ui.css swagger-ui-bundle.js LICENSE NOTICE swagger-ui-bundle.js.LICENSE.txt)

set(QUILLORA_SWAGGER_UI_DIR "")
set(folder ${PROJECT_BINARY_DIR}/swagger-ui-dist-${QUILLORA_SWAGGER_UI_VERSION})
function(quillora_swagger_ui_complete result)
    set(${result} TRUE PARENT_SCOPE)
    foreach(name IN LISTS QUILLORA_SWAGGER_UI_FILES)
        if(NOT EXISTS ${folder}/${name})
            set(${result} FALSE PARENT_SCOPE)
        endif()
    endforeach()
endfunction()
quillora_swagger_ui_complete(complete)
if(QUILLORA_OFFLINE_API_DOCS AND NOT complete)
    set(tarball ${PROJECT_BINARY_DIR}/npm/swagger-ui-dist-${QUILLORA_SWAGGER_UI_VERSION}.tgz)
    find_program(NPM_PROGRAM npm)
    if(NOT NPM_PROGRAM)
        message(WARNING "npm not found: /docs will load Swagger UI from a CDN")
    elseif(NOT EXISTS ${tarball})
        file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/npm)
        execute_process(
            COMMAND ${NPM_PROGRAM} pack swagger-ui-dist@${QUILLORA_SWAGGER_UI_VERSION} --prefer-offline --silent
            WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/npm
            RESULT_VARIABLE result
            OUTPUT_QUIET
            ERROR_VARIABLE error
            TIMEOUT 300)
        if(NOT result EQUAL 0)
            message(WARNING "npm could not fetch swagger-ui-dist ${QUILLORA_SWAGGER_UI_VERSION} (${error}): /docs will "
                            "load Swagger UI from a CDN")
        endif()
    endif()
    if(EXISTS ${tarball})
        file(SHA256 ${tarball} checksum)
        if(NOT checksum STREQUAL QUILLORA_SWAGGER_UI_SHA256)
            file(REMOVE ${tarball})
            message(FATAL_ERROR "${tarball} is not the pinned swagger-ui-dist ${QUILLORA_SWAGGER_UI_VERSION} "
                                "(SHA-256 ${checksum})")
        endif()
        list(TRANSFORM QUILLORA_SWAGGER_UI_FILES PREPEND package/ OUTPUT_VARIABLE members)
        file(REMOVE_RECURSE ${folder}.tmp ${folder})
        file(ARCHIVE_EXTRACT INPUT ${tarball} DESTINATION ${folder}.tmp PATTERNS ${members})
        file(RENAME ${folder}.tmp/package ${folder})
        file(REMOVE_RECURSE ${folder}.tmp)
        quillora_swagger_ui_complete(complete)
    endif()
endif()
if(QUILLORA_OFFLINE_API_DOCS AND complete)
    set(QUILLORA_SWAGGER_UI_DIR ${folder})
endif()
