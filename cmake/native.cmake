# The native (Linux) build of the portable modules, for the memory and undefined-behaviour checkers that do not
# reach the Windows program under Wine: every test runs under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the fuzz targets of fuzz/ run under libFuzzer with both (clang only).
#
# Which modules are portable is declared in cmake/subsystems.cmake. Each subsystem's portable modules, its
# *_posix.cpp back-ends and its stand-ins (tests/support/native/<subsystem>/<module>.cpp: small native
# replacements for Windows-only modules that portable code above them calls) build one library per
# subsystem, linking only those below it, as in the Windows build. A test file <module>_test.cpp runs natively
# when its module is portable; it must then build natively too.

set(VX_SANITIZE address,undefined,float-divide-by-zero,local-bounds)
add_compile_options(-g -O1 -fno-omit-frame-pointer -fsanitize=${VX_SANITIZE} -fno-sanitize-recover=all)
add_link_options(-fsanitize=${VX_SANITIZE} -fno-sanitize-recover=all)
# The standard library's own bounds checks, for what the tests keep in containers.
add_compile_definitions(_GLIBCXX_ASSERTIONS)

set(VX_SRC ${CMAKE_SOURCE_DIR}/src)
set(VX_TESTS ${CMAKE_SOURCE_DIR}/tests)
set(VX_FUZZ ${CMAKE_SOURCE_DIR}/fuzz)

# Headers of the Windows SDK and of its C run-time that a portable module may not reach. Each is replaced by
# one that stops the compiler with a message naming it; the compiler adds the chain of includes that led there.
set(VX_WINDOWS_HEADERS
    windows windowsx winbase winuser wingdi winreg winnt winnetwk winerror commctrl commdlg shlobj shellapi
    shlwapi objbase ole2 oleidl mmsystem uxtheme dde ddeml richedit tchar io direct share conio process dbghelp
    psapi tlhelp32)
set(VX_POISON ${CMAKE_BINARY_DIR}/windows-headers)
foreach(header ${VX_WINDOWS_HEADERS})
  file(WRITE ${VX_POISON}/${header}.h
       "#error \"<${header}.h> is a Windows header: a portable module may not include it. Move the Windows "
       "code into a *_win.cpp file, or declare the module Windows-only in cmake/subsystems.cmake.\"\n")
endforeach()
include_directories(BEFORE SYSTEM ${VX_POISON})

set(VX_NATIVE_SOURCES "")
set(VX_STANDIN_SOURCES "")
set(shown "")
foreach(name ${VX_SUBSYSTEMS})
  vx_subsystem_sources(${name} all portable)
  file(GLOB standins CONFIGURE_DEPENDS ${VX_TESTS}/support/native/${name}/*.cpp)
  list(APPEND VX_NATIVE_SOURCES ${portable})
  list(APPEND VX_STANDIN_SOURCES ${standins})
  if(NOT portable AND NOT standins)
    continue()
  endif()
  add_library(vxn_${name} STATIC ${portable} ${standins})
  target_include_directories(vxn_${name} PUBLIC ${VX_SRC} ${VX_TESTS})
  target_compile_options(vxn_${name} PRIVATE ${VX_WARNINGS})
  foreach(below ${VX_BELOW_${name}})
    if(TARGET vxn_${below})
      target_link_libraries(vxn_${name} PUBLIC vxn_${below})
    endif()
  endforeach()
  foreach(src ${portable})
    get_filename_component(module ${src} NAME_WE)
    string(APPEND shown " ${name}/${module}")
  endforeach()
endforeach()
message(STATUS "Native modules:${shown}")

# Linked into each program itself: the runtime's own weak settings would win over an archive member.
add_library(vxsanitizers OBJECT ${VX_TESTS}/support/native/sanitizers.cpp)

include(CTest)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_library(vxnativetest STATIC ${VX_TESTS}/support/native/testmain.cpp ${VX_TESTS}/support/vxtest.cpp)
target_link_libraries(vxnativetest PUBLIC vxn_base gtest)
target_compile_options(vxnativetest PRIVATE ${VX_WARNINGS})

foreach(name ${VX_SUBSYSTEMS})
  file(GLOB tests CONFIGURE_DEPENDS ${VX_TESTS}/${name}/*_test.cpp)
  set(kept "")
  foreach(test ${tests})
    get_filename_component(module ${test} NAME_WE)
    string(REGEX REPLACE "_test$" "" module ${module})
    if(NOT EXISTS ${VX_SRC}/${name}/${module}.cpp)
      continue()
    endif()
    vx_module_is_portable(${name} ${module} ok)
    if(ok)
      list(APPEND kept ${test})
    endif()
  endforeach()
  if(NOT kept)
    continue()
  endif()
  if(name STREQUAL "base")
    set(upper ${VX_TESTS}/support/upper_none.cpp)
  else()
    set(upper ${VX_TESTS}/support/upper_ui.cpp)
  endif()
  add_executable(test_${name} ${kept} ${upper})
  target_link_libraries(test_${name} PRIVATE vxn_${name} vxnativetest vxsanitizers)
  target_compile_options(test_${name} PRIVATE ${VX_WARNINGS})
  vx_add_module_tests(${name} test_${name} "native_" ${kept})
endforeach()

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_subdirectory(${VX_FUZZ} ${CMAKE_BINARY_DIR}/fuzz)
else()
  message(STATUS "Fuzz targets need clang's libFuzzer: not built with ${CMAKE_CXX_COMPILER_ID}")
endif()
