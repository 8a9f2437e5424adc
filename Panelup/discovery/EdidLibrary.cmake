# The records and EDID utilities the platform back ends share. Plain C++ so
# the Windows back end builds without Qt; included from discovery and from
# the Windows back end, whichever comes first (the MinGW cross build has no
# discovery folder).
include_guard(GLOBAL)
add_library(panelup_edid STATIC
    ${CMAKE_CURRENT_LIST_DIR}/DisplayRecords.h
    ${CMAKE_CURRENT_LIST_DIR}/Edid.h ${CMAKE_CURRENT_LIST_DIR}/Edid.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RegistryReader.h
    ${CMAKE_CURRENT_LIST_DIR}/RegistryEdid.h ${CMAKE_CURRENT_LIST_DIR}/RegistryEdid.cpp)
target_include_directories(panelup_edid PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
panelup_warnings(panelup_edid)
panelup_forbid_qt(panelup_edid)
