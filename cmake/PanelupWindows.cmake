# Windows pieces of the build.

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
