# The subsystems and their libraries: the one table of the build.
#
# Each subsystem builds one static library from src/<name>/*.cpp, and links only the libraries of the
# subsystems below it, so a call upward is a link error. A subsystem's tests (tests/<name>/*.cpp) build into
# one test program, test_<name>, that links its library.
#
# Portability is declared here, not inferred: every module builds natively (under the sanitizers, with its
# tests) unless it is Windows-only. A module is Windows-only when its file name ends in _win.cpp, when the
# subsystem is declared WINDOWS_ONLY ALL, or when its name is listed after WINDOWS_ONLY. Modules named
# *_posix.cpp are the native build's back-ends of portable modules (the Windows build leaves them out).
# A portable module that reaches a Windows header stops the native build with an error naming the include.
#
#   vx_subsystem(<name> BELOW <subsystems below it...> [WINDOWS_ONLY ALL | WINDOWS_ONLY <module>...]
#                [PORTABLE <module>...])
#
# PORTABLE names the exceptions in a subsystem declared WINDOWS_ONLY ALL.

set(VX_SUBSYSTEMS "")

function(vx_subsystem name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "BELOW;WINDOWS_ONLY;PORTABLE")
  set(VX_SUBSYSTEMS ${VX_SUBSYSTEMS} ${name} PARENT_SCOPE)
  set(VX_BELOW_${name} ${arg_BELOW} PARENT_SCOPE)
  set(VX_WINDOWS_ONLY_${name} ${arg_WINDOWS_ONLY} PARENT_SCOPE)
  set(VX_PORTABLE_${name} ${arg_PORTABLE} PARENT_SCOPE)
endfunction()

vx_subsystem(base
  WINDOWS_ONLY keyinp monitor reg rect sound sysprobe wheel wnd)
vx_subsystem(ui BELOW base
  WINDOWS_ONLY ALL
  PORTABLE fontdesc graphlay)
vx_subsystem(doc BELOW base ui)
vx_subsystem(display BELOW base ui doc
  WINDOWS_ONLY fmtdraw sw)
vx_subsystem(shell BELOW base ui doc display
  WINDOWS_ONLY about cmdline cmdrun dde frame framehook help hubinit instance optdlg prefsdlg)
vx_subsystem(lang BELOW base ui doc display shell)
vx_subsystem(symbols BELOW base ui doc display shell lang)
vx_subsystem(browse BELOW base ui doc display shell lang symbols)
vx_subsystem(search BELOW base ui doc display shell lang symbols)
vx_subsystem(macro BELOW base ui doc display shell lang symbols browse search)
# The program's top module: start-up wiring and the command rows of every subsystem.
vx_subsystem(app BELOW base ui doc display shell lang symbols browse search macro
  WINDOWS_ONLY ALL)

# The sources of a subsystem: out_all every module (for the Windows build), out_portable those the native
# build compiles (portable modules and *_posix.cpp back-ends).
function(vx_subsystem_sources name out_all out_portable)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp)
  set(all "")
  set(portable "")
  foreach(src ${sources})
    get_filename_component(module ${src} NAME_WE)
    if(module MATCHES "_posix$")
      list(APPEND portable ${src})
      continue()
    endif()
    list(APPEND all ${src})
    vx_module_is_portable(${name} ${module} ok)
    if(ok)
      list(APPEND portable ${src})
    endif()
  endforeach()
  set(${out_all} ${all} PARENT_SCOPE)
  set(${out_portable} ${portable} PARENT_SCOPE)
endfunction()

function(vx_module_is_portable name module out)
  set(answer 1)
  if(module MATCHES "_win$")
    set(answer 0)
  elseif("ALL" IN_LIST VX_WINDOWS_ONLY_${name})
    if(NOT module IN_LIST VX_PORTABLE_${name})
      set(answer 0)
    endif()
  elseif(module IN_LIST VX_WINDOWS_ONLY_${name})
    set(answer 0)
  endif()
  set(${out} ${answer} PARENT_SCOPE)
endfunction()

# The ctest entries of a test program: one per test file (one per module), running the suites that file
# defines, so that entries run in parallel and a failure names its module. A suite defined in two files
# is a configure error: every suite belongs to one module.
function(vx_add_module_tests subsystem program prefix)
  foreach(file ${ARGN})
    get_filename_component(module ${file} NAME_WE)
    string(REGEX REPLACE "_test$" "" module ${module})
    file(STRINGS ${file} lines REGEX "^[ \t]*(TEST|TEST_F|TEST_P|TYPED_TEST)[ \t]*\\(")
    set(suites "")
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*[A-Z_]+[ \t]*\\([ \t]*([A-Za-z0-9_]+).*" "\\1" suite "${line}")
      list(APPEND suites ${suite})
    endforeach()
    list(REMOVE_DUPLICATES suites)
    if(NOT suites)
      continue()
    endif()
    set(filter "")
    foreach(suite ${suites})
      get_property(owner GLOBAL PROPERTY vx_suite_${prefix}${subsystem}_${suite})
      if(owner AND NOT owner STREQUAL file)
        message(FATAL_ERROR "test suite ${suite} is defined in ${owner} and ${file}: one module per suite")
      endif()
      set_property(GLOBAL PROPERTY vx_suite_${prefix}${subsystem}_${suite} ${file})
      string(APPEND filter "${suite}.*:*/${suite}.*:")
    endforeach()
    set(test_name ${prefix}${subsystem}.${module})
    add_test(NAME ${test_name} COMMAND ${program} --gtest_brief=1 "--gtest_filter=${filter}")
    set_tests_properties(${test_name} PROPERTIES TIMEOUT 600)
  endforeach()
endfunction()
