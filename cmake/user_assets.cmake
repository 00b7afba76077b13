# Chooses the files the game embeds, at every build: each generated file of
# GENERATED_DIR, or the player's file of the same name from USER_ASSETS (a
# folder, or empty for none) once it passes the check. A wrong file stops the
# build with its name and what is wrong with it.
#
#   cmake -DUSER_ASSETS=DIR -DGENERATED_DIR=DIR -DASSET_DIR=DIR -DCHECKER=kordavan-assets
#         -P cmake/user_assets.cmake
foreach(variable GENERATED_DIR ASSET_DIR CHECKER)
    if("${${variable}}" STREQUAL "")
        message(FATAL_ERROR "user_assets.cmake needs -D${variable}=...")
    endif()
endforeach()

execute_process(
    COMMAND "${CHECKER}" --compose "${GENERATED_DIR}" "${USER_ASSETS}" "${ASSET_DIR}"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT USER_ASSETS STREQUAL "")
    if(out STREQUAL "" AND result EQUAL 0)
        set(out "no file of the folder is used\n")
    endif()
    message(STATUS "KORDAVAN_ASSETS, the player's files from ${USER_ASSETS}:\n${out}")
endif()
if(NOT result EQUAL 0)
    # As the tool wrote them, one file a line: an error message would be
    # wrapped, and a name with spaces broken across lines.
    message(NOTICE "${err}")
    message(FATAL_ERROR "KORDAVAN_ASSETS: the build stops, a player file cannot be used")
endif()
