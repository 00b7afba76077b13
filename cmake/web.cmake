# The browser build, configured through Debian's emscripten:
#
#   emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release
#   cmake --build build-web -j2
#
# gives the page in build-web/site/ (index.html, kordavan.js and
# kordavan.pack.gz: the .wasm, every picture and sound inside it, packed and
# compressed, which the page unpacks as it arrives) and kordavan-trace
# for node in build-web/tools/trace/. The game's code is the same as on the
# desktop; only the back end (platform/web/), the bitmap reader and the entry
# (app/web_main.cpp) differ, since a browser has no SDL and owns the loop.
# `ctest` in build-web runs every golden trace through node and plays the page
# in headless Chromium. tools/build_web.sh runs the two commands above;
# ./run --web and ./test install what they need first.

include(ExternalProject)
# The browser build's own tests, for `ctest` in its build folder.
enable_testing()

# The keyed copy and the picture's conversion run as 128-bit vectors, as
# with SSE2 on the desktop; a picture's rows are copied by the machine's own
# memory.copy rather than through JavaScript.
add_compile_options(-msimd128 -mbulk-memory)
add_link_options(-msimd128 -mbulk-memory)

find_program(KORDAVAN_NODE node REQUIRED)
# emcc runs its JavaScript optimiser under node, which finds Debian's acorn
# only when told where Debian keeps node's modules.
set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# The asset generator must run during the build, so it is built for this
# machine with its own compiler, as a project of its own.
set(KORDAVAN_NATIVE_ASSETS ${CMAKE_BINARY_DIR}/native-assets)
ExternalProject_Add(kordavan-assets-native
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/cmake/native_assets
    BINARY_DIR ${KORDAVAN_NATIVE_ASSETS}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DKORDAVAN_SOURCE_DIR=${CMAKE_SOURCE_DIR}
               -DKORDAVAN_WERROR=${KORDAVAN_WERROR}
    BUILD_ALWAYS TRUE
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${KORDAVAN_NATIVE_ASSETS}/assets/kordavan-assets)
add_executable(kordavan-assets IMPORTED GLOBAL)
set_target_properties(kordavan-assets PROPERTIES
    IMPORTED_LOCATION ${KORDAVAN_NATIVE_ASSETS}/assets/kordavan-assets)

# A page's folder, made after each link of `target` (a web executable whose
# linker output goes to `page`): its kordavan.js, the .wasm packed
# (platform/web/pack.js; `ARGN` may say --quick), the icons from the window's
# icon, the manifest, and the page and the offline cache naming the game's
# files by their contents (web_site.cmake).
function(kordavan_site target page site)
    set(web ${CMAKE_SOURCE_DIR}/platform/web)
    configure_file(${web}/manifest.webmanifest ${site}/manifest.webmanifest COPYONLY)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page}/kordavan.js ${site}/kordavan.js
        COMMAND ${KORDAVAN_NODE} ${web}/pack.js ${page}/kordavan.wasm ${KORDAVAN_ASSET_DIR}
                ${site}/kordavan.pack.gz ${ARGN}
        COMMAND ${KORDAVAN_NODE} ${web}/icons.js ${KORDAVAN_WINDOW_ICON} ${site} 192 512
        COMMAND ${CMAKE_COMMAND} -DSITE=${site} -DVERSION=${PROJECT_VERSION}
                -DPAGE=${CMAKE_BINARY_DIR}/page/index.html.in -DTEMPLATE=${web}/sw.js
                -P ${CMAKE_SOURCE_DIR}/cmake/web_site.cmake
        VERBATIM)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
        ${web}/index.html ${web}/loader.js ${web}/manifest.webmanifest ${web}/sw.js ${web}/icons.js
        ${web}/pack.js)
    # The browser owns the loop (nothing blocks, so no ASYNCIFY); the game
    # reads no files; memory grows past the first 32 MB if the pictures need it.
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${page} OUTPUT_NAME kordavan)
    target_link_options(${target} PRIVATE
        -sENVIRONMENT=web -sFILESYSTEM=0 -sINITIAL_MEMORY=33554432 -sALLOW_MEMORY_GROWTH=1)
endfunction()

# Everything a tool links, as on the desktop but without SDL; and the game's
# page, whose entry hands the loop to the browser.
function(kordavan_web_page)
    add_library(kordavan-core INTERFACE)
    target_link_libraries(kordavan-core INTERFACE kordavan-app kordavan-platform-headless
        kordavan-resources)

    # The linker's kordavan.js and kordavan.wasm go to page/; the site gets
    # the .js and the .wasm packed: the pictures and sounds inside it would
    # be 9.5 MB from a host that does not compress.
    set(page ${CMAKE_BINARY_DIR}/page)
    add_executable(kordavan ${CMAKE_SOURCE_DIR}/app/web_main.cpp)
    target_link_libraries(kordavan PRIVATE kordavan-app kordavan-platform-web kordavan-resources)
    set(web ${CMAKE_SOURCE_DIR}/platform/web)
    # The page is one file: its loader is written into its script. The
    # hashes of the game's files are written after each link (web_site.cmake).
    file(READ ${web}/loader.js KORDAVAN_LOADER)
    set(KORDAVAN_JS_HASH "@KORDAVAN_JS_HASH@")
    set(KORDAVAN_PACK_HASH "@KORDAVAN_PACK_HASH@")
    configure_file(${web}/index.html ${page}/index.html.in @ONLY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${web}/loader.js)
    kordavan_site(kordavan ${page} ${CMAKE_BINARY_DIR}/site)

    # For the browser test alone: the same page with a game that starts at
    # the end of a won or lost game (tests/web/ending_main.cpp).
    add_executable(kordavan-web-ending ${CMAKE_SOURCE_DIR}/tests/web/ending_main.cpp)
    target_link_libraries(kordavan-web-ending PRIVATE kordavan-app kordavan-platform-web
        kordavan-resources)
    kordavan_site(kordavan-web-ending ${CMAKE_BINARY_DIR}/ending-page
        ${CMAKE_BINARY_DIR}/ending-site --quick)
endfunction()

# Once every target exists: the trace tool for node, and the tests.
function(kordavan_web_finish)
    add_dependencies(kordavan-resources-made kordavan-assets-native)
    # Tools for node. emscripten's loader would fetch() the .wasm, which node
    # cannot do from a file, so they compile it at once; NODERAWFS gives them
    # the real files (for --frames) and the real standard input.
    foreach(tool kordavan-trace kordavan-step-time)
        if(TARGET ${tool})
            target_link_options(${tool} PRIVATE
                -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sWASM_ASYNC_COMPILATION=0
                -sALLOW_MEMORY_GROWTH=1)
        endif()
    endforeach()
    # The million-step soak belongs to the desktop build; under node it would
    # only repeat it, slowly.
    if(TARGET kordavan-soak)
        set_target_properties(kordavan-soak PROPERTIES EXCLUDE_FROM_ALL TRUE)
    endif()

    file(GLOB golden_scripts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/golden/*.keys)
    foreach(script ${golden_scripts})
        get_filename_component(name ${script} NAME_WE)
        add_test(NAME web.golden.${name}
            COMMAND bash ${CMAKE_SOURCE_DIR}/tests/golden/check.sh ${name}
                    ${KORDAVAN_NODE} $<TARGET_FILE:kordavan-trace>)
    endforeach()
    add_test(NAME web.browser
        COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/browser_test.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(web.browser PROPERTIES TIMEOUT 420 RUN_SERIAL TRUE)
    add_test(NAME web.page_files
        COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/page_files.sh ${CMAKE_BINARY_DIR}
                $<TARGET_FILE:kordavan-trace>)
    set_tests_properties(web.page_files PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL kordavan_web_finish)
