# PANELUP_SANITIZE: AddressSanitizer and UndefinedBehaviorSanitizer on every
# target of this project, executables and shared libraries alike. Hubbridge
# and the virtual monitor are loaded by dlopen; the ASan runtime must then
# already be in the executable, which it is because every executable here is
# built with it too. Any finding ends the process, so a test cannot pass
# over one.
if(PANELUP_SANITIZE)
    if(MSVC)
        message(FATAL_ERROR "PANELUP_SANITIZE needs gcc or clang")
    endif()
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    # ctest reads this file before it runs a test, so a plain `ctest` in the
    # sanitizer build gets the same options as scripts/test.
    set(panelup_sanitizer_env ${CMAKE_BINARY_DIR}/SanitizerEnvironment.cmake)
    file(WRITE ${panelup_sanitizer_env}
        "set(ENV{ASAN_OPTIONS} \"detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1\")\n"
        "set(ENV{UBSAN_OPTIONS} \"print_stacktrace=1:halt_on_error=1\")\n"
        "set(ENV{LSAN_OPTIONS} \"suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0\")\n")
    set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES
                 ${panelup_sanitizer_env})
endif()

# PANELUP_FUZZ: the libFuzzer targets, built with clang and nothing else of
# the project (see tests/fuzz).
if(PANELUP_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PANELUP_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()
