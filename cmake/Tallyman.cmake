# Helper functions that keep the per-folder CMakeLists short and uniform.

# tv_platform_part(<name> SOURCES ... [LIBS ...])
# An object library platform_<name> (alias platform::<name>) that becomes part of the one
# shared platform library. LIBS are the backing libraries it needs (ICU, SQLite, ...).
function(tv_platform_part name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(platform_${name} OBJECT ${ARG_SOURCES})
  add_library(platform::${name} ALIAS platform_${name})
  target_include_directories(platform_${name} PUBLIC ${CMAKE_SOURCE_DIR})
  if(ARG_LIBS)
    target_link_libraries(platform_${name} PUBLIC ${ARG_LIBS})
  endif()
  set_property(GLOBAL APPEND PROPERTY TV_PLATFORM_OBJECTS platform_${name})
endfunction()

# The shared platform library TallymanPlatform from every platform part built so far.
function(tv_assemble_platform)
  get_property(parts GLOBAL PROPERTY TV_PLATFORM_OBJECTS)
  add_library(TallymanPlatform SHARED ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  target_include_directories(TallymanPlatform PUBLIC ${CMAKE_SOURCE_DIR})
  foreach(part IN LISTS parts)
    target_link_libraries(TallymanPlatform PUBLIC ${part})
  endforeach()
  add_library(platform::all ALIAS TallymanPlatform)
endfunction()

# tv_system_folder(<name> SOURCES ... [DEPS ...])
# An object library tv_<name> (alias tv::<name>) of the system's own code. DEPS are other
# system folders it may use (for their headers and usage requirements only; their objects
# come with the deliverable or the test that links them).
function(tv_system_folder name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_SOURCES)
    return()
  endif()
  add_library(tv_${name} OBJECT ${ARG_SOURCES})
  add_library(tv::${name} ALIAS tv_${name})
  target_include_directories(tv_${name} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(tv_${name} PUBLIC TallymanPlatform)
  foreach(dep IN LISTS ARG_DEPS)
    target_include_directories(tv_${name} PUBLIC $<TARGET_PROPERTY:tv_${dep},INTERFACE_INCLUDE_DIRECTORIES>)
  endforeach()
endfunction()

# tv_identity(<target> NAME n TITLE t ERROR_BASE e LANGUAGE l [STRINGS file-stem])
# Compiles the identity of a deliverable (file name, application title, error-number base,
# default UI language) and its resource strings (resources/strings/<stem>.txt) into <target>.
function(tv_identity target)
  cmake_parse_arguments(ARG "" "NAME;TITLE;ERROR_BASE;LANGUAGE;STRINGS" "" ${ARGN})
  if(NOT ARG_STRINGS)
    set(ARG_STRINGS ${ARG_NAME})
  endif()
  set(file ${CMAKE_SOURCE_DIR}/resources/strings/${ARG_STRINGS}.txt)
  set(TV_ID_NAME ${ARG_NAME})
  set(TV_ID_TITLE ${ARG_TITLE})
  set(TV_ID_ERROR_BASE ${ARG_ERROR_BASE})
  set(TV_ID_LANGUAGE ${ARG_LANGUAGE})
  set(TV_ID_STRINGS_NAME ${ARG_STRINGS})
  set(TV_ID_STRINGS "")
  if(EXISTS ${file})
    file(READ ${file} TV_ID_STRINGS)
    set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  endif()
  set(out ${CMAKE_BINARY_DIR}/generated/identity/${target}Identity.cpp)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/Identity.cpp.in ${out} @ONLY)
  target_sources(${target} PRIVATE ${out})
endfunction()

# tv_deliverable(<name> TITLE t ERROR_BASE e LANGUAGE l FOLDERS ... [LIBS ...])
# One of the five shared libraries, assembled from the object libraries of its folders.
# -Bsymbolic keeps each deliverable's copy of the common parts (and its state) its own.
function(tv_deliverable name)
  cmake_parse_arguments(ARG "" "TITLE;ERROR_BASE;LANGUAGE" "FOLDERS;LIBS" ${ARGN})
  add_library(${name} SHARED ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  tv_identity(${name} NAME ${name} TITLE ${ARG_TITLE} ERROR_BASE ${ARG_ERROR_BASE}
              LANGUAGE ${ARG_LANGUAGE})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_options(${name} PRIVATE -Wl,-Bsymbolic)
  target_link_libraries(${name} PUBLIC TallymanPlatform)
  foreach(folder IN LISTS ARG_FOLDERS)
    if(TARGET tv_${folder})
      target_link_libraries(${name} PUBLIC tv_${folder})
    endif()
  endforeach()
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
  target_link_options(${name} PRIVATE -Wl,--no-undefined)
endfunction()

# tv_test_lists(<test list>... [LABELS ...] [ENVIRONMENT ...]): gives the tests that
# gtest_discover_tests(... TEST_LIST <test list>) found these labels and environment. The
# discovery's own PROPERTIES cut a value of several entries (two labels, two variables) into
# words that CTest then takes for property names; a script that CTest reads after the
# discovered tests sets them whole.
function(tv_test_lists)
  cmake_parse_arguments(ARG "" "" "LABELS;ENVIRONMENT" ${ARGN})
  list(JOIN ARG_UNPARSED_ARGUMENTS "_" stem)
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${stem}_properties.cmake")
  set(text "foreach(t IN LISTS ${ARG_UNPARSED_ARGUMENTS})\n")
  foreach(property LABELS ENVIRONMENT)
    if(ARG_${property})
      string(APPEND text "  set_tests_properties(\"\${t}\" PROPERTIES ${property} \"${ARG_${property}}\")\n")
    endif()
  endforeach()
  string(APPEND text "endforeach()\n")
  file(WRITE "${script}" "${text}")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()

# tv_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [[TIMEOUT_TESTS <gtest filter>] TIMEOUT <s>])
# One GoogleTest executable, registered with CTest test by test. The tests that TIMEOUT_TESTS
# names get a CTest time-out: tests of a computation that a fault could make endless. TIMEOUT
# alone gives every test of the executable the time-out (window tests, which a dialog left
# open would otherwise hold until CTest's default of 25 minutes).
function(tv_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT_TESTS;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} TallymanPlatform GTest::gtest GTest::gmock GTest::gtest_main)
  set(props ENVIRONMENT "TV_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  if(ARG_TIMEOUT AND NOT ARG_TIMEOUT_TESTS)
    list(APPEND props TIMEOUT ${ARG_TIMEOUT})
  endif()
  if(ARG_TIMEOUT_TESTS)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "-${ARG_TIMEOUT_TESTS}"
                         TEST_LIST ${name}_TESTS PROPERTIES ${props})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "${ARG_TIMEOUT_TESTS}"
                         TEST_LIST ${name}_TIMED_TESTS PROPERTIES ${props} TIMEOUT ${ARG_TIMEOUT})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_LIST ${name}_TESTS PROPERTIES ${props})
  endif()
  if(ARG_LABELS)
    tv_test_lists(${name}_TESTS ${name}_TIMED_TESTS LABELS ${ARG_LABELS})
  endif()
endfunction()

# tv_bench(<name> SOURCES ... [LIBS ...])
function(tv_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} TallymanPlatform benchmark::benchmark benchmark::benchmark_main)
endfunction()

# Adds every folder below <root> that has a CMakeLists.txt (tests/engine, tests/platform/mapi, ...).
function(tv_add_subdirectories_under root)
  file(GLOB_RECURSE lists RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/${root}/*/CMakeLists.txt)
  list(SORT lists)
  foreach(l IN LISTS lists)
    get_filename_component(dir ${l} DIRECTORY)
    add_subdirectory(${dir})
  endforeach()
endfunction()

# tv_system_folder_here(<name> [DEPS ...]): tv_system_folder over every .cpp file of the
# calling folder (detail/ included), so that adding a source needs no CMake edit.
function(tv_system_folder_here name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/detail/*.cpp)
  tv_system_folder(${name} SOURCES ${sources} DEPS ${ARG_DEPS})
endfunction()
