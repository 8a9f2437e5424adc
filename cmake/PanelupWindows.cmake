# Windows pieces of the build.

# Every source that includes <windows.h> gets the lean header without the
# min and max macros.
if(WIN32)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)
endif()

# Under Wine every test runs in one prefix made fresh in the build folder
# (tests/windows/PrepareWinePrefix.cmake). A 32-bit build runs in a 64-bit
# prefix where 32-bit programs run in one, as users' 64-bit Windows runs it
# (WoW64), else in a 32-bit prefix; a 64-bit build in a 64-bit prefix.
if(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
    set(PANELUP_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(default_arch wow64)
    else()
        set(default_arch win64)
    endif()
    set(PANELUP_WINE_ARCH ${default_arch} CACHE STRING
        "The tests' Wine prefix: wow64 (64-bit, else 32-bit), win32 or win64")
    # No Mono or Gecko download prompts. The prefix's bitness is fixed when
    # it is made, so the tests name no WINEARCH.
    set(PANELUP_WINE_ENVIRONMENT
        WINEPREFIX=${PANELUP_WINE_PREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
endif()

# panelup_windows_resources(<target>)
# Gives an executable Panelup's icon, its version resource (the project
# version) and the manifest that asks for administrator rights.
function(panelup_windows_resources target)
    set(dir ${PROJECT_SOURCE_DIR}/Panelup/resources)
    set(generated ${PROJECT_BINARY_DIR}/generated/windows)
    configure_file(${dir}/PanelupVersion.h.in ${generated}/PanelupVersion.h @ONLY)

    target_sources(${target} PRIVATE ${dir}/Panelup.rc)
    set_property(SOURCE ${dir}/Panelup.rc APPEND PROPERTY INCLUDE_DIRECTORIES ${dir} ${generated})
    set_property(SOURCE ${dir}/Panelup.rc APPEND PROPERTY OBJECT_DEPENDS
        ${dir}/Panelup.ico ${dir}/Panelup.manifest ${generated}/PanelupVersion.h)
    if(MSVC)
        # The linker writes the manifest; ours replaces its default trust
        # level, so it must not add one of its own.
        target_sources(${target} PRIVATE ${dir}/Panelup.manifest)
        target_link_options(${target} PRIVATE /MANIFESTUAC:NO)
    else()
        set_property(SOURCE ${dir}/Panelup.rc APPEND PROPERTY COMPILE_DEFINITIONS
            PANELUP_EMBED_MANIFEST)
    endif()
endfunction()

# The MinGW cross build takes header-only packages from the build machine,
# but must not search its /usr/include: glibc's headers would shadow
# MinGW's. Each package gets a folder of its own with a link to its headers
# and a small package configuration that find_package() accepts.
function(panelup_cross_header_package package header_dir)
    set(root ${PROJECT_BINARY_DIR}/cross-packages/${package})
    if(NOT EXISTS ${header_dir})
        return()
    endif()
    get_filename_component(name ${header_dir} NAME)
    file(MAKE_DIRECTORY ${root}/include)
    file(CREATE_LINK ${header_dir} ${root}/include/${name} SYMBOLIC)
    file(WRITE ${root}/${package}Config.cmake
        "if(NOT TARGET ${package}::${package})\n"
        "    add_library(${package}::${package} INTERFACE IMPORTED)\n"
        "    set_target_properties(${package}::${package} PROPERTIES\n"
        "        INTERFACE_INCLUDE_DIRECTORIES \"${root}/include\")\n"
        "endif()\n")
    set(version_file /usr/share/cmake/${package}/${package}ConfigVersion.cmake)
    if(EXISTS ${version_file})
        configure_file(${version_file} ${root}/${package}ConfigVersion.cmake COPYONLY)
    endif()
    set(${package}_DIR ${root} CACHE PATH "${package} for the cross build" FORCE)
endfunction()

# panelup_static_runtime(<target>)
# MinGW: the runtime goes into the Qt-free binaries, so Hubbridge.dll and the
# virtual monitor's TxHubLib.dll need no DLL but Windows' own. Programs that
# link Qt share Qt's runtime DLLs instead, which the deploy step lays out.
function(panelup_static_runtime target)
    if(MINGW)
        target_link_options(${target} PRIVATE -static)
    endif()
endfunction()

# The MinGW runtime DLLs that Qt and our Qt programs need beside them.
function(panelup_mingw_runtime_dlls out_var)
    set(dlls)
    if(MINGW)
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            set(names libgcc_s_dw2-1.dll libstdc++-6.dll libwinpthread-1.dll)
        else()
            set(names libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
        endif()
        foreach(name IN LISTS names)
            execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${name}
                OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
            if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
                # libwinpthread lives with MinGW's own libraries.
                find_file(path_${name} ${name} PATHS /usr/${PANELUP_MINGW_TRIPLET}/lib
                    NO_DEFAULT_PATH)
                set(path ${path_${name}})
            endif()
            if(NOT path OR NOT EXISTS "${path}")
                message(FATAL_ERROR "MinGW runtime ${name} not found")
            endif()
            list(APPEND dlls ${path})
        endforeach()
    endif()
    set(${out_var} ${dlls} PARENT_SCOPE)
endfunction()

# panelup_windows_deploy()
# Lays out, at build time:
# - beside the executables in the build folder, the Qt and runtime DLLs and
#   the plugins, so every program and test there runs as built;
# - <out>/Panelup/: Panelup as a user unzips it onto Windows, stripped, with
#   Qt's catalogues in translations/, with
#   the hub maker's TxHubLib.dll, as the maker ships it, only where
#   PANELUP_VENDOR_TXHUBLIB names it (the maker's release build),
#   Panelup.zip of it and the MSI
#   Panelup-<version>.msi of the same files;
# - <out>/PanelupDemo/: the demo program with the virtual monitor, its
#   description and the demo's update site files.
function(panelup_windows_deploy)
    set(PANELUP_WINDOWS_OUT ${PROJECT_SOURCE_DIR}/out/windows CACHE PATH
        "Where the Windows program folders and the zip are laid out")
    set(PANELUP_VENDOR_TXHUBLIB "" CACHE FILEPATH
        "The hub maker's TxHubLib.dll, bundled into the program folder, the zip and the MSI")
    set(vendor "")
    if(PANELUP_VENDOR_TXHUBLIB)
        if(NOT EXISTS "${PANELUP_VENDOR_TXHUBLIB}")
            message(FATAL_ERROR "PANELUP_VENDOR_TXHUBLIB: ${PANELUP_VENDOR_TXHUBLIB} does not exist")
        endif()
        set(vendor "${PANELUP_VENDOR_TXHUBLIB}")
    endif()
    find_program(PANELUP_WIXL wixl REQUIRED)
    find_program(PANELUP_MSIBUILD msibuild REQUIRED)
    find_program(PANELUP_PYTHON python3 REQUIRED)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(PANELUP_MSI_ARCH x86 CACHE INTERNAL "")
    else()
        set(PANELUP_MSI_ARCH x64 CACHE INTERNAL "")
    endif()
    set(PANELUP_MSI ${PANELUP_WINDOWS_OUT}/Panelup-${PROJECT_VERSION}.msi CACHE INTERNAL "")
    panelup_mingw_runtime_dlls(runtime)
    set(qt_dlls)
    foreach(module Core Gui Widgets Network Xml)
        list(APPEND qt_dlls $<TARGET_FILE:Qt5::${module}>)
    endforeach()
    set(platform_plugin $<TARGET_FILE:Qt5::QWindowsIntegrationPlugin>)
    set(style_plugin $<TARGET_FILE:Qt5::QWindowsVistaStylePlugin>)
    set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    set(script ${PROJECT_SOURCE_DIR}/cmake/DeployWindowsFolder.cmake)
    # Qt's own texts (the standard buttons) in the window's languages: Debian's
    # qttranslations5-l10n, of the same Qt 5.15 as the Qt for Windows.
    set(PANELUP_QT_TRANSLATIONS /usr/share/qt5/translations CACHE PATH
        "Qt's catalogues (qtbase_<language>.qm) shipped in translations/")
    set(qt_catalogues)
    foreach(language IN LISTS PANELUP_LANGUAGES)
        set(catalogue ${PANELUP_QT_TRANSLATIONS}/qtbase_${language}.qm)
        if(NOT EXISTS ${catalogue})
            message(FATAL_ERROR "${catalogue} missing: scripts/setup windows installs "
                                "qttranslations5-l10n")
        endif()
        list(APPEND qt_catalogues ${catalogue})
    endforeach()
    list(JOIN qt_catalogues "|" catalogues_arg)
    set(demo_files ${PROJECT_SOURCE_DIR}/demo/virtual-monitor.json)

    list(JOIN runtime "|" runtime_arg)
    list(JOIN qt_dlls "|" qt_arg)
    # The test programs also need Qt's Test DLL.
    add_custom_target(windows_runtime ALL
        COMMAND ${CMAKE_COMMAND} -DDEST=${bin}
            "-DFILES=${runtime_arg}|${qt_arg}|$<TARGET_FILE:Qt5::Test>"
            -DPLATFORM_PLUGIN=${platform_plugin} -DSTYLE_PLUGIN=${style_plugin}
            "-DTRANSLATIONS=${catalogues_arg}"
            -P ${script}
        COMMENT "Qt and the MinGW runtime beside the built programs"
        VERBATIM)

    add_custom_target(windows_deploy ALL
        COMMAND ${CMAKE_COMMAND} -DDEST=${PANELUP_WINDOWS_OUT}/Panelup -DCLEAN=ON
            "-DFILES=$<TARGET_FILE:Panelup>|$<TARGET_FILE:Hubbridge>|${runtime_arg}|${qt_arg}"
            -DPLATFORM_PLUGIN=${platform_plugin} -DSTYLE_PLUGIN=${style_plugin}
            "-DTRANSLATIONS=${catalogues_arg}"
            -DZIP=${PANELUP_WINDOWS_OUT}/Panelup.zip -DSTRIP=${CMAKE_STRIP} "-DVERBATIM=${vendor}"
            -DSIGN=${PROJECT_SOURCE_DIR}/scripts/sign-windows
            -P ${script}
        COMMAND ${CMAKE_COMMAND} -DFOLDER=${PANELUP_WINDOWS_OUT}/Panelup -DOUTPUT=${PANELUP_MSI}
            -DVERSION=${PROJECT_VERSION} -DARCH=${PANELUP_MSI_ARCH}
            -DTEMPLATE=${PROJECT_SOURCE_DIR}/Panelup/installer/Panelup.wxs.in
            -DICON=${PROJECT_SOURCE_DIR}/Panelup/resources/Panelup.ico
            -DWORK=${PROJECT_BINARY_DIR}/installer
            -DWIXL=${PANELUP_WIXL} -DMSIBUILD=${PANELUP_MSIBUILD} -DPYTHON=${PANELUP_PYTHON}
            -DSUPPORT_HOST=${PANELUP_SUPPORT_HOST}
            -P ${PROJECT_SOURCE_DIR}/cmake/BuildWindowsInstaller.cmake
        # The MSI of the folder as signed above; without a certificate in
        # the build's environment, one line says the build is unsigned.
        COMMAND ${PROJECT_SOURCE_DIR}/scripts/sign-windows ${PANELUP_MSI}
        # The demo site signed with the key the demo program trusts.
        COMMAND ${CMAKE_COMMAND} -E env PANELUP_DEMO_SITE_KEY=${PANELUP_DEMO_SITE_KEY_FILE}
            ${CMAKE_COMMAND} -DDEST=${PANELUP_WINDOWS_OUT}/PanelupDemo -DCLEAN=ON
            "-DFILES=$<TARGET_FILE:PanelupDemo>|$<TARGET_FILE:Hubbridge>|$<TARGET_FILE:TxHubLib>|${runtime_arg}|${qt_arg}|${demo_files}"
            -DPLATFORM_PLUGIN=${platform_plugin} -DSTYLE_PLUGIN=${style_plugin}
            "-DTRANSLATIONS=${catalogues_arg}"
            -DSITE=${PROJECT_SOURCE_DIR}/demo/make-site.py -DSTRIP=${CMAKE_STRIP}
            -P ${script}
        DEPENDS Panelup PanelupDemo Hubbridge TxHubLib
        COMMENT "Windows program folders in ${PANELUP_WINDOWS_OUT}"
        VERBATIM)
endfunction()
