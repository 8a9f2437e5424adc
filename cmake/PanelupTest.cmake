# panelup_add_test(<name> SOURCES <files...> [LIBS <targets...>] [OUTPUT_DIR <dir>] [TIMEOUT <s>]
#                  [BUILD_ONLY])
# BUILD_ONLY: the caller registers the runs itself.
# One Qt Test executable per class or subsystem, run under the offscreen
# platform so no display is needed; under Wine, on the display Wine draws on,
# with the Qt DLLs and plugins that lie in the build's bin folder (Wine passes
# no QT_ variable on: a test in a folder of its own finds the plugins through
# a qt.conf).
function(panelup_add_test name)
    cmake_parse_arguments(T "BUILD_ONLY" "OUTPUT_DIR;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    # One pattern for every suite: the target is <folder>_<subject>, its
    # first source <Subject>Test.cpp.
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    list(GET T_SOURCES 0 main_source)
    if(NOT name MATCHES "^${folder}_[a-z0-9_]+$" OR NOT main_source MATCHES "Test\\.cpp$")
        message(FATAL_ERROR "test ${name} (${main_source}): tests in ${folder}/ are named "
                            "${folder}_<subject>, built from <Subject>Test.cpp")
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt5::Test panelup_test_support ${T_LIBS})
    target_compile_definitions(${name} PRIVATE
        PANELUP_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
        PANELUP_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    panelup_warnings(${name})
    if(T_OUTPUT_DIR)
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${T_OUTPUT_DIR})
        if(WIN32)
            set(plugins ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
            if(CMAKE_HOST_UNIX)
                set(plugins Z:${plugins}) # as Wine shows the build machine's files
            endif()
            file(WRITE ${T_OUTPUT_DIR}/qt.conf "[Paths]\nPlugins = ${plugins}\n")
        endif()
    endif()
    if(T_BUILD_ONLY)
        return()
    endif()
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    if(CMAKE_CROSSCOMPILING_EMULATOR AND WIN32)
        string(REPLACE "/" "\\" bin "Z:${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "${PANELUP_WINE_ENVIRONMENT};WINEPATH=${bin}"
            FIXTURES_REQUIRED wine_prefix)
        if(NOT T_OUTPUT_DIR)
            # On Windows the downloads go through AutoUpdate in the program's
            # folder: the suites that share the build's bin folder take turns.
            set_tests_properties(${name} PROPERTIES RESOURCE_LOCK program_folder_bin)
        endif()
    elseif(NOT WIN32)
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false")
    endif()
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        LABELS "${T_LABELS}")
endfunction()
