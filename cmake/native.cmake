# The native (Linux) build of the portable modules, for the memory and undefined-behaviour checkers that do not
# reach the Windows program under Wine: every test runs under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the fuzz targets of fuzz/ run under libFuzzer with both (clang only).
#
# Nothing here names a module. A source file joins when neither it nor any project header it reaches includes
# a Windows header and its name does not end in _win.cpp; the modules' *_posix.cpp back-ends join the same
# way. A test or fuzz file joins under the same rule, and only when every module whose header it includes
# joined too or has a stand-in. What the portable modules need of Windows-only modules comes from those
# stand-ins: tests/support/native/<module>.cpp, small and named after the module they stand in for.

set(VX_SANITIZE address,undefined,float-divide-by-zero,local-bounds)
add_compile_options(-g -O1 -fno-omit-frame-pointer -fsanitize=${VX_SANITIZE} -fno-sanitize-recover=all)
add_link_options(-fsanitize=${VX_SANITIZE} -fno-sanitize-recover=all)
# The standard library's own bounds checks, for what the tests keep in containers.
add_compile_definitions(_GLIBCXX_ASSERTIONS)

set(VX_SRC ${CMAKE_SOURCE_DIR}/src)
set(VX_TESTS ${CMAKE_SOURCE_DIR}/tests)
set(VX_FUZZ ${CMAKE_SOURCE_DIR}/fuzz)

# Headers of the Windows SDK and of its C run-time that no other system has.
set(VX_WINDOWS_HEADERS
    "windows|windowsx|win[a-z0-9]*|commctrl|commdlg|shlobj|shellapi|shlwapi|objbase|ole2|oleidl|mmsystem|uxtheme"
    "|dde|ddeml|richedit|tchar|io|direct|share|conio|process|dbghelp|psapi|tlhelp32")
string(JOIN "" VX_WINDOWS_HEADERS ${VX_WINDOWS_HEADERS})
set(VX_WINDOWS_INCLUDE "#[ \t]*include[ \t]*<(${VX_WINDOWS_HEADERS})\\.h>")
set(VX_PROJECT_INCLUDE "#[ \t]*include[ \t]*\"([^\"]+)\"")

# The project headers a file includes, resolved against its own folder, src/ and tests/.
function(vx_project_includes file out)
  file(STRINGS ${file} lines REGEX "${VX_PROJECT_INCLUDE}")
  get_filename_component(here ${file} DIRECTORY)
  set(found "")
  foreach(line ${lines})
    string(REGEX REPLACE ".*${VX_PROJECT_INCLUDE}.*" "\\1" name "${line}")
    foreach(base ${here} ${VX_SRC} ${VX_TESTS})
      if(EXISTS ${base}/${name})
        list(APPEND found ${base}/${name})
        break()
      endif()
    endforeach()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# 1 in out when the file or a project header it reaches includes a Windows header. Answers are remembered;
# a file is taken as portable while its own answer is pending, which ends include cycles.
function(vx_reaches_windows file out)
  string(MAKE_C_IDENTIFIER "vx_win_${file}" key)
  get_property(known GLOBAL PROPERTY ${key})
  if(NOT "${known}" STREQUAL "")
    set(${out} ${known} PARENT_SCOPE)
    return()
  endif()
  set_property(GLOBAL PROPERTY ${key} 0)
  set(answer 0)
  file(STRINGS ${file} windows REGEX "${VX_WINDOWS_INCLUDE}")
  if(windows)
    set(answer 1)
  else()
    vx_project_includes(${file} headers)
    foreach(header ${headers})
      vx_reaches_windows(${header} sub)
      if(sub)
        set(answer 1)
        break()
      endif()
    endforeach()
  endif()
  set_property(GLOBAL PROPERTY ${key} ${answer})
  set(${out} ${answer} PARENT_SCOPE)
endfunction()

function(vx_portable_module file out)
  set(answer 0)
  if(NOT file MATCHES "_win\\.cpp$")
    vx_reaches_windows(${file} windows)
    if(NOT windows)
      set(answer 1)
    endif()
  endif()
  set(${out} ${answer} PARENT_SCOPE)
endfunction()

# A test or fuzz file also needs the module behind every header it includes, or that module's stand-in
# (tests/support/native/<module>.cpp); a test of a Windows-only module (<module>_test.cpp) stays out even
# when it includes only portable headers, so that it never runs against the stand-in.
function(vx_portable_client file out)
  vx_portable_module(${file} answer)
  get_filename_component(stem ${file} NAME_WE)
  string(REGEX REPLACE "_test$" "" tested ${stem})
  file(GLOB tested_modules ${VX_SRC}/*/${tested}.cpp)
  set(needed "")
  if(NOT tested STREQUAL stem)
    set(needed ${tested_modules})
  endif()
  vx_project_includes(${file} headers)
  foreach(header ${headers})
    string(REGEX REPLACE "\\.h$" ".cpp" module ${header})
    get_filename_component(name ${module} NAME)
    string(FIND "${header}" "${VX_SRC}/" at)
    if(at EQUAL 0 AND EXISTS ${module} AND NOT EXISTS ${VX_TESTS}/support/native/${name})
      list(APPEND needed ${module})
    endif()
  endforeach()
  foreach(module ${needed})
    vx_portable_module(${module} ok)
    if(NOT ok)
      set(answer 0)
    endif()
  endforeach()
  set(${out} ${answer} PARENT_SCOPE)
endfunction()

function(vx_select_portable kind files out)
  set(kept "")
  foreach(file ${files})
    if(kind STREQUAL "module")
      vx_portable_module(${file} ok)
    else()
      vx_portable_client(${file} ok)
    endif()
    if(ok)
      list(APPEND kept ${file})
    endif()
  endforeach()
  set(${out} ${kept} PARENT_SCOPE)
endfunction()

# The portable modules, built twice: once for the tests, once with the fuzzers' coverage hooks.
set(VX_NATIVE_SOURCES "")
foreach(dir ${VX_SUBSYSTEMS})
  file(GLOB dir_sources CONFIGURE_DEPENDS ${VX_SRC}/${dir}/*.cpp)
  vx_select_portable(module "${dir_sources}" kept)
  list(APPEND VX_NATIVE_SOURCES ${kept})
endforeach()
list(JOIN VX_NATIVE_SOURCES " " shown)
string(REPLACE "${VX_SRC}/" "" shown "${shown}")
message(STATUS "Native modules: ${shown}")

file(GLOB VX_STANDIN_SOURCES CONFIGURE_DEPENDS ${VX_TESTS}/support/native/*.cpp)
list(FILTER VX_STANDIN_SOURCES EXCLUDE REGEX "/(testmain|sanitizers)\\.cpp$")
add_library(vxstandins STATIC ${VX_STANDIN_SOURCES})
target_include_directories(vxstandins PUBLIC ${VX_SRC} ${VX_TESTS})
target_compile_options(vxstandins PRIVATE ${VX_WARNINGS})

# Linked into each program itself: the runtime's own weak settings would win over an archive member.
add_library(vxsanitizers OBJECT ${VX_TESTS}/support/native/sanitizers.cpp)

add_library(vxnative STATIC ${VX_NATIVE_SOURCES})
target_include_directories(vxnative PUBLIC ${VX_SRC})
target_compile_options(vxnative PRIVATE ${VX_WARNINGS})
target_link_libraries(vxnative PUBLIC vxstandins)

include(CTest)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_library(vxnativetest STATIC ${VX_TESTS}/support/native/testmain.cpp ${VX_TESTS}/support/vxtest.cpp)
target_link_libraries(vxnativetest PUBLIC vxnative gtest)
target_compile_options(vxnativetest PRIVATE ${VX_WARNINGS})

foreach(dir ${VX_SUBSYSTEMS})
  file(GLOB dir_tests CONFIGURE_DEPENDS ${VX_TESTS}/${dir}/*.cpp)
  vx_select_portable(client "${dir_tests}" kept)
  if(kept)
    add_executable(test_${dir} ${kept})
    target_link_libraries(test_${dir} PRIVATE vxnativetest vxsanitizers)
    target_compile_options(test_${dir} PRIVATE ${VX_WARNINGS})
    add_test(NAME native_${dir} COMMAND test_${dir} --gtest_brief=1)
    set_tests_properties(native_${dir} PROPERTIES TIMEOUT 600)
  endif()
endforeach()

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_subdirectory(${VX_FUZZ} ${CMAKE_BINARY_DIR}/fuzz)
else()
  message(STATUS "Fuzz targets need clang's libFuzzer: not built with ${CMAKE_CXX_COMPILER_ID}")
endif()
