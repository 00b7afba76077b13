# Refuses an include that runs against the layers: app -> shell, replay ->
# game -> gfx, sound -> platform -> formats, and SDL, the browser's API, the Win32 API and the POSIX
# system's headers only inside platform/. Run by the build for each folder,
# so a wrong include stops the build with the file and the line.
#
#   cmake -DROOT=<source> -DFOLDER=game -DALLOWED=game,gfx,sound,platform
#         -DSTAMP=<file> -P check_layers.cmake

cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" ALLOWED "${ALLOWED}")
file(GLOB_RECURSE sources "${ROOT}/${FOLDER}/*.h" "${ROOT}/${FOLDER}/*.cpp")
set(layers app shell replay game gfx sound platform formats resources tools tests bench)
# The machine's own headers: SDL, the browser's, the Windows API's, and the
# POSIX system's that reach files, users, processes and devices. The C
# library's own (stdio.h, signal.h, getopt.h) are no door to the machine.
set(machine "^(windows|winuser|winbase|mmdeviceapi|audioclient|xinput|dwmapi|shellapi|shlobj|objbase|combaseapi|knownfolders|mmsystem|timeapi)\\.h$")
set(posix "^(unistd|fcntl|pwd|grp|dirent|termios|dlfcn|poll|spawn|sys/[a-z_/]+|arpa/[a-z_]+|netinet/[a-z_]+|netdb)\\.h$")
set(problems "")
foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
        string(REGEX MATCH "[\"<]([^\">]+)[\">]" found "${line}")
        set(header "${CMAKE_MATCH_1}")
        string(REGEX MATCH "^[^/]+/" folder "${header}")
        string(REGEX REPLACE "/$" "" folder "${folder}")
        file(RELATIVE_PATH shown "${ROOT}" "${source}")
        string(TOLOWER "${header}" lower)
        if(header MATCHES "(^|/)\\.\\.(/|$)")
            list(APPEND problems "${shown}: ${line} (name a header from the source root, without ..)")
        elseif(header MATCHES "^SDL" OR header MATCHES "^emscripten" OR lower MATCHES "${machine}"
               OR header MATCHES "${posix}")
            if(NOT "machine" IN_LIST ALLOWED)
                list(APPEND problems "${shown}: ${line} (only platform/ may talk to the machine)")
            endif()
        elseif(folder AND folder IN_LIST layers AND NOT folder IN_LIST ALLOWED)
            list(APPEND problems "${shown}: ${line} (${FOLDER}/ may not use ${folder}/)")
        endif()
    endforeach()
endforeach()
if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "Includes against the layers:\n  ${text}")
endif()
file(WRITE "${STAMP}" "")
