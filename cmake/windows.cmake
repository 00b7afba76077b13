# The Windows build, cross-compiled with Debian's mingw-w64:
#
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake
#   cmake --build build-windows -j2
#
# gives build-windows/kordavan.exe (GUI subsystem, statically linked, every
# picture, sound and the icon inside) and kordavan-trace.exe in
# build-windows/tools/trace/. The game's code is the same as on Linux; only
# the back end (platform/windows/), the bitmap reader (the browser build's,
# our own) and the entry's few lines of its own in app/main.cpp differ. The `windows-zip`
# target packs the .exe with a README and the copyright file; `ctest` in the
# build folder runs the tests under Wine (tests/windows/).
# tools/build_windows.sh does all of it.

include(ExternalProject)

# A release carries no symbols: the static C++ library would add a megabyte of them.
add_link_options($<$<CONFIG:Release>:-s>)

# The asset generator must run during the build, so it is built for this
# machine with its own compiler, as a project of its own.
set(KORDAVAN_NATIVE_ASSETS ${CMAKE_BINARY_DIR}/native-assets)
ExternalProject_Add(kordavan-assets-native
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/cmake/native_assets
    BINARY_DIR ${KORDAVAN_NATIVE_ASSETS}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DKORDAVAN_SOURCE_DIR=${CMAKE_SOURCE_DIR}
               -DKORDAVAN_WERROR=${KORDAVAN_WERROR}
               -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
               -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
    BUILD_ALWAYS TRUE
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${KORDAVAN_NATIVE_ASSETS}/assets/kordavan-assets)
# The help text for the README, likewise.
set(KORDAVAN_NATIVE_HELP ${CMAKE_BINARY_DIR}/native-help)
ExternalProject_Add(kordavan-help-native
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/cmake/native_help
    BINARY_DIR ${KORDAVAN_NATIVE_HELP}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DKORDAVAN_SOURCE_DIR=${CMAKE_SOURCE_DIR}
               -DKORDAVAN_VERSION=${PROJECT_VERSION} -DKORDAVAN_WERROR=${KORDAVAN_WERROR}
               -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
    BUILD_ALWAYS TRUE
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${KORDAVAN_NATIVE_HELP}/kordavan-help-text)
add_executable(kordavan-help-text IMPORTED GLOBAL)
set_target_properties(kordavan-help-text PROPERTIES
    IMPORTED_LOCATION ${KORDAVAN_NATIVE_HELP}/kordavan-help-text)
add_executable(kordavan-assets IMPORTED GLOBAL)
set_target_properties(kordavan-assets PROPERTIES
    IMPORTED_LOCATION ${KORDAVAN_NATIVE_ASSETS}/assets/kordavan-assets)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
# The installer is made with Debian's NSIS where it is installed.
find_program(KORDAVAN_MAKENSIS makensis)

# Everything a tool links (the headless machine beside the real one), and the
# game's .exe with its icon, version and manifest as Windows resources.
function(kordavan_windows_game)
    add_library(kordavan-core INTERFACE)
    target_link_libraries(kordavan-core INTERFACE kordavan-app kordavan-platform-windows
        kordavan-platform-headless kordavan-resources)

    # Explorer and the task bar take the icon from the .exe's own resources,
    # in every size the desktop shows.
    set(icon_dir ${CMAKE_BINARY_DIR}/windows-icon)
    set(ico ${icon_dir}/kordavan.ico)
    add_custom_command(OUTPUT ${ico}
        COMMAND kordavan-assets --icons ${icon_dir}
        COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/packaging/windows/make_ico.py ${ico}
                ${icon_dir}/icon-16.png ${icon_dir}/icon-32.png ${icon_dir}/icon-48.png
                ${icon_dir}/icon-64.png ${icon_dir}/icon-128.png ${icon_dir}/icon-256.png
        DEPENDS kordavan-assets-native ${CMAKE_SOURCE_DIR}/packaging/windows/make_ico.py
        COMMENT "Making the Windows icon"
        VERBATIM)
    set(rc_dir ${CMAKE_BINARY_DIR}/windows-rc)
    set(KORDAVAN_ICO ${ico})
    configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/kordavan.rc.in ${rc_dir}/kordavan.rc @ONLY)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/kordavan.manifest
        ${rc_dir}/kordavan.manifest COPYONLY)
    set_source_files_properties(${rc_dir}/kordavan.rc PROPERTIES
        OBJECT_DEPENDS "${ico};${rc_dir}/kordavan.manifest")

    add_executable(kordavan WIN32 ${CMAKE_SOURCE_DIR}/app/main.cpp
        ${CMAKE_SOURCE_DIR}/app/windows_entry.cpp ${rc_dir}/kordavan.rc)
    target_link_libraries(kordavan PRIVATE kordavan-app kordavan-platform-windows
        kordavan-resources)
endfunction()

# Once every target exists: the package, and the tests under Wine.
function(kordavan_windows_finish)
    add_dependencies(kordavan-resources-made kordavan-assets-native)
    # The million-step soak belongs to the Linux build; under Wine it would
    # only repeat it, slowly.
    if(TARGET kordavan-soak)
        set_target_properties(kordavan-soak PROPERTIES EXCLUDE_FROM_ALL TRUE)
    endif()

    set(zip_name kordavan-${PROJECT_VERSION}-windows-x64)
    set(zip_dir ${CMAKE_BINARY_DIR}/package/${zip_name})
    # The README's keys, options and settings are the game's --help text,
    # printed on this machine, so they cannot fall behind the game.
    set(help_text ${CMAKE_BINARY_DIR}/package/help.txt)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt.in
        ${CMAKE_BINARY_DIR}/package/README.template @ONLY)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/README.txt
        COMMAND kordavan-help-text > ${help_text}
        COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/packaging/windows/make_readme.py
                ${help_text} ${CMAKE_BINARY_DIR}/package/README.template
                ${CMAKE_BINARY_DIR}/package/README.txt
        DEPENDS kordavan-help-native ${KORDAVAN_NATIVE_HELP}/kordavan-help-text
                ${CMAKE_BINARY_DIR}/package/README.template
                ${CMAKE_SOURCE_DIR}/packaging/windows/make_readme.py
        COMMENT "Writing the Windows README from the game's help"
        VERBATIM)
    # Notepad before Windows 10 shows a file with bare line feeds as one line.
    configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright
        ${CMAKE_BINARY_DIR}/package/copyright.txt @ONLY NEWLINE_STYLE CRLF)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${zip_name}.zip
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${zip_dir} ${CMAKE_BINARY_DIR}/${zip_name}.zip
        COMMAND ${CMAKE_COMMAND} -E make_directory ${zip_dir}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:kordavan> ${zip_dir}/kordavan.exe
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/package/README.txt
                ${CMAKE_BINARY_DIR}/package/copyright.txt ${zip_dir}/
        COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
                ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/${zip_name}.zip --format=zip
                ${zip_name}
        DEPENDS kordavan ${CMAKE_BINARY_DIR}/package/README.txt
                ${CMAKE_BINARY_DIR}/package/copyright.txt
        COMMENT "Packing ${zip_name}.zip"
        VERBATIM)
    add_custom_target(windows-zip ALL DEPENDS ${CMAKE_BINARY_DIR}/${zip_name}.zip)

    if(KORDAVAN_MAKENSIS)
        set(KORDAVAN_INSTALLER ${CMAKE_BINARY_DIR}/kordavan-${PROJECT_VERSION}-windows-x64-setup.exe)
        set(KORDAVAN_EXE ${CMAKE_BINARY_DIR}/kordavan.exe)
        set(KORDAVAN_ICO ${CMAKE_BINARY_DIR}/windows-icon/kordavan.ico)
        set(KORDAVAN_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
        configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/kordavan.nsi.in
            ${CMAKE_BINARY_DIR}/package/kordavan.nsi @ONLY)
        add_custom_command(OUTPUT ${KORDAVAN_INSTALLER}
            COMMAND ${KORDAVAN_MAKENSIS} -V2 ${CMAKE_BINARY_DIR}/package/kordavan.nsi
            DEPENDS kordavan ${CMAKE_BINARY_DIR}/package/kordavan.nsi
                    ${CMAKE_BINARY_DIR}/package/README.txt ${CMAKE_BINARY_DIR}/package/copyright.txt
            COMMENT "Making the Windows installer"
            VERBATIM)
        add_custom_target(windows-installer ALL DEPENDS ${KORDAVAN_INSTALLER})
    endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL kordavan_windows_finish)
