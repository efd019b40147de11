# Shared build rules of the Glimora modules.
include(${CMAKE_CURRENT_LIST_DIR}/VersionInfo.cmake)

# Our own code: ANSI Win32, Shift-JIS literals, warnings on.
add_library(glimora_options INTERFACE)
target_compile_definitions(glimora_options INTERFACE
  WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800 NOMINMAX STRICT
  $<$<COMPILE_LANGUAGE:RC>:RC_INVOKED>)
target_compile_options(glimora_options INTERFACE
  $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers -Wno-cast-function-type>
  $<$<COMPILE_LANGUAGE:C,CXX>:-finput-charset=UTF-8 -fexec-charset=CP932>)

# A DLL of ours: no "lib" prefix, import library by path (-static keeps -l from finding it).
function(glimora_dll name)
  cmake_parse_arguments(A "" "OUTPUT_NAME" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${A_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" IMPORT_PREFIX "")
  if(A_OUTPUT_NAME)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${A_OUTPUT_NAME})
  endif()
  target_link_libraries(${name} PRIVATE glimora_options ${A_LIBS})
  glimora_version_info(${name})
endfunction()

# A DLL with its core, the one shape of our libraries: the decisions without windows
# (rules, plans, parsers, formats) make the static library <name lowered>_core, which the
# DLL links and the tests link to call them directly; the DLL adds the windows and the
# system calls around them and exports only what the host and the plug-ins call.
# CORE_LIBS are the core's public libraries (the DLL gets them through the core).
function(glimora_dll_with_core name)
  cmake_parse_arguments(A "" "" "CORE_SOURCES;CORE_LIBS;SOURCES;LIBS" ${ARGN})
  string(TOLOWER "${name}_core" core)
  add_library(${core} STATIC ${A_CORE_SOURCES})
  target_link_libraries(${core} PRIVATE glimora_options PUBLIC ${A_CORE_LIBS})
  glimora_dll(${name} SOURCES ${A_SOURCES} LIBS ${core} ${A_LIBS})
endfunction()

# A tool library of the toolbar (TurnPicture, StampDay, SplitClip, ...): a DLL in the program
# folder on what the tools share (common/picturetool), built after the resource library it
# reads its texts from. With CORE_SOURCES its core <name lowered>_core holds what the tests
# call without windows: it links the imaging engine, the profile and CORE_LIBS, and shows
# the folder's include/ (without one, its src/). RESOURCE_DIALOGS: the tool's dialogs are
# templates of the resource library on the program's own dialog base.
function(glimora_tool_library name)
  cmake_parse_arguments(A "RESOURCE_DIALOGS" "" "CORE_SOURCES;CORE_LIBS;SOURCES;LIBS" ${ARGN})
  set(sources ${A_SOURCES})
  if(A_RESOURCE_DIALOGS)
    list(APPEND sources ${PROJECT_SOURCE_DIR}/shell/ui/ResourceDialog.cpp ${PROJECT_SOURCE_DIR}/shell/ui/ProgramFolder.cpp)
  endif()
  set(libs picturetool pluginkit framework VxResourceIds Kitlib2 ${A_LIBS})
  if(A_CORE_SOURCES)
    string(TOLOWER "${name}_core" core)
    glimora_dll_with_core(${name}
      CORE_SOURCES ${A_CORE_SOURCES}
      CORE_LIBS glimimaging Kitlib2 ${A_CORE_LIBS}
      SOURCES ${sources}
      LIBS ${libs})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/include)
      target_include_directories(${core} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
    else()
      target_include_directories(${core} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
    endif()
  else()
    glimora_dll(${name} SOURCES ${sources} LIBS ${libs})
  endif()
  if(A_RESOURCE_DIALOGS)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/shell)
  endif()
  install(TARGETS ${name} RUNTIME DESTINATION Marlo5)
  add_dependencies(${name} VxResource)
endfunction()

# A run-time loaded plug-in with its own file extension (".psp", ".peu", ".dll").
function(glimora_plugin name suffix)
  cmake_parse_arguments(A "" "OUTPUT_NAME" "SOURCES;LIBS" ${ARGN})
  add_library(${name} MODULE ${A_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX "${suffix}")
  if(A_OUTPUT_NAME)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${A_OUTPUT_NAME})
  endif()
  target_link_libraries(${name} PRIVATE glimora_options ${A_LIBS})
  glimora_version_info(${name})
endfunction()

# A resource-only DLL built with windres: no code, so no C runtime and no entry point.
function(glimora_resource_dll name)
  cmake_parse_arguments(A "" "" "SOURCES" ${ARGN})
  add_library(${name} SHARED ${A_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" LINKER_LANGUAGE C)
  target_link_options(${name} PRIVATE -nostdlib -nostartfiles -Wl,-e,0)
  glimora_version_info(${name})
endfunction()

# A test program: GoogleTest, run by CTest through Wine (one CTest entry per program).
# Tests share one Xvfb display; tests touching the same per-user state take a lock
# (LOCKS), e.g. "profile" for the registry profile, "card" for the card drive, "smalldisks"
# for the small mounted disks of smalldisks.sh, "clipboard" for tests that put something
# on the desktop's one clipboard or read it back, or "screen" for tests that show any
# window (a visible one hides what lies under it from the others and takes the activation),
# dialogs, move the mouse or read pixels off the desktop; a program the test starts that
# shows a window counts.
# The program's main: GoogleTest's plain one; FW_MAIN the framework's start-up on the main
# thread (tests/support/testmain.h); OWN_MAIN one of the program's own.
function(glimora_test name)
  cmake_parse_arguments(A "OWN_MAIN;FW_MAIN" "TIMEOUT" "SOURCES;LIBS;LOCKS;DEPENDS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE glimora_options gtest gmock ${A_LIBS})
  if(A_FW_MAIN)
    target_link_libraries(${name} PRIVATE testmain)
  elseif(NOT A_OWN_MAIN)
    target_link_libraries(${name} PRIVATE gtest_main)
  endif()
  target_compile_options(${name} PRIVATE -Wno-sign-compare)
  if(A_DEPENDS)
    add_dependencies(${name} ${A_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no WORKING_DIRECTORY ${GLIMORA_BIN})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT})
  if(A_LOCKS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${A_LOCKS}")
  endif()
  # The program learns its locks: the card helper refuses to change the drive without "card".
  string(REPLACE ";" "," locks "${A_LOCKS}")
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "GLIMORA_TEST_LOCKS=,${locks},")
endfunction()
