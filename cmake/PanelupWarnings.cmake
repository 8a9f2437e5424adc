# Warnings are errors in our own code.
function(panelup_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
    endif()
endfunction()

# The two plain C++ libraries must stay free of Qt: fail the configure step
# if anyone links Qt into them.
function(panelup_forbid_qt target)
    get_target_property(libs ${target} LINK_LIBRARIES)
    if(libs)
        foreach(lib IN LISTS libs)
            if(lib MATCHES "Qt")
                message(FATAL_ERROR "${target} must not link Qt (found ${lib})")
            endif()
        endforeach()
    endif()
    set_target_properties(${target} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
endfunction()
