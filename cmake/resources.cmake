# Builds the resource section: runs the generator, lays any user-supplied
# files over its output (each checked first), and embeds every file of
# resources/resources.txt into the executable with the assembler's .incbin,
# in ELF or, for the browser build, WebAssembly assembly.

set(KORDAVAN_ASSET_DIR ${CMAKE_BINARY_DIR}/assets)
set(resource_list ${CMAKE_SOURCE_DIR}/resources/resources.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${resource_list})
file(STRINGS ${resource_list} resource_lines REGEX "^[0-9]")

set(resource_files "")
set(asm_data "")
set(asm_table "")
set(resource_count 0)
foreach(line ${resource_lines})
    string(REGEX MATCH "^([0-9]+) +([A-Z]+) +([^ ]+)$" matched "${line}")
    if(NOT matched)
        message(FATAL_ERROR "resources.txt: cannot read the line '${line}'")
    endif()
    set(id ${CMAKE_MATCH_1})
    set(type ${CMAKE_MATCH_2})
    set(file ${KORDAVAN_ASSET_DIR}/${CMAKE_MATCH_3})
    if(type STREQUAL "BITMAP")
        set(type_code 0)
    elseif(type STREQUAL "WAVE")
        set(type_code 1)
    elseif(type STREQUAL "ICON")
        set(type_code 2)
    else()
        message(FATAL_ERROR "resources.txt: unknown type ${type}")
    endif()
    list(APPEND resource_files ${file})
    set(begin kv_res_${resource_count}_begin)
    set(end kv_res_${resource_count}_end)
    if(EMSCRIPTEN)
        # WebAssembly wants every data symbol sized, and its pointers are 32 bits.
        string(APPEND asm_data "    .section .rodata.kv_res_${resource_count},\"\",@\n    .p2align 2\n"
            "${begin}:\n    .incbin \"${file}\"\n${end}:\n"
            "    .size ${begin}, ${end} - ${begin}\n    .size ${end}, 0\n")
        string(APPEND asm_table "    .int32 ${type_code}\n    .int32 ${id}\n    .int32 ${begin}\n    .int32 ${end}\n")
    else()
        string(APPEND asm_data "    .balign 4\n${begin}:\n    .incbin \"${file}\"\n${end}:\n")
        string(APPEND asm_table "    .long ${type_code}, ${id}\n    .quad ${begin}, ${end}\n")
    endif()
    math(EXPR resource_count "${resource_count} + 1")
endforeach()

set(asm_text "/* Made by cmake/resources.cmake from resources/resources.txt. */\n")
if(EMSCRIPTEN)
    math(EXPR table_size "${resource_count} * 16")
    string(APPEND asm_text "${asm_data}")
    string(APPEND asm_text "    .section .rodata.kordavanResourceTable,\"\",@\n    .p2align 2\n"
        "    .globl kordavanResourceTable\nkordavanResourceTable:\n${asm_table}"
        "    .size kordavanResourceTable, ${table_size}\n")
    string(APPEND asm_text "    .section .rodata.kordavanResourceCount,\"\",@\n    .p2align 2\n"
        "    .globl kordavanResourceCount\nkordavanResourceCount:\n    .int32 ${resource_count}\n"
        "    .size kordavanResourceCount, 4\n")
else()
    string(APPEND asm_text "    .section .rodata\n${asm_data}")
    string(APPEND asm_text "    .section .data.rel.ro,\"aw\"\n    .balign 8\n    .globl kordavanResourceTable\nkordavanResourceTable:\n${asm_table}")
    string(APPEND asm_text "    .section .rodata\n    .balign 4\n    .globl kordavanResourceCount\nkordavanResourceCount:\n    .long ${resource_count}\n")
    string(APPEND asm_text "    .section .note.GNU-stack,\"\",@progbits\n")
endif()
set(KORDAVAN_RESOURCE_ASM ${CMAKE_BINARY_DIR}/resource_section.S)
file(CONFIGURE OUTPUT ${KORDAVAN_RESOURCE_ASM} CONTENT "${asm_text}")

set(user_assets_args "")
if(KORDAVAN_ASSETS)
    get_filename_component(user_assets "${KORDAVAN_ASSETS}" ABSOLUTE)
    if(NOT IS_DIRECTORY "${user_assets}")
        message(FATAL_ERROR "KORDAVAN_ASSETS: ${user_assets} is not a folder")
    endif()
    file(GLOB user_asset_files CONFIGURE_DEPENDS "${user_assets}/*.bmp" "${user_assets}/*.wav")
    set(user_assets_args -DUSER_ASSETS=${user_assets})
endif()

add_custom_command(
    OUTPUT ${resource_files}
    COMMAND kordavan-assets ${KORDAVAN_ASSET_DIR}
    COMMAND ${CMAKE_COMMAND} ${user_assets_args} -DASSET_DIR=${KORDAVAN_ASSET_DIR}
            -DCHECKER=$<TARGET_FILE:kordavan-assets> -P ${CMAKE_SOURCE_DIR}/cmake/user_assets.cmake
    DEPENDS kordavan-assets ${user_asset_files} ${CMAKE_SOURCE_DIR}/cmake/user_assets.cmake
    COMMENT "Making the game's pictures and sounds"
    VERBATIM)
add_custom_target(kordavan-resources-made DEPENDS ${resource_files})
set_source_files_properties(${KORDAVAN_RESOURCE_ASM} PROPERTIES OBJECT_DEPENDS "${resource_files}")
