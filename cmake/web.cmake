# The web page (build/web, with Emscripten): the portable core and the pixel screen in
# WebAssembly, the bundled data in its in-memory file system, and the page's own files.
# It all goes into one folder that works from a disk as from any static server: a page
# opened from a file can't fetch its neighbours, so the scripts carry what they need.
set(VORRAK_WEB_DATA ${CMAKE_SOURCE_DIR}/build/native/data CACHE PATH "The bundled data")
set(VORRAK_WEB_HELP ${CMAKE_SOURCE_DIR}/build/native/help/quanhelp.html CACHE FILEPATH "The help page")
set(WEB_DIR ${CMAKE_BINARY_DIR}/page)
set(WEB_SOURCE ${CMAKE_SOURCE_DIR}/src/web/page)

# Only what the duel reads, packed into a script: the help file for Windows stays out.
file(GLOB web_pictures CONFIGURE_DEPENDS ${VORRAK_WEB_DATA}/*.bmp)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(OUTPUT ${WEB_DIR}/data.js
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/webdata.py ${WEB_DIR}/data.js
        ${VORRAK_WEB_DATA}/master.dat ${web_pictures}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/webdata.py ${VORRAK_WEB_DATA}/master.dat ${web_pictures})

# The engine: its code in vorrak.wasm, which the page compiles as it streams in over http,
# and the same bytes in vorrak.wasm.js for a page opened from a disk. Only the pause and the
# message box wait, and the duel calls both directly: Asyncify need not follow indirect calls.
# Its memory starts at 4 MB, as the pixel screen, the listing's tables and a small stack need,
# and grows for an author's bigger files: each duel's engine is a new instance, and a large
# first allocation made the browser collect garbage before the first screen.
add_executable(vorrak_web src/web/main.cpp src/web/catalog.cpp src/web/link_check.cpp src/data/files_posix.cpp)
target_link_libraries(vorrak_web vorrak_pixels)
set_target_properties(vorrak_web PROPERTIES OUTPUT_NAME vorrak SUFFIX .js
    RUNTIME_OUTPUT_DIRECTORY ${WEB_DIR})
target_link_options(vorrak_web PRIVATE -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT -sMODULARIZE
    -sEXPORT_NAME=createVorrak -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH -sINITIAL_MEMORY=4MB -sTOTAL_STACK=256KB
    -sEXPORTED_RUNTIME_METHODS=ccall,FS,UTF8ToString)
add_custom_command(TARGET vorrak_web POST_BUILD COMMAND ${CMAKE_COMMAND} -E true BYPRODUCTS ${WEB_DIR}/vorrak.wasm)
add_custom_command(OUTPUT ${WEB_DIR}/vorrak.wasm.js
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/websource.py --base64 ${WEB_DIR}/vorrak.wasm.js
        engineWasm ${WEB_DIR}/vorrak.wasm
    DEPENDS vorrak_web ${CMAKE_SOURCE_DIR}/tools/websource.py)

add_custom_command(OUTPUT ${WEB_DIR}/logo.png
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/pixmap.py bmp
        ${CMAKE_SOURCE_DIR}/src/res/art/logo.txt ${CMAKE_BINARY_DIR}/logo.bmp
    COMMAND convert ${CMAKE_BINARY_DIR}/logo.bmp -strip -define png:compression-level=9 ${WEB_DIR}/logo.png
    DEPENDS ${CMAKE_SOURCE_DIR}/src/res/art/logo.txt ${CMAKE_SOURCE_DIR}/tools/pixmap.py)
# The program's icon: the favicon, and enlarged for an installed page.
set(ICON_ART ${CMAKE_SOURCE_DIR}/src/res/art/icon16.txt ${CMAKE_SOURCE_DIR}/src/res/art/icon32.txt)
add_custom_command(OUTPUT ${WEB_DIR}/favicon.ico ${WEB_DIR}/icon-192.png ${WEB_DIR}/icon-512.png
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/pixmap.py ico ${ICON_ART} ${WEB_DIR}/favicon.ico
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/pixmap.py png
        ${CMAKE_SOURCE_DIR}/src/res/art/icon32.txt 192 ${WEB_DIR}/icon-192.png
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/pixmap.py png
        ${CMAKE_SOURCE_DIR}/src/res/art/icon32.txt 512 ${WEB_DIR}/icon-512.png
    DEPENDS ${ICON_ART} ${CMAKE_SOURCE_DIR}/tools/pixmap.py)
set(page_files)
foreach(f index.html web.js authors.js manifest.webmanifest)
    add_custom_command(OUTPUT ${WEB_DIR}/${f}
        COMMAND ${CMAKE_COMMAND} -E copy ${WEB_SOURCE}/${f} ${WEB_DIR}/${f} DEPENDS ${WEB_SOURCE}/${f})
    list(APPEND page_files ${WEB_DIR}/${f})
endforeach()
add_custom_command(OUTPUT ${WEB_DIR}/quanhelp.html
    COMMAND ${CMAKE_COMMAND} -E copy ${VORRAK_WEB_HELP} ${WEB_DIR}/quanhelp.html DEPENDS ${VORRAK_WEB_HELP})
# The studio for authors, one script the page loads only when it is opened: its page part,
# the zip files and its worker's script, which runs beside the checker's.
set(studio_sources ${WEB_SOURCE}/studio.js ${WEB_SOURCE}/zip.js)
add_custom_command(OUTPUT ${WEB_DIR}/studio.js
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/websource.py ${CMAKE_BINARY_DIR}/studio_worker.js
        studioWorkerSource ${CMAKE_SOURCE_DIR}/src/web/studio_worker.js
    COMMAND ${CMAKE_COMMAND} -E cat ${studio_sources} ${CMAKE_BINARY_DIR}/studio_worker.js > ${WEB_DIR}/studio.js
    DEPENDS ${studio_sources} ${CMAKE_SOURCE_DIR}/src/web/studio_worker.js ${CMAKE_SOURCE_DIR}/tools/websource.py)

# Hosted, the page keeps what a player needs for offline play (sw.js); the checker and the
# studio, which only authors need, once they have been fetched. A page opened from a disk has
# no worker.
set(web_kept ${page_files} ${WEB_DIR}/data.js ${WEB_DIR}/vorrak.js ${WEB_DIR}/vorrak.wasm ${WEB_DIR}/logo.png
    ${WEB_DIR}/favicon.ico ${WEB_DIR}/icon-192.png ${WEB_DIR}/icon-512.png ${WEB_DIR}/quanhelp.html)
set(web_later ${WEB_DIR}/checker.js ${WEB_DIR}/studio.js ${WEB_DIR}/vorrak.wasm.js)
add_custom_command(OUTPUT ${WEB_DIR}/sw.js
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/webcache.py ${CMAKE_SOURCE_DIR}/src/web/sw.js
        ${WEB_DIR}/sw.js ${PROJECT_VERSION} ${web_kept} -- ${web_later}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/webcache.py ${CMAKE_SOURCE_DIR}/src/web/sw.js ${web_kept} vorrak_web ${web_later})
add_custom_target(web_page ALL DEPENDS ${web_kept} ${WEB_DIR}/sw.js ${web_later})

# Tests of the page in headless Chromium, from disk and from a server on 127.0.0.1.
foreach(name first_screen turn end path_folder bad_input bad_link zip_plays_from_disk authors_findings
        authors_play authors_text authors_garbage life studio studio_bad_input viewports axe offline)
    add_test(NAME web.${name} COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/web/run.py ${name})
    set_tests_properties(web.${name} PROPERTIES LABELS web TIMEOUT 240
        ENVIRONMENT "VORRAK_WEB_PAGE=${WEB_DIR}")
endforeach()

# The checker for authors: vorcheck itself, run by the page in a worker on the files given,
# with the chooser's listing of them, and the studio's writer of an author's draft.
add_executable(vorcheck_web ${VORCHECK_SOURCES} src/check/platform_posix.cpp src/data/files_posix.cpp
    src/web/catalog.cpp src/web/studio.cpp)
target_link_libraries(vorcheck_web vorrak_pixels)
set_target_properties(vorcheck_web PROPERTIES OUTPUT_NAME vorcheck SUFFIX .js)
target_link_options(vorcheck_web PRIVATE -sSINGLE_FILE -sMODULARIZE -sEXPORT_NAME=createVorcheck
    -sENVIRONMENT=worker -sALLOW_MEMORY_GROWTH -sINVOKE_RUN=0
    -sEXPORTED_RUNTIME_METHODS=callMain,ccall,FS)
add_custom_command(OUTPUT ${WEB_DIR}/checker.js
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/websource.py ${WEB_DIR}/checker.js
        checkerSource $<TARGET_FILE:vorcheck_web> ${CMAKE_SOURCE_DIR}/src/web/check_worker.js
    DEPENDS vorcheck_web ${CMAKE_SOURCE_DIR}/tools/websource.py ${CMAKE_SOURCE_DIR}/src/web/check_worker.js)
