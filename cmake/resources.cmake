# Builds the resource section: runs the generator, chooses for each file the
# generated one or the player's own (each checked first), and embeds the file
# of every resource id in formats/resource_ids.h (<id>.bmp for a picture or
# the icon, <id>.wav for a sound) into the executable with the assembler's
# .incbin, in ELF, PE/COFF for Windows or, for the browser build, WebAssembly
# assembly. The game's code names the same ids from the same header.

get_filename_component(kordavan_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(KORDAVAN_ASSET_DIR ${CMAKE_BINARY_DIR}/assets)
set(generated_asset_dir ${CMAKE_BINARY_DIR}/generated-assets)
set(resource_list ${kordavan_root}/formats/resource_ids.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${resource_list})
file(STRINGS ${resource_list} resource_lines REGEX "^inline constexpr int ")

set(resource_names "")
set(resource_files "")
set(generated_files "")
set(asm_data "")
set(asm_table "")
set(resource_count 0)
foreach(line ${resource_lines})
    string(REGEX MATCH "^inline constexpr int (bmp|wav|ico)[A-Za-z0-9]+ = ([0-9]+);" matched "${line}")
    if(NOT matched)
        message(FATAL_ERROR "resource_ids.h: cannot read the line '${line}'")
    endif()
    set(id ${CMAKE_MATCH_2})
    if(CMAKE_MATCH_1 STREQUAL "bmp")
        set(type_code 0)
        set(file_name ${id}.bmp)
    elseif(CMAKE_MATCH_1 STREQUAL "wav")
        set(type_code 1)
        set(file_name ${id}.wav)
    else()
        set(type_code 2)
        set(file_name ${id}.bmp)
        # The window's icon, which the page also takes for its own.
        set(KORDAVAN_WINDOW_ICON ${KORDAVAN_ASSET_DIR}/${file_name})
    endif()
    if(file_name IN_LIST resource_names)
        message(FATAL_ERROR "resource_ids.h: ${file_name} is named twice")
    endif()
    list(APPEND resource_names ${file_name})
    set(file ${KORDAVAN_ASSET_DIR}/${file_name})
    list(APPEND resource_files ${file})
    list(APPEND generated_files ${generated_asset_dir}/${file_name})
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

set(asm_text "/* Made by cmake/resources.cmake from formats/resource_ids.h. */\n")
if(EMSCRIPTEN)
    math(EXPR table_size "${resource_count} * 16")
    string(APPEND asm_text "${asm_data}")
    string(APPEND asm_text "    .section .rodata.kordavanResourceTable,\"\",@\n    .p2align 2\n"
        "    .globl kordavanResourceTable\nkordavanResourceTable:\n${asm_table}"
        "    .size kordavanResourceTable, ${table_size}\n")
    string(APPEND asm_text "    .section .rodata.kordavanResourceCount,\"\",@\n    .p2align 2\n"
        "    .globl kordavanResourceCount\nkordavanResourceCount:\n    .int32 ${resource_count}\n"
        "    .size kordavanResourceCount, 4\n")
elseif(WIN32)
    # Read-only data; the loader fixes up the table's addresses like any other.
    string(APPEND asm_text "    .section .rdata,\"dr\"\n${asm_data}")
    string(APPEND asm_text "    .balign 8\n    .globl kordavanResourceTable\nkordavanResourceTable:\n${asm_table}")
    string(APPEND asm_text "    .balign 4\n    .globl kordavanResourceCount\nkordavanResourceCount:\n    .long ${resource_count}\n")
else()
    string(APPEND asm_text "    .section .rodata\n${asm_data}")
    string(APPEND asm_text "    .section .data.rel.ro,\"aw\"\n    .balign 8\n    .globl kordavanResourceTable\nkordavanResourceTable:\n${asm_table}")
    string(APPEND asm_text "    .section .rodata\n    .balign 4\n    .globl kordavanResourceCount\nkordavanResourceCount:\n    .long ${resource_count}\n")
    string(APPEND asm_text "    .section .note.GNU-stack,\"\",@progbits\n")
endif()
set(KORDAVAN_RESOURCE_ASM ${CMAKE_BINARY_DIR}/resource_section.S)
file(CONFIGURE OUTPUT ${KORDAVAN_RESOURCE_ASM} CONTENT "${asm_text}")

# Any folder name is taken as it is: only the empty one means none.
set(user_assets "")
if(NOT KORDAVAN_ASSETS STREQUAL "")
    cmake_path(ABSOLUTE_PATH KORDAVAN_ASSETS NORMALIZE OUTPUT_VARIABLE user_assets)
    if(NOT IS_DIRECTORY "${user_assets}")
        message(FATAL_ERROR "KORDAVAN_ASSETS: ${user_assets} is not a folder")
    endif()
    message(STATUS "KORDAVAN_ASSETS: the player's pictures and sounds come from ${user_assets}")
endif()

add_custom_command(
    OUTPUT ${generated_files}
    COMMAND kordavan-assets ${generated_asset_dir}
    DEPENDS kordavan-assets
    COMMENT "Making the game's pictures and sounds"
    VERBATIM)

# Runs at every build, reading the player's folder afresh: what is embedded
# follows what the folder holds now, whatever the files' time stamps. A file
# of assets/ is only rewritten when its bytes change, so an unchanged choice
# embeds nothing anew.
add_custom_target(kordavan-resources-made
    COMMAND ${CMAKE_COMMAND} "-DUSER_ASSETS=${user_assets}" -DGENERATED_DIR=${generated_asset_dir}
            -DASSET_DIR=${KORDAVAN_ASSET_DIR} -DCHECKER=$<TARGET_FILE:kordavan-assets>
            -P ${kordavan_root}/cmake/user_assets.cmake
    DEPENDS ${generated_files}
    BYPRODUCTS ${resource_files}
    COMMENT "Choosing the game's pictures and sounds"
    VERBATIM)
# The files the assembler embeds: the folder that builds KORDAVAN_RESOURCE_ASM
# makes its object depend on them (a source's properties hold only in the
# folder that sets them), so that a changed file is embedded anew.
set(KORDAVAN_RESOURCE_FILES ${resource_files})
