cmake_minimum_required(VERSION 3.18)
# Builds Panelup's MSI from a program folder with msitools' wixl:
#   cmake -DFOLDER=<program folder> -DOUTPUT=<msi> -DVERSION=<a.b.c.d> -DARCH=<x86|x64>
#         -DTEMPLATE=<Panelup.wxs.in> -DICON=<ico> -DWORK=<folder>
#         -DWIXL=<wixl> -DMSIBUILD=<msibuild> -DSUPPORT_HOST=<host>
#         [-DPYTHON=<python3>] -P BuildWindowsInstaller.cmake
# Every file of the folder becomes a component of its own, keyed by its path,
# so its GUID stays the same from one version to the next and a major
# upgrade keeps what both versions install.
if(NOT PYTHON)
    find_program(PYTHON python3 REQUIRED)
endif()
if(ARCH STREQUAL "x64")
    set(PROGRAM_FILES ProgramFiles64Folder)
else()
    set(PROGRAM_FILES ProgramFilesFolder)
endif()
file(GLOB_RECURSE files RELATIVE "${FOLDER}" "${FOLDER}/*")
list(SORT files)
# wixl takes sources only relative to the .wxs file.
file(MAKE_DIRECTORY "${WORK}")
file(RELATIVE_PATH source "${WORK}" "${FOLDER}")
file(RELATIVE_PATH ICON "${WORK}" "${ICON}")

# component_guid(<path in the folder> <component id> <out_var>)
# A name-based (SHA-1) UUID of the component's place: the folder names from
# SourceDir down, the component's id and the file's name, in the namespace
# {DE73BA5A-ED96-4A66-BA1B-FBB44E659AD7}. These are the GUIDs that the
# packages already released carry (wixl 0.101 derived them so from
# Guid="*"): a component that kept its path keeps its GUID, so the older
# product's removal after the newer one is in place (see below) leaves its
# files alone. Written out here so that no wixl release can change them.
function(guid_of place out_var)
    string(UUID guid NAMESPACE DE73BA5A-ED96-4A66-BA1B-FBB44E659AD7 NAME "${place}"
        TYPE SHA1 UPPER)
    set(${out_var} "{${guid}}" PARENT_SCOPE)
endfunction()
function(component_guid file component out_var)
    get_filename_component(dir "${file}" DIRECTORY)
    get_filename_component(name "${file}" NAME)
    set(place "SourceDir/${PROGRAM_FILES}/Norvale/Panelup")
    if(dir)
        string(APPEND place "/${dir}")
    endif()
    guid_of("${place}/${component}/${name}" guid)
    set(${out_var} "${guid}" PARENT_SCOPE)
endfunction()

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
        component_guid("${file}" ${component} guid)
        string(APPEND xml "${indent}<Component Id=\"${component}\" Guid=\"${guid}\">"
            "<File Id=\"f${hash}\" Source=\"${source}/${file}\" KeyPath=\"yes\"/></Component>\n")
        set_property(GLOBAL APPEND PROPERTY panelup_components ${component})
        set_property(GLOBAL APPEND PROPERTY panelup_files "${file}|f${hash}|${component}")
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
guid_of("SourceDir/${PROGRAM_FILES}/Norvale/Panelup/RememberInstallDir" REMEMBER_GUID)
guid_of("SourceDir/ProgramMenuFolder/StartMenuShortcut" SHORTCUT_GUID)
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
set(queries
    "INSERT INTO `RemoveFile` (`FileKey`, `Component_`, `FileName`, `DirProperty`, `InstallMode`) VALUES ('ConfigIni', 'Program', 'Config.ini', 'INSTALLDIR', 2)"
    "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('InstallExecute', 6500)"
    "UPDATE `InstallExecuteSequence` SET `Sequence` = 6550 WHERE `Action` = 'RemoveExistingProducts'")
# A second build of the same version replaces the first (WiX's
# AllowSameVersionUpgrades, which wixl lacks): the Upgrade row that finds
# older products takes this version too (msidbUpgradeAttributesVersionMaxInclusive
# 0x200, with msidbUpgradeAttributesMigrateFeatureStates 0x1).
# (Attributes is part of the row's key: the row is written anew.)
file(READ "${TEMPLATE}" template)
string(REGEX MATCH "UpgradeCode=\"([^\"]+)\"" found "${template}")
set(upgrade_code "{${CMAKE_MATCH_1}}")
list(APPEND queries
    "DELETE FROM `Upgrade` WHERE `ActionProperty` = 'WIX_UPGRADE_DETECTED'"
    "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMax`, `Attributes`, `ActionProperty`) VALUES ('${upgrade_code}', '${VERSION}', 513, 'WIX_UPGRADE_DETECTED')")
# The remembered folder is taken right after AppSearch reads it, before
# CostFinalize resolves the folders (wixl ignores the After= it is given),
# in both sequences; the server side sees the property only when secure.
list(APPEND queries
    "UPDATE `InstallExecuteSequence` SET `Sequence` = 51 WHERE `Action` = 'UseRememberedInstallDir'"
    "UPDATE `InstallUISequence` SET `Sequence` = 51 WHERE `Action` = 'UseRememberedInstallDir'")

# Every file of this version ends up installed, whatever lies there.
# Windows Installer's file versioning rules keep an installed file whose
# version is equal or higher (REINSTALLMODE's default 'o'), so Qt's DLLs,
# which stay 5.15.8.0 across Debian's security rebuilds, and a rebuilt
# Panelup.exe of the same version would stay the old copies; an unversioned
# file the user's clock shows modified would stay too. REINSTALLMODE 'a'
# copies every file regardless of version or checksum: safe here, as every
# file lies in Panelup's own folder and none is shared with other products.
# Wine's msi ignores REINSTALLMODE and keeps an equal version; the
# RemoveFile rows (msidbRemoveFileInstallModeOnInstall, 1) delete each
# packaged file when its component is installed, before InstallFiles, so
# the file is missing there too and every installer copies it.
list(APPEND queries "INSERT INTO `Property` (`Property`, `Value`) VALUES ('REINSTALLMODE', 'amus')")
get_property(packaged GLOBAL PROPERTY panelup_files)
set(paths "")
foreach(entry IN LISTS packaged)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 file)
    list(GET entry 1 key)
    list(GET entry 2 component)
    get_filename_component(dir "${file}" DIRECTORY)
    get_filename_component(name "${file}" NAME)
    if(dir)
        string(MD5 hash "${dir}/")
        string(SUBSTRING "${hash}" 0 16 hash)
        set(dir_property d${hash})
    else()
        set(dir_property INSTALLDIR)
    endif()
    string(SUBSTRING "${key}" 1 -1 hash)
    list(APPEND queries
        "INSERT INTO `RemoveFile` (`FileKey`, `Component_`, `FileName`, `DirProperty`, `InstallMode`) VALUES ('r${hash}', '${component}', '${name}', '${dir_property}', 1)")
    list(APPEND paths "${FOLDER}/${file}")
endforeach()

# File.Version of every file with a version resource, read from the file:
# without it Windows Installer treats a versioned file as unversioned, and
# an installed file with a version beats a package file without one.
execute_process(COMMAND ${PYTHON} ${CMAKE_CURRENT_LIST_DIR}/PeFileVersion.py ${paths}
    OUTPUT_VARIABLE versions RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "could not read the file versions in ${FOLDER}")
endif()
string(REPLACE "\n" ";" versions "${versions}")
foreach(line IN LISTS versions)
    if(line MATCHES "^(.+)\t([0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+)$")
        set(version ${CMAKE_MATCH_2})
        file(RELATIVE_PATH file "${FOLDER}" "${CMAKE_MATCH_1}")
        string(MD5 hash "${file}")
        string(SUBSTRING "${hash}" 0 16 hash)
        list(APPEND queries
            "UPDATE `File` SET `Version` = '${version}' WHERE `File` = 'f${hash}'")
    endif()
endforeach()

set(arguments "")
foreach(query IN LISTS queries)
    list(APPEND arguments -q "${query}")
endforeach()
# (A value with semicolons cannot travel in a CMake list: written out.)
execute_process(COMMAND ${MSIBUILD} "${OUTPUT}" ${arguments}
    -q "UPDATE `Property` SET `Value` = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED;REMEMBEREDINSTALLDIR' WHERE `Property` = 'SecureCustomProperties'"
    RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "msibuild failed on ${OUTPUT}: ${errors}")
endif()
