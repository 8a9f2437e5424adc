cmake_minimum_required(VERSION 3.18)
# Builds Panelup's MSI from a program folder with msitools' wixl:
#   cmake -DFOLDER=<program folder> -DOUTPUT=<msi> -DVERSION=<a.b.c.d> -DARCH=<x86|x64>
#         -DTEMPLATE=<Panelup.wxs.in> -DICON=<ico> -DWORK=<folder>
#         -DWIXL=<wixl> -DMSIBUILD=<msibuild> -P BuildWindowsInstaller.cmake
# Every file of the folder becomes a component of its own, keyed by its path,
# so its GUID stays the same from one version to the next and a major
# upgrade keeps what both versions install.
file(GLOB_RECURSE files RELATIVE "${FOLDER}" "${FOLDER}/*")
list(SORT files)
# wixl takes sources only relative to the .wxs file.
file(MAKE_DIRECTORY "${WORK}")
file(RELATIVE_PATH source "${WORK}" "${FOLDER}")
file(RELATIVE_PATH ICON "${WORK}" "${ICON}")

# One nested Directory element per sub-folder, its files inside.
function(folder_xml relative indent out_var)
    set(xml "")
    foreach(file IN LISTS files)
        get_filename_component(dir "${file}" DIRECTORY)
        if(NOT dir STREQUAL relative)
            continue()
        endif()
        string(MD5 hash "${file}")
        string(SUBSTRING "${hash}" 0 16 hash)
        if(file STREQUAL "Panelup.exe")
            # Config.ini goes with the program's own component: removed when
            # Panelup is uninstalled, kept when a newer version replaces it.
            set(component Program)
        else()
            set(component c${hash})
        endif()
        string(APPEND xml "${indent}<Component Id=\"${component}\" Guid=\"*\">"
            "<File Id=\"f${hash}\" Source=\"${source}/${file}\" KeyPath=\"yes\"/></Component>\n")
        set_property(GLOBAL APPEND PROPERTY panelup_components ${component})
    endforeach()
    set(subfolders "")
    foreach(file IN LISTS files)
        get_filename_component(dir "${file}" DIRECTORY)
        get_filename_component(parent "${dir}" DIRECTORY)
        if(dir AND parent STREQUAL relative)
            list(APPEND subfolders "${dir}")
        endif()
    endforeach()
    list(REMOVE_DUPLICATES subfolders)
    foreach(dir IN LISTS subfolders)
        string(MD5 hash "${dir}/")
        string(SUBSTRING "${hash}" 0 16 hash)
        get_filename_component(name "${dir}" NAME)
        folder_xml("${dir}" "${indent}  " inner)
        string(APPEND xml "${indent}<Directory Id=\"d${hash}\" Name=\"${name}\">\n${inner}${indent}</Directory>\n")
    endforeach()
    set(${out_var} "${xml}" PARENT_SCOPE)
endfunction()

if(NOT "Panelup.exe" IN_LIST files)
    message(FATAL_ERROR "${FOLDER} holds no Panelup.exe")
endif()
folder_xml("" "            " FILES)
get_property(components GLOBAL PROPERTY panelup_components)
set(COMPONENT_REFS "")
foreach(component IN LISTS components)
    string(APPEND COMPONENT_REFS "      <ComponentRef Id=\"${component}\"/>\n")
endforeach()
if(ARCH STREQUAL "x64")
    set(PROGRAM_FILES ProgramFiles64Folder)
else()
    set(PROGRAM_FILES ProgramFilesFolder)
endif()
configure_file("${TEMPLATE}" "${WORK}/Panelup.wxs" @ONLY)

file(REMOVE "${OUTPUT}")
execute_process(COMMAND ${WIXL} -a ${ARCH} -o "${OUTPUT}" "${WORK}/Panelup.wxs"
    RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "wixl failed: ${errors}")
endif()
# What wixl cannot say: Config.ini, which the program writes, is removed
# with the program; the older version is removed only after the newer one
# is in place (WiX's afterInstallExecute), so the components both share, the
# program's with its Config.ini rule among them, are never taken away.
execute_process(COMMAND ${MSIBUILD} "${OUTPUT}" -q
    "INSERT INTO `RemoveFile` (`FileKey`, `Component_`, `FileName`, `DirProperty`, `InstallMode`) VALUES ('ConfigIni', 'Program', 'Config.ini', 'INSTALLDIR', 2)"
    -q "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('InstallExecute', 6500)"
    -q "UPDATE `InstallExecuteSequence` SET `Sequence` = 6550 WHERE `Action` = 'RemoveExistingProducts'"
    RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "msibuild failed on ${OUTPUT}: ${errors}")
endif()
